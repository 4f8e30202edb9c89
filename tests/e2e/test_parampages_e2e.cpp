// The system tools under a private X server: the real knitpanel against the real knitsim,
// worked by keys through every page of the menu (the guide's pictures), a system parameter and
// a personalisation value changed, then a second start on the same controller root. Faults
// caught: a page that does not open from its key or password, a change that does not reach the
// controller's blocks in the form the panel keeps in its check copies (the second start would
// then stop at the mismatch question and never send its closing commands), a carrier table
// not read back at start (its next save would wipe the first run's correction).
#include "portoffset.h"
#include "simprocess.h"
#include "testbytes.h"
#include "testroot.h"
#include "xserver.h"

#include <QElapsedTimer>
#include <QRegularExpression>
#include <QTest>

#include <memory>

namespace {

QString shot(const char *name)
{
    return QStringLiteral(KNIT_BINARY_DIR "/e2e-params-") + QLatin1String(name) + QStringLiteral(".png");
}

} // namespace

class TestParamPagesE2e : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QString why;
        if (!XServer::available(&why))
            QSKIP(qPrintable(why));
        root_ = std::make_unique<TestRoot>();
        PortOffset::useFree();
        QVERIFY2(x_.start(), "Xvfb did not start");
        QVERIFY2(sim_.start(&why), qPrintable(why));
        QVERIFY(root_->makeJob(QStringLiteral("P1"), 40, 100, 40));
        QVERIFY(root_->writeReferences(sim_.file(QStringLiteral("file.sys")), sim_.file(QStringLiteral("config.cfg"))));
        QVERIFY(sim_.command(QStringLiteral("set job P1")));
        QVERIFY(sim_.command(QStringLiteral("set racking 50")));
        startPanel();
    }
    void cleanupTestCase()
    {
        panel_.kill();
        panel_.waitForFinished(3000);
    }

    // Each page from the menu, as an operator reaches it; a value on two of them.
    void pages()
    {
        const QString pw = QStringLiteral("7063");
        press({"7"}, "menu");
        press({"2", pw, "Return"}, "system");
        press({"Right", "5", "0", "Return"}, nullptr, QStringLiteral("cmd 22/0/a"));
        press({"Escape", "1"}, "running");
        press({"Escape", "3", pw, "Return"}, "density");
        press({"Escape", "4"}, "idle-density");
        press({"Escape", "5", pw, "Return"}, "racking");
        press({"Down", "Return"}, "racking-correction");
        press({"Escape", "Escape", "h", pw, "Return"}, "menu-more");
        press({"1"}, "acceleration");
        press({"Escape", "2"}, "personalisation");
        press({"5", "0", "0", "Return", "3", "7", "6", "1", "Return"}, nullptr, QStringLiteral("cmd 22/20/0"));
        press({"Escape", "a", pw, "Return"}, "carrier");
        press({"-30", "Return"}, nullptr, QStringLiteral("cmd 22/10/a0"));
        press({"Escape", "h", "Escape", "2"}, "frequent");
        press({"Escape"}, nullptr);
        QVERIFY(sim_.send(QStringLiteral("state")).contains(QStringLiteral("value 0 10 50")));
        QVERIFY(sim_.send(QStringLiteral("state")).contains(QStringLiteral("value 32 0 500")));
    }

    // The second start finds the controller's blocks equal to the panel's copies: no question,
    // straight on to the job and the closing commands.
    void restartFindsCopiesEqual()
    {
        panel_.kill();
        panel_.waitForFinished(3000);
        QVERIFY(sim_.command(QStringLiteral("journal clear")));
        startPanel();
        QElapsedTimer t;
        t.start();
        while (!codes().contains(QStringLiteral("cmd 26")) && t.elapsed() < 20000)
            QTest::qWait(100);
        QCOMPARE(codes(), QStringList({"RRQ file.sys", "RRQ config.cfg", "RRQ file.knt", "WRQ P1.wrk", "WRQ P1.cnt",
                                       "WRQ P1.pat", "cmd 20", "cmd 26"}));
        // The carrier table kept from the first run: a change now saves it with the earlier one.
        press({"7", "h", "7063", "Return", "a", "7063", "Return", "Down", "-20", "Return"}, nullptr, QStringLiteral("cmd 22/10/a2"));
        const QByteArray table = TestBytes::readFile(root_->file(QStringLiteral("/mnt/ide/knit/para/speed.mth")));
        QCOMPARE(table.mid(2 * 224, 6), QByteArray::fromHex("460064005000"));
    }

private:
    void startPanel()
    {
        QProcessEnvironment env = x_.environment();
        env.insert(QStringLiteral("KNIT_ROOT"), root_->path());
        env.insert(QStringLiteral("KNIT_PORT_OFFSET"), QString::number(sim_.portOffset()));
        env.insert(QStringLiteral("KNIT_BUZZER"), QStringLiteral("off"));
        panel_.setProcessEnvironment(env);
        panel_.setProcessChannelMode(QProcess::MergedChannels);
        panel_.start(QStringLiteral(KNITPANEL_PATH), {});
        QVERIFY(panel_.waitForStarted(5000));
        QTest::qWait(2500);
        panel_.readAll();
    }
    // Keys (xdotool names; other texts typed a character at a time), then the picture; waits
    // for a datagram first where one is given.
    void press(const QStringList &keys, const char *picture, const QString &sent = QString())
    {
        for (const QString &k : keys) {
            const bool name = k.at(0).isUpper();
            for (const QString &one : name ? QStringList{k} : k.split(QString(), Qt::SkipEmptyParts))
                QVERIFY(x_.key(one == QLatin1String("-") ? QStringLiteral("minus") : one));
            QTest::qWait(150);
        }
        QElapsedTimer t;
        t.start();
        while (!sent.isEmpty() && !sim_.traffic().contains(sent) && t.elapsed() < 5000)
            QTest::qWait(50);
        QVERIFY2(sent.isEmpty() || sim_.traffic().contains(sent), qPrintable(sent));
        QTest::qWait(400);
        if (picture)
            QVERIFY(x_.screenshot(shot(picture)));
    }
    QStringList codes()
    {
        return sim_.traffic().replaceInStrings(QRegularExpression(QStringLiteral("/.*")), QString());
    }

    std::unique_ptr<TestRoot> root_;
    XServer x_;
    SimProcess sim_;
    QProcess panel_;
};

QTEST_GUILESS_MAIN(TestParamPagesE2e)
#include "test_parampages_e2e.moc"
