// The real knitpanel against the real knitsim under a private X server, driven by keys.
// Faults caught: a start-up that differs between the program and the in-process tests (the
// main(), fonts, style), a panel that does not go on after the connection message, uploads
// missing or out of order.
#include "portoffset.h"
#include "simprocess.h"
#include "testroot.h"
#include "xserver.h"

#include "platform/atomicfile.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTest>

#include <memory>

namespace {

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Requests ("RRQ name"/"WRQ name") and command codes ("cmd 26") in the order knitsim saw them.
QStringList traffic(SimProcess &sim)
{
    QStringList out;
    for (const QString &line : sim.send(QStringLiteral("journal"))) {
        const QStringList p = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (p.size() < 4)
            continue;
        const QByteArray bytes = QByteArray::fromHex(p.mid(2).join(QString()).toLatin1());
        if (p.at(1) == QLatin1String("cmd"))
            out << QStringLiteral("cmd ") + QString::number(uchar(bytes.at(0)), 16);
        else if (p.at(1) == QLatin1String("tftp") && bytes.size() > 2 && bytes.at(0) == 0 && (bytes.at(1) == 1 || bytes.at(1) == 2))
            out << (bytes.at(1) == 1 ? QStringLiteral("RRQ ") : QStringLiteral("WRQ ")) + QString::fromLatin1(bytes.mid(2).split('\0').first());
    }
    return out;
}

// True once the traffic holds at least count copies of line.
bool waitFor(SimProcess &sim, const QString &line, int ms, int count = 1)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) {
        if (traffic(sim).count(line) >= count)
            return true;
        QTest::qWait(100);
    }
    return false;
}

} // namespace

class TestStartupE2e : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void happyPath();
    void noController();

private:
    void startPanel(const QString &timeoutScale);

    std::unique_ptr<TestRoot> root_;
    std::unique_ptr<XServer> x_;
    std::unique_ptr<SimProcess> sim_;
    QProcess panel_;
};

void TestStartupE2e::init()
{
    QString why;
    if (!XServer::available(&why))
        QSKIP(qPrintable(why));
    root_ = std::make_unique<TestRoot>();
    PortOffset::useFree();
    x_ = std::make_unique<XServer>();
    QVERIFY2(x_->start(&why), qPrintable(why));
    sim_ = std::make_unique<SimProcess>();
    QVERIFY2(sim_->start(&why), qPrintable(why));
}

void TestStartupE2e::cleanup()
{
    if (panel_.state() != QProcess::NotRunning) {
        panel_.kill();
        panel_.waitForFinished(3000);
    }
    sim_.reset();
    x_.reset();
    root_.reset();
}

void TestStartupE2e::startPanel(const QString &timeoutScale)
{
    QProcessEnvironment env = x_->environment();
    env.insert("KNIT_ROOT", root_->path());
    env.insert("KNIT_PORT_OFFSET", QString::number(sim_->portOffset()));
    env.insert("KNIT_CONTROLLER_HOST", "127.0.0.1");
    env.insert("KNIT_BUZZER", "off");
    env.insert("KNIT_TIMEOUT_SCALE", timeoutScale);
    panel_.setProcessEnvironment(env);
    panel_.setProcessChannelMode(QProcess::MergedChannels);
    panel_.start(KNITPANEL_PATH, {});
    QVERIFY(panel_.waitForStarted(5000));
}

void TestStartupE2e::happyPath()
{
    QVERIFY(root_->makeJob("E1", 2000, 480, 400));
    QVERIFY(root_->writeReferences(sim_->file("file.sys"), sim_->file("config.cfg")));
    QVERIFY(sim_->command("set job E1"));

    startPanel("1");
    QVERIFY2(waitFor(*sim_, "cmd 26", 20000), qPrintable(traffic(*sim_).join(QLatin1Char(','))));
    QCOMPARE(traffic(*sim_), QStringList({"RRQ file.sys", "RRQ config.cfg", "RRQ file.knt", "WRQ E1.wrk", "WRQ E1.cnt",
                                          "WRQ E1.pat", "cmd 20", "cmd 26"}));
    const QString job = root_->file("/mnt/ide/knit/wave/E1/E1");
    for (const QString ext : {".wrk", ".cnt", ".pat"})
        QCOMPARE(readFile(sim_->file("E1" + ext)), readFile(job + ext));
    QTest::qWait(300);
    QVERIFY(panel_.state() == QProcess::Running);
    QVERIFY(x_->screenshot(QStringLiteral(KNIT_BINARY_DIR "/e2e-startup.png")));
}

void TestStartupE2e::noController()
{
    QVERIFY(sim_->command("fault silent-after 0"));
    startPanel("0.02");
    QVERIFY(waitFor(*sim_, "RRQ file.sys", 10000, 11));
    QTest::qWait(300); // the last time-out, then the message
    QVERIFY(x_->screenshot(QStringLiteral(KNIT_BINARY_DIR "/e2e-no-controller.png")));
    QVERIFY(!traffic(*sim_).contains("cmd 20"));
    QVERIFY(x_->key("Return"));
    QVERIFY(waitFor(*sim_, "cmd 26", 10000));
    QCOMPARE(traffic(*sim_), QStringList(11, "RRQ file.sys") + QStringList({"cmd 20", "cmd 26"}));
}

QTEST_GUILESS_MAIN(TestStartupE2e)
#include "test_startup_e2e.moc"
