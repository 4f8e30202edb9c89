// knitjob, knitfleet and knitpanel answering as Debian's tools do: arguments -> exit status,
// the stream written, its first line. Faults caught: help or version on standard error or with
// a failure status; a usage error that does not name the option, exits with anything but 64 or
// writes to standard output; a missing input, bad data, an unwritable root or folder reported
// with the wrong sysexits status or as success; a panel that starts on a root it cannot write.
#include "fleetserve.h"
#include "ownprogram.h"
#include "testroot.h"
#include "testtable.h"

#include <QProcess>
#include <QTest>

#include <memory>

class TestTools : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { root_ = std::make_unique<TestRoot>(); }
    void cleanup() { root_.reset(); }

    void answers_data()
    {
        // args: "@" is the panel root
        // badRoot: KNIT_ROOT below a plain file
        // firstLine: its start
        TestTable::columns<QString, QStringList, bool, int, bool, QString>("program", "args", "badRoot", "status", "toStdout", "firstLine");
        const QString job = QStringLiteral(KNITJOB_PATH);
        const QString fleet = QStringLiteral(KNITFLEET_PATH);
        const QString panel = QStringLiteral(KNITPANEL_PATH);
        QTest::addRow("knitjob --help") << job << QStringList{"--help"} << false << 0 << true << "Usage: knitjob [options]";
        QTest::addRow("make --help") << job << QStringList{"make", "--help"} << false << 0 << true << "Usage: knitjob make";
        QTest::addRow("knitjob --version") << job << QStringList{"--version"} << false << 0 << true << "knitjob ";
        QTest::addRow("no command") << job << QStringList{} << false << 64 << false << "knitjob: no command";
        QTest::addRow("unknown command") << job << QStringList{"frob"} << false << 64 << false << "knitjob: unknown command 'frob'";
        QTest::addRow("unknown option") << job << QStringList{"make", "J", "--colour"} << false << 64 << false
                                        << "knitjob make: Unknown option 'colour'";
        QTest::addRow("missing value") << job << QStringList{"make", "J", "--rows"} << false << 64 << false
                                       << "knitjob make: Missing value after '--rows'";
        QTest::addRow("number out of range") << job << QStringList{"make", "J", "--rows", "9000"} << false << 64 << false
                                             << "knitjob make: --rows needs a whole number";
        QTest::addRow("make") << job << QStringList{"make", "J"} << false << 0 << true << "made @/mnt/ide/knit/wave/J (16 rows";
        QTest::addRow("make, root unwritable") << job << QStringList{"make", "J"} << true << 73 << false
                                               << "knitjob make: cannot create";
        QTest::addRow("show, no input") << job << QStringList{"show", "@/absent.cnt"} << false << 66 << false
                                        << "knitjob show: @/absent.cnt";
        QTest::addRow("show, bad data") << job << QStringList{"show", "@/bad.cnt"} << false << 65 << false
                                        << "knitjob show: @/bad.cnt";
        QTest::addRow("history, no input") << job << QStringList{"history", "@/absent.log"} << false << 66 << false
                                           << "knitjob history: cannot read @/absent.log";
        QTest::addRow("send, no input") << job << QStringList{"send", "@/absent.cnt"} << false << 66 << false
                                        << "knitjob send: cannot read @/absent.cnt";
        QTest::addRow("fetch, a path") << job << QStringList{"fetch", "../file.sys"} << false << 64 << false
                                       << "knitjob fetch: '../file.sys' is not a plain file name";
        QTest::addRow("knitfleet --help") << fleet << QStringList{"--help"} << false << 0 << true << "Usage: knitfleet [options]";
        QTest::addRow("serve --help") << fleet << QStringList{"serve", "--help"} << false << 0 << true << "Usage: knitfleet serve";
        QTest::addRow("knitfleet --version") << fleet << QStringList{"--version"} << false << 0 << true << "knitfleet ";
        QTest::addRow("bad url") << fleet << QStringList{"--url", "http://127.0.0.1"} << false << 64 << false << "knitfleet: --url:";
        QTest::addRow("password file absent") << fleet << QStringList{"--username", "u", "--password-file", "@/absent"} << false
                                              << 66 << false << "knitfleet: cannot read the password file";
        // Its refusals of bad shifts and of a listen address off loopback are the server test's.
        QTest::addRow("serve, db folder unwritable") << fleet << QStringList{"serve", "--db", "@/bad.cnt/fleet.sqlite"} << false
                                                     << 73 << false << "knitfleet serve: cannot make or write @/bad.cnt";
        QTest::addRow("panel, root unwritable") << panel << QStringList{} << true << 73 << false << "knitpanel: cannot make or write";
    }

    void answers()
    {
        auto [program, args, badRoot, status, toStdout, firstLine] = TestTable::fetch<QString, QStringList, bool, int, bool, QString>("program", "args", "badRoot", "status", "toStdout", "firstLine");
        QString why;
        if (args.value(0) == QLatin1String("serve") && !FleetServe::built(&why))
            QSKIP(qPrintable(why));
        const QString root = root_->path();
        QVERIFY(AtomicFile::save(root + "/bad.cnt", QByteArray(200, 'x')));
        args.replaceInStrings("@", root);
        firstLine.replace("@", root);
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        if (badRoot)
            env.insert("KNIT_ROOT", root + "/bad.cnt/root");
        p.setProcessEnvironment(env);
        startOwnProgram(p, program, args);
        QVERIFY(p.waitForFinished(30000));
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        const QString out = QString::fromUtf8(p.readAllStandardOutput());
        const QString err = QString::fromUtf8(p.readAllStandardError());
        QCOMPARE(p.exitCode(), status);
        const QString &written = toStdout ? out : err;
        QVERIFY2(written.startsWith(firstLine), qPrintable(written.left(200)));
        if (!toStdout) {
            // One line naming the thing; nothing on standard output, nothing made.
            QCOMPARE(err.count('\n'), 1);
            QCOMPARE(out, QString());
            QVERIFY(!QFile::exists(root + "/mnt/ide/knit/wave/J"));
        }
    }

private:
    std::unique_ptr<TestRoot> root_;
};

QTEST_GUILESS_MAIN(TestTools)
#include "test_tools.moc"
