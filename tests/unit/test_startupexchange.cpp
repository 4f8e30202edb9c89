// The start-up exchange on a recorded link: transfers and commands are functions that log what
// the exchange asks for, so the whole order is checked without TFTP. Faults caught: a fetch,
// upload or closing command out of order or missing; a mismatch answered No that stops the
// exchange or does not mark the repair, answered Yes that does not shut down or goes on; a
// shut-down sent while the carriage runs; the status query's reply ignored (running taken for
// stopped), or no reply taken for "stopped" rather than offline; an unanswered status query
// refused with a running text. (The config copy answered No is the start-up widget test's,
// against knitsim.)
#include "testroot.h"
#include "testtable.h"

#include "data/machinedata.h"
#include "link/commands.h"
#include "logic/mainwin/startupexchange.h"

#include <QTest>

namespace {

const QByteArray kSystem(int(kSystemSize), '\x11');
const QByteArray kConfig(int(kConfigCheckSize), '\x22');

} // namespace

class TestStartupExchange : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // One root for the whole run: the panel's paths are taken once per process.
    void initTestCase()
    {
        QVERIFY(root_.makeJob(QStringLiteral("J1"), 10, 32, 8));
    }
    void init()
    {
        log_.clear();
    }

    void exchange_data()
    {
        // answers: the controller answers transfers and commands
        // status: its status query's result
        // differ: "sys", "cfg" or "": which check copy differs
        // yes: the operator's answers, in order
        TestTable::columns<bool, uint, QString, QStringList, QStringList, int, int>("answers", "status", "differ", "yes", "log", "checkresult", "machine");

        const QStringList fetches{"get file.sys", "get config.cfg", "get file.knt"};
        const QStringList sends{"put J1.wrk", "put J1.cnt", "put J1.pat"};
        const QStringList close{"cmd 20/5/0/0", "status"};
        const QStringList closeUnfetched{"cmd 20/0/0/0", "status"}; // file.knt never came: group 0
        const QString sysQuestion = QString::fromUtf8("ask 系统参数校验失败! - 117 - 18 - 17. 是否关机 ?");
        const QString cfgQuestion = QString::fromUtf8("ask 个性化校验文件失败! - 3 - 34 - 35. 是否关机 ?");
        const int stopped = int(StartupExchange::Machine::Stopped);
        const int running = int(StartupExchange::Machine::Running);
        const int offline = int(StartupExchange::Machine::Offline);

        QTest::addRow("in step, stopped") << true << 0u << "" << QStringList() << fetches + sends + close << 0 << stopped;
        QTest::addRow("knitting at start") << true << 0x10000u << "" << QStringList() << fetches + sends + close << 0 << running;
        QTest::addRow("system differs, No") << true << 0u << "sys" << QStringList{"no"}
                                            << QStringList{"get file.sys", sysQuestion, "get config.cfg", "get file.knt"} + sends + close
                                            << 1 << stopped;
        QTest::addRow("system differs, Yes: shut down")
            << true << 0u << "sys" << QStringList{"yes"}
            << QStringList{"get file.sys", sysQuestion, "status", "cmd 2a/1/20/0", QString::fromUtf8("tell 正在关机, 请稍等 ... ... ")} + closeUnfetched
            << 0 << stopped;
        QTest::addRow("Yes while knitting: no shut-down")
            << true << 0x10000u << "cfg" << QStringList{"yes"}
            << QStringList{"get file.sys", "get config.cfg", cfgQuestion, "status", QString::fromUtf8("tell 机头正在运行, 不能关机 ! ")} + closeUnfetched
            << 0 << running;
        QTest::addRow("Yes, status unanswered")
            << true << kNoMotoStatus << "sys" << QStringList{"yes"}
            << QStringList{"get file.sys", sysQuestion, "status", QString::fromUtf8("tell 与主控制器连接失败, 请检查通信线路 !")} + closeUnfetched
            << 0 << offline;
        QTest::addRow("no controller")
            << false << kNoMotoStatus << "" << QStringList()
            << QStringList{"get file.sys", QString::fromUtf8("tell 与主控制器连接失败, 请检查通信线路 !")} + closeUnfetched << 0 << offline;
    }
    void exchange()
    {
        auto [answers, status, differ, yes, log, checkResult, machine] = TestTable::fetch<bool, uint, QString, QStringList, QStringList, int, int>("answers", "status", "differ", "yes", "log", "checkresult", "machine");

        QByteArray knt(int(kCurSize), '\0'); // naming job J1, byte 26 holding group 5
        knt[26] = 5;
        knt.replace(40, 2, "J1");
        const QMap<QString, QByteArray> served{{"file.sys", kSystem}, {"config.cfg", kConfig}, {"file.knt", knt}};
        QByteArray sysCopy = kSystem;
        QByteArray cfgCopy = kConfig;
        if (differ == QLatin1String("sys"))
            sysCopy[117] = 0x12;
        if (differ == QLatin1String("cfg"))
            cfgCopy[3] = 0x23;
        QVERIFY(AtomicFile::save(root_.file("/mnt/ide/knit/para/checksystem.sys"), sysCopy));
        QVERIFY(AtomicFile::save(root_.file("/mnt/ide/knit/para/checkconfig.cfg"), cfgCopy));
        MachineData data;
        StartupExchange::Operator op;
        op.tell = [this](const QString &text) { log_ << QStringLiteral("tell ") + text; };
        op.ask = [this, &yes = yes](const QString &text) {
            log_ << QStringLiteral("ask ") + text;
            return !yes.isEmpty() && yes.takeFirst() == QLatin1String("yes");
        };
        op.copy = [this](const QString &, const QString &) { return log_ << QStringLiteral("copy"), true; };
        StartupExchange::Link link;
        link.transfer.get = [&, answers = answers](const QString &path) {
            const QString name = path.section(QLatin1Char('/'), -1);
            log_ << QStringLiteral("get ") + name;
            return answers && AtomicFile::save(path, served.value(name));
        };
        link.transfer.put = [&, answers = answers](const QString &path) {
            log_ << QStringLiteral("put ") + path.section(QLatin1Char('/'), -1);
            return answers;
        };
        link.command = [&, answers = answers](unsigned char cmd, unsigned char object, unsigned short v1, unsigned short v2) {
            log_ << QStringLiteral("cmd %1/%2/%3/%4").arg(cmd, 0, 16).arg(object, 0, 16).arg(v1, 0, 16).arg(v2, 0, 16);
            return answers;
        };
        link.motoStatus = [&, status = status] {
            log_ << QStringLiteral("status");
            return unsigned(status);
        };

        StartupExchange exchange(data, op, link);
        exchange.run();
        const StartupExchange::Machine found = exchange.close();
        QVERIFY2(log_ == log, qPrintable(log_.join(QLatin1String(" | "))));
        QCOMPARE(int(exchange.checkResult()), checkResult);
        QCOMPARE(int(found), machine);
        QCOMPARE(exchange.connected(), answers);
        QVERIFY(yes.isEmpty());
    }

private:
    TestRoot root_;
    QStringList log_;
};

QTEST_GUILESS_MAIN(TestStartupExchange)
#include "test_startupexchange.moc"
