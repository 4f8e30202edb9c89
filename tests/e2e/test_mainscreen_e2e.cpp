// The real knitpanel following the real knitsim while it knits, under a private X server.
// Faults caught: a panel that does not take the simulator's reports (no trace of them), a row
// field that stands still while the carriage walks, an alarm that does not bring up the red
// alarm button or does not go with alarm clear, a zeroing message that never shows, and a
// panel that does not take the keyboard when shown (key M then leaves the desktop picture
// over the block panel).
#include "portoffset.h"
#include "simprocess.h"
#include "testroot.h"
#include "xserver.h"

#include "platform/atomicfile.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTest>

#include <memory>

namespace {

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString shot(const char *name)
{
    return QStringLiteral(KNIT_BINARY_DIR) + QStringLiteral("/e2e-mainscreen-") + QLatin1String(name) + QStringLiteral(".png");
}

const QRect kMiddle(QPoint(10, 55), QPoint(630, 350));

// Share of the middle area's pixels that have the given colour.
double shareOf(const QImage &image, QRgb colour)
{
    int same = 0;
    for (int y = kMiddle.top(); y <= kMiddle.bottom(); y += 2) {
        for (int x = kMiddle.left(); x <= kMiddle.right(); x += 2)
            same += image.pixel(x, y) == colour ? 1 : 0;
    }
    return double(same) / double(((kMiddle.width() + 1) / 2) * ((kMiddle.height() + 1) / 2));
}

bool reddish(const QImage &image, int x, int y)
{
    const QColor c = image.pixelColor(x, y);
    return c.red() > 150 && c.green() < 110 && c.blue() < 110;
}

} // namespace

class TestMainScreenE2e : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
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

        QVERIFY(root_->makeJob(QStringLiteral("M1"), 400, 200, 200));
        QVERIFY(root_->writeReferences(sim_->file(QStringLiteral("file.sys")), sim_->file(QStringLiteral("config.cfg"))));
        QVERIFY(sim_->command(QStringLiteral("set job M1")));

        QProcessEnvironment env = x_->environment();
        env.insert(QStringLiteral("KNIT_ROOT"), root_->path());
        env.insert(QStringLiteral("KNIT_PORT_OFFSET"), QString::number(sim_->portOffset()));
        env.insert(QStringLiteral("KNIT_CONTROLLER_HOST"), QStringLiteral("127.0.0.1"));
        env.insert(QStringLiteral("KNIT_BUZZER"), QStringLiteral("off"));
        panel_.setProcessEnvironment(env);
        panel_.setProcessChannelMode(QProcess::MergedChannels);
        panel_.start(QStringLiteral(KNITPANEL_PATH), {});
        QVERIFY(panel_.waitForStarted(5000));
        // The job went over: the simulator now holds the program it will knit.
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(sim_->file(QStringLiteral("M1.cnt"))), 20000);
        QTest::qWait(1500);
        QVERIFY(x_->screenshot(shot("desktop")));
        const QImage desktop(shot("desktop"));
        QVERIFY(!desktop.isNull());
        const QRgb desktopColour = desktop.pixel(kMiddle.center());
        QVERIFY2(shareOf(desktop, desktopColour) > 0.9, "the desktop picture does not cover the panels after start-up");
        // The running indicator's key M hides the desktop picture over the panels.
        QVERIFY(x_->key(QStringLiteral("m")));
        QTest::qWait(300);
        QVERIFY(x_->screenshot(shot("panels")));
        const QImage panels(shot("panels"));
        QVERIFY2(shareOf(panels, desktopColour) < 0.5, "key M did not uncover the block panel");
    }
    void cleanupTestCase()
    {
        if (panel_.state() != QProcess::NotRunning) {
            panel_.kill();
            panel_.waitForFinished(3000);
        }
        sim_.reset();
        x_.reset();
    }

    void knitting()
    {
        QVERIFY(sim_->command(QStringLiteral("set speed 4")));
        QVERIFY(sim_->command(QStringLiteral("start M1")));
        QTRY_VERIFY_WITH_TIMEOUT(output().contains("send:0 0 0 0 0 14 "), 5000);
        QTest::qWait(600);
        QVERIFY(x_->screenshot(shot("knitting")));
        const QImage first(shot("knitting"));
        QTest::qWait(800);
        QVERIFY(x_->screenshot(shot("knitting2")));
        const QImage second(shot("knitting2"));
        QVERIFY(!first.isNull() && !second.isNull());
        const QRect rowField(220, 365, 100, 50);
        QVERIFY2(first.copy(rowField) != second.copy(rowField), "the row field stood still while knitting");
    }

    void alarm()
    {
        QVERIFY(sim_->command(QStringLiteral("alarm 2 23")));
        QTest::qWait(400);
        QVERIFY(x_->screenshot(shot("alarm")));
        QVERIFY(reddish(QImage(shot("alarm")), 30, 382));
        QVERIFY(sim_->command(QStringLiteral("alarm clear")));
        QTest::qWait(400);
        QVERIFY(x_->screenshot(shot("alarm-cleared")));
        QVERIFY(!reddish(QImage(shot("alarm-cleared")), 30, 382));
    }

    void message()
    {
        QVERIFY(sim_->command(QStringLiteral("stop")));
        QVERIFY(sim_->command(QStringLiteral("zero")));
        QTRY_VERIFY_WITH_TIMEOUT(output().contains("send:0 0 0 0 0 10 "), 3000);
        QTest::qWait(100);
        QVERIFY(x_->screenshot(shot("message")));
        QTRY_VERIFY_WITH_TIMEOUT(output().contains("send:0 0 0 0 0 17 "), 3000);
    }

private:
    QByteArray output()
    {
        out_ += panel_.readAll();
        return out_;
    }

    std::unique_ptr<TestRoot> root_;
    std::unique_ptr<XServer> x_;
    std::unique_ptr<SimProcess> sim_;
    QProcess panel_;
    QByteArray out_;
};

QTEST_GUILESS_MAIN(TestMainScreenE2e)
#include "test_mainscreen_e2e.moc"
