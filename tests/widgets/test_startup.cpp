// The start-up exchange against knitsim, answered through the modal driver. Faults caught: a
// wrong order of fetches, uploads and closing commands; uploads that are not byte-exact; a
// question with the wrong offset or bytes; a Yes that does not shut down or a No that does not
// mark the repair; byte 29 ignored; a missing or bad job file let through or reported with the
// wrong text; a hostile job name that becomes a path; a short block taken as a fetch. (A
// controller that never answers is met by the end-to-end test.)
#include "mainscreeninternals.h"
#include "modaldriver.h"
#include "portoffset.h"
#include "simprocess.h"
#include "testbytes.h"
#include "testroot.h"
#include "testtable.h"

#include "data/machinedata.h"
#include "mainwin/mainscreen.h"
#include "pages/panelpages.h"
#include "params/paramrepairmenu.h"
#include "ui/quickpages.h"

#include <QLabel>
#include <QTest>

#include <memory>

using TestBytes::readFile;

class TestStartup : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        qputenv("KNIT_TIMEOUT_SCALE", "0.05");
        root_ = std::make_unique<TestRoot>();
        PortOffset::useFree();
        sim_ = std::make_unique<SimProcess>();
        QVERIFY2(sim_->start(), qPrintable(sim_->error()));
        driver_ = std::make_unique<ModalDriver>();
        machine_ = std::make_unique<MachineData>();
    }
    void cleanup()
    {
        machine_.reset();
        driver_.reset();
        sim_.reset();
        root_.reset();
    }

    // The job's files uploaded as byte 26 asks, or not at all for byte 29. With a fifth of the
    // command datagrams lost each way and one in twenty duplicated (seeded, so a failing network
    // repeats), start-up still reaches the main screen without a message, with its job (fault:
    // a lost or late reply taken as a refusal or an absent controller, a duplicate reply taken
    // for the next command's).
    void jobAtStart_data()
    {
        // traffic: not compared over a lossy network
        TestTable::columns<QString, QString, QStringList>("knt", "seed", "traffic");
        const QStringList fetches{"RRQ file.sys", "RRQ config.cfg", "RRQ file.knt"};
        QTest::addRow("byte 26 closes its group")
            << "26 5" << "" << fetches + QStringList{"WRQ J1.wrk", "WRQ J1.cnt", "WRQ J1.pat", "cmd 20/5/0", "cmd 26/21/0"};
        QTest::addRow("byte 29 skips the uploads") << "29 1" << "" << fetches + QStringList{"cmd 20/0/0", "cmd 26/21/0"};
        for (const char *seed : {"1", "2", "3"})
            QTest::addRow("lossy commands, seed %s", seed) << "26 5" << QString::fromLatin1(seed) << QStringList();
    }
    void jobAtStart()
    {
        auto [knt, seed, traffic] = TestTable::fetch<QString, QString, QStringList>("knt", "seed", "traffic");
        QString why;
        QVERIFY2(seed.isEmpty() || sim_->start(&why, {QStringLiteral("--seed"), seed}), qPrintable(why));
        QVERIFY(root_->makeJob(QStringLiteral("J1"), 30, 64, 10));
        writeReferences();
        QVERIFY(sim_->command(QStringLiteral("set job J1")));
        QVERIFY(sim_->command(QStringLiteral("set knt ") + knt));
        for (const char *fault : {"fault loss 20 cmd", "fault duplicate 5 cmd"})
            QVERIFY(seed.isEmpty() || sim_->command(QLatin1String(fault)));
        auto w = start();
        QCOMPARE(driver_->texts, QStringList());
        if (seed.isEmpty())
            QCOMPARE(sim_->traffic(), traffic);
        const QString job = root_->file(QStringLiteral("/mnt/ide/knit/wave/J1/J1"));
        for (const char *ext : {".wrk", ".cnt", ".pat"}) {
            if (knt != QLatin1String("29 1"))
                QCOMPARE(readFile(sim_->file(QStringLiteral("J1") + QLatin1String(ext))), readFile(job + QLatin1String(ext)));
        }
        // Either way the job is taken and loaded into the panel.
        QCOMPARE(MainScreenInternals::checkResult(*w), 0);
        QCOMPARE(machine_->jobName(), QStringLiteral("J1"));
        QCOMPARE(w->findChild<QLabel *>(QStringLiteral("jobsize"))->text(), QString::fromUtf8("宽 度: 64            长 度: 30"));
    }

    void firstRunBuildsReferenceCopies()
    {
        QVERIFY(sim_->command(QStringLiteral("set job")));
        driver_->pressOk().pressOk().pressOk();
        auto w = start();
        QCOMPARE(driver_->texts, QStringList({QString::fromUtf8("打开系统参数校验文件失败 !"),
                                                QString::fromUtf8("打开个性化校验文件失败 !"),
                                                QString::fromUtf8("没有编织文件, 请选择 !")}));
        QCOMPARE(readFile(root_->file(QStringLiteral("/mnt/ide/knit/para/checksystem.sys"))), readFile(sim_->file(QStringLiteral("file.sys"))));
        QCOMPARE(readFile(root_->file(QStringLiteral("/mnt/ide/knit/para/checkconfig.cfg"))), readFile(sim_->file(QStringLiteral("config.cfg"))));
    }

    void mismatch_data()
    {
        // sysBytes: reference bytes made to differ
        // answers: "yes"/"no" per question
        TestTable::columns<QList<int>, bool, QStringList, int, bool>("sysBytes", "config", "answers", "checkresult", "shutdown");
        const QList<int> b117{117};
        QTest::addRow("config no") << QList<int>{} << true << QStringList{"no"} << 2 << false;
        QTest::addRow("both no") << b117 << true << QStringList{"no", "no"} << 3 << false;
        QTest::addRow("config yes") << b117 << true << QStringList{"no", "yes"} << 1 << true;
        QTest::addRow("first two bytes not compared") << QList<int>{0, 1} << false << QStringList{} << 0 << false;
    }
    void mismatch()
    {
        auto [sysBytes, config, answers, checkResult, shutdown] = TestTable::fetch<QList<int>, bool, QStringList, int, bool>("sysBytes", "config", "answers", "checkresult", "shutdown");
        writeReferences();
        QVERIFY(sim_->command(QStringLiteral("set job")));
        const QString sysRef = root_->file(QStringLiteral("/mnt/ide/knit/para/checksystem.sys"));
        const QString cfgRef = root_->file(QStringLiteral("/mnt/ide/knit/para/checkconfig.cfg"));
        QByteArray sys = readFile(sysRef);
        QByteArray cfg = readFile(cfgRef);
        const int controllerSys = quint8(sys[117]);
        for (int i : sysBytes)
            sys[i] = char(sys.at(i) + 1);
        if (config)
            cfg[0] = char(0x7f);
        QVERIFY(TestBytes::writeFile(sysRef, sys) && TestBytes::writeFile(cfgRef, cfg));

        QStringList expectTexts;
        for (int i = 0; i < answers.size(); ++i) {
            expectTexts << (sysBytes.contains(117) && i == 0
                                ? QString::fromUtf8("系统参数校验失败! - 117 - %1 - %2. 是否关机 ?").arg(controllerSys + 1).arg(controllerSys)
                                : QString::fromUtf8("个性化校验文件失败! - 0 - 0 - 127. 是否关机 ?"));
            if (answers[i] == QLatin1String("yes"))
                driver_->pressOk();
            else
                driver_->pressCancel();
        }
        expectTexts << (shutdown ? QString::fromUtf8("正在关机, 请稍等 ... ... ") : QString::fromUtf8("没有编织文件, 请选择 !"));
        driver_->pressOk();
        if (checkResult != 0)
            driver_->escape().pressCancel(); // the repair menu, then "go to main screen"

        auto w = start();
        // The repair menu comes from the event loop after start-up, and goes.
        if (checkResult != 0)
            QTRY_VERIFY(driver_->classes.contains(&ParamRepairMenu::staticMetaObject) && !QApplication::activeModalWidget());
        QCOMPARE(MainScreenInternals::checkResult(*w), checkResult);
        QCOMPARE(driver_->texts.mid(0, expectTexts.size()), expectTexts);
        QCOMPARE(sim_->traffic().contains(QStringLiteral("cmd 2a/1/20")), shutdown);
        if (checkResult != 0) {
            QCOMPARE(driver_->classes.value(expectTexts.size()), &ParamRepairMenu::staticMetaObject);
            QCOMPARE(driver_->unexpected, 0);
        }
    }

    // One message, and nothing is sent back.
    void jobProblems_data()
    {
        // damage: which file to remove or break
        TestTable::columns<QString, QString, QString>("name", "damage", "message");
        const QString noWrk = QString::fromUtf8("缺少.wrk 文件,请重新导入 !");
        QTest::addRow("no wrk") << "J3" << "rm .wrk" << noWrk;
        QTest::addRow("no cnt") << "J3" << "rm .cnt" << QString::fromUtf8("缺少.cnt 文件,请重新导入 !");
        QTest::addRow("no pat") << "J3" << "rm .pat" << QString::fromUtf8("缺少.pat 文件,请重新导入 !");
        QTest::addRow("cnt over 1M") << "J3" << "big .cnt" << QString::fromUtf8("cnt文件大于1M !");
        QTest::addRow("pat format") << "J3" << "cut .pat" << QString::fromUtf8("pat文件格式错误 !");
        QTest::addRow("empty name") << "" << "" << QString::fromUtf8("没有编织文件, 请选择 !");
        // A whole job waits where the unchecked name would lead, so only the name check stops it.
        QTest::addRow("parent dir") << "../J3" << "lure" << noWrk;
        QTest::addRow("slash") << "J3/J3" << "lure" << noWrk;
        QTest::addRow("short state block") << "J3" << "short .knt" << QString::fromUtf8("与主控制器连接失败, 请检查通信线路 !");
    }
    void jobProblems()
    {
        auto [name, damage, message] = TestTable::fetch<QString, QString, QString>("name", "damage", "message");
        QVERIFY(root_->makeJob(QStringLiteral("J3"), 30, 64, 10));
        writeReferences();
        QVERIFY(sim_->command(QStringLiteral("set job ") + name));
        const QString base = root_->file(QStringLiteral("/mnt/ide/knit/wave/J3/J3"));
        const QString ext = damage.section(QLatin1Char(' '), 1);
        if (damage.startsWith(QLatin1String("rm")))
            QVERIFY(QFile::remove(base + ext));
        else if (damage.startsWith(QLatin1String("cut")))
            QVERIFY(TestBytes::writeFile(base + ext, readFile(base + ext).left(3)));
        else if (damage.startsWith(QLatin1String("big")))
            QVERIFY(TestBytes::writeFile(base + ext, QByteArray(1024 * 1024 + 128, '\0')));
        else if (damage.startsWith(QLatin1String("short")))
            QVERIFY(TestBytes::writeFile(sim_->file(QStringLiteral("file.knt")), QByteArray(100, '\1')));
        if (damage == QLatin1String("lure")) {
            const QString MainScreen = root_->file(QStringLiteral("/mnt/ide/knit/wave/"));
            QVERIFY(QDir().mkpath(QDir::cleanPath(MainScreen + name)));
            const QString lured = QDir::cleanPath(MainScreen + name + QLatin1Char('/') + name);
            for (const char *e : {".wrk", ".cnt", ".pat"})
                QVERIFY(TestBytes::writeFile(lured + QLatin1String(e), readFile(base + QLatin1String(e))));
        }
        driver_->pressOk();
        auto w = start();
        QCOMPARE(driver_->texts, QStringList({message}));
        QCOMPARE(sim_->traffic().filter(QStringLiteral("WRQ")), QStringList());
        QVERIFY(machine_->jobName().isEmpty());
    }

private:
    // The panel's reference copies equal to what the controller serves.
    void writeReferences()
    {
        QVERIFY(root_->writeReferences(sim_->file(QStringLiteral("file.sys")), sim_->file(QStringLiteral("config.cfg"))));
    }
    std::unique_ptr<MainScreen> start()
    {
        // The repair menu comes from the panel's own registry.
        auto w = std::make_unique<MainScreen>(*machine_, &pages_);
        PanelPages::provide(pages_, *machine_, w.get());
        w->start();
        return w;
    }

    std::unique_ptr<TestRoot> root_;
    std::unique_ptr<SimProcess> sim_;
    std::unique_ptr<ModalDriver> driver_;
    std::unique_ptr<MachineData> machine_;
    QuickPages pages_;
};

QTEST_MAIN(TestStartup)
#include "test_startup.moc"
