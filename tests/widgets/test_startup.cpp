// The start-up exchange against knitsim, answered through the modal driver. Faults caught: a
// wrong order of fetches, uploads and closing commands; uploads that are not byte-exact; a
// question with the wrong offset or bytes; a Yes that does not shut down or a No that does not
// mark the repair; byte 29 ignored; a missing or bad job file let through or reported with the
// wrong text; a hostile job name that becomes a path; a short block taken as a fetch.
#include "modaldriver.h"
#include "portoffset.h"
#include "simprocess.h"
#include "testroot.h"

#include "data/parablocks.h"
#include "mainwin/wave.h"
#include "platform/atomicfile.h"
#include "ui/palettes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QTest>

#include <memory>

namespace {

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The journal's datagrams of one channel, as hex text after the time stamp.
QStringList journal(SimProcess &sim, const QString &channel)
{
    QStringList out;
    const QStringList lines = sim.send(QStringLiteral("journal"));
    for (const QString &l : lines) {
        const QStringList parts = l.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (parts.size() > 2 && parts.at(1) == channel)
            out << parts.mid(2).join(QLatin1Char(' '));
    }
    return out;
}

// "00 01 66 69 ..." → opcode and file name of a TFTP request, else empty.
QString request(const QString &hex)
{
    const QByteArray b = QByteArray::fromHex(hex.toLatin1().replace(' ', ""));
    if (b.size() < 4 || b[0] != 0 || (b[1] != 1 && b[1] != 2))
        return QString();
    return (b[1] == 1 ? QStringLiteral("RRQ ") : QStringLiteral("WRQ ")) + QString::fromLatin1(b.mid(2).split('\0').first());
}

QStringList requests(SimProcess &sim)
{
    QStringList out;
    for (const QString &h : journal(sim, QStringLiteral("tftp"))) {
        const QString r = request(h);
        if (!r.isEmpty())
            out << r;
    }
    return out;
}

QStringList commandCodes(SimProcess &sim)
{
    QStringList out;
    for (const QString &h : journal(sim, QStringLiteral("cmd"))) {
        const QStringList b = h.split(QLatin1Char(' '));
        auto hex = [&b](int i) { return QString::number(b.value(i).toInt(nullptr, 16), 16); };
        out << hex(0) + QLatin1Char('/') + hex(5) + QLatin1Char('/') + hex(6);
    }
    return out;
}

} // namespace

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void jobAtStart_data();
    void jobAtStart();
    void firstRunBuildsReferenceCopies();
    void noController();
    void mismatch_data();
    void mismatch();
    void jobProblems_data();
    void jobProblems();
    void shortBlockIsAFailedFetch();

private:
    void makeJob(const QString &name);
    void writeReferences();
    std::unique_ptr<wave> start();

    std::unique_ptr<TestRoot> root_;
    std::unique_ptr<SimProcess> sim_;
    std::unique_ptr<ModalDriver> driver_;
};

void TestStartup::init()
{
    qputenv("KNIT_BUZZER", "off");
    qputenv("KNIT_TIMEOUT_SCALE", "0.05");
    root_ = std::make_unique<TestRoot>();
    PortOffset::useFree();
    sim_ = std::make_unique<SimProcess>();
    QString why;
    QVERIFY2(sim_->start(&why), qPrintable(why));
    driver_ = std::make_unique<ModalDriver>();
    strcurfilename.clear();
    para_cur.clear();
}

void TestStartup::cleanup()
{
    driver_.reset();
    sim_.reset();
    root_.reset();
}

void TestStartup::makeJob(const QString &name)
{
    QVERIFY(root_->makeJob(name, 30, 64, 10));
}

// The panel's reference copies equal to what the controller serves.
void TestStartup::writeReferences()
{
    QVERIFY(root_->writeReferences(sim_->file(QStringLiteral("file.sys")), sim_->file(QStringLiteral("config.cfg"))));
}

std::unique_ptr<wave> TestStartup::start()
{
    auto w = std::make_unique<wave>();
    w->show();
    QTest::qWait(50);
    return w;
}

void TestStartup::jobAtStart_data()
{
    QTest::addColumn<QString>("knt");
    QTest::addColumn<bool>("uploads");
    QTest::addRow("byte 26 closes its group") << "26 5" << true;
    QTest::addRow("byte 29 skips the uploads") << "29 1" << false;
}

void TestStartup::jobAtStart()
{
    QFETCH(QString, knt);
    QFETCH(bool, uploads);
    makeJob(QStringLiteral("J1"));
    writeReferences();
    QVERIFY(sim_->command(QStringLiteral("set job J1")));
    QVERIFY(sim_->command(QStringLiteral("set knt ") + knt));
    auto w = start();

    QCOMPARE(driver_->seen().size(), 0);
    QStringList expected{"RRQ file.sys", "RRQ config.cfg", "RRQ file.knt"};
    if (uploads)
        expected << QStringList{"WRQ J1.wrk", "WRQ J1.cnt", "WRQ J1.pat"};
    QCOMPARE(requests(*sim_), expected);
    if (uploads) {
        const QString job = root_->file(QStringLiteral("/mnt/ide/knit/wave/J1/J1"));
        for (const char *ext : {".wrk", ".cnt", ".pat"})
            QCOMPARE(readFile(sim_->file(QStringLiteral("J1") + QLatin1String(ext))), readFile(job + QLatin1String(ext)));
        // Closing the group of byte 26, then one status query.
        QCOMPARE(commandCodes(*sim_), QStringList({"20/5/0", "26/21/0"}));
    }
    // Either way the job is taken and loaded into the panel.
    QCOMPARE(w->checkresult, 0);
    QCOMPARE(strcurfilename, QStringLiteral("J1"));
    QCOMPARE(w->findChild<QLabel *>(QStringLiteral("jobname"))->text(), QString::fromUtf8("名 称: J1"));
    QCOMPARE(w->findChild<QLabel *>(QStringLiteral("jobsize"))->text(),
             QString::fromUtf8("宽 度: 64            长 度: 30"));
}

void TestStartup::firstRunBuildsReferenceCopies()
{
    QVERIFY(sim_->command(QStringLiteral("set job")));
    driver_->pressOk().pressOk().pressOk();
    auto w = start();
    QCOMPARE(driver_->texts(), QStringList({QString::fromUtf8("打开系统参数校验文件失败 !"),
                                            QString::fromUtf8("打开个性化校验文件失败 !"),
                                            QString::fromUtf8("没有编织文件, 请选择 !")}));
    QCOMPARE(readFile(root_->file(QStringLiteral("/mnt/ide/knit/para/checksystem.sys"))),
             readFile(sim_->file(QStringLiteral("file.sys"))));
    QCOMPARE(readFile(root_->file(QStringLiteral("/mnt/ide/knit/para/checkconfig.cfg"))),
             readFile(sim_->file(QStringLiteral("config.cfg"))));
}

void TestStartup::noController()
{
    QVERIFY(sim_->command(QStringLiteral("fault silent-after 0")));
    driver_->pressOk();
    auto w = start();
    QCOMPARE(driver_->texts(), QStringList({QString::fromUtf8("与主控制器连接失败, 请检查通信线路 !")}));
    QCOMPARE(driver_->unexpected(), 0);
    QCOMPARE(requests(*sim_), QStringList(11, QStringLiteral("RRQ file.sys")));
    // The closing commands still go out.
    QCOMPARE(commandCodes(*sim_), QStringList({"20/0/0", "26/21/0"}));
    QVERIFY(strcurfilename.isEmpty());
}

void TestStartup::mismatch_data()
{
    QTest::addColumn<QList<int>>("sysBytes"); // reference bytes made to differ
    QTest::addColumn<bool>("config");
    QTest::addColumn<QStringList>("answers"); // "yes"/"no" per question
    QTest::addColumn<int>("checkresult");
    QTest::addColumn<bool>("shutdown");
    const QList<int> b117{117};
    QTest::addRow("system no") << b117 << false << QStringList{"no"} << 1 << false;
    QTest::addRow("config no") << QList<int>{} << true << QStringList{"no"} << 2 << false;
    QTest::addRow("both no") << b117 << true << QStringList{"no", "no"} << 3 << false;
    QTest::addRow("system yes") << b117 << true << QStringList{"yes"} << 0 << true;
    QTest::addRow("config yes") << b117 << true << QStringList{"no", "yes"} << 1 << true;
    QTest::addRow("first two bytes not compared") << QList<int>{0, 1} << false << QStringList{} << 0 << false;
}

void TestStartup::mismatch()
{
    QFETCH(QList<int>, sysBytes);
    QFETCH(bool, config);
    QFETCH(QStringList, answers);
    QFETCH(int, checkresult);
    QFETCH(bool, shutdown);
    writeReferences();
    QVERIFY(sim_->command(QStringLiteral("set job")));
    const QString sysRef = root_->file(QStringLiteral("/mnt/ide/knit/para/checksystem.sys"));
    const QString cfgRef = root_->file(QStringLiteral("/mnt/ide/knit/para/checkconfig.cfg"));
    QByteArray sys = readFile(sysRef);
    QByteArray cfg = readFile(cfgRef);
    const unsigned char controllerSys = static_cast<unsigned char>(sys[117]);
    for (int i : sysBytes)
        sys[i] = char(sys.at(i) + 1);
    const bool system = sysBytes.contains(117);
    if (config)
        cfg[0] = char(0x7f);
    QVERIFY(AtomicFile::save(sysRef, sys));
    QVERIFY(AtomicFile::save(cfgRef, cfg));

    QStringList expectTexts;
    for (int i = 0; i < answers.size(); ++i) {
        const bool askSystem = system && i == 0;
        expectTexts << (askSystem ? QString::fromUtf8("系统参数校验失败! - 117 - %1 - %2. 是否关机 ?")
                                        .arg(int(controllerSys) + 1).arg(int(controllerSys))
                                  : QString::fromUtf8("个性化校验文件失败! - 0 - 0 - 127. 是否关机 ?"));
        if (answers[i] == QLatin1String("yes"))
            driver_->pressOk();
        else
            driver_->pressCancel();
    }
    if (shutdown)
        expectTexts << QString::fromUtf8("正在关机, 请稍等 ... ... ");
    else
        expectTexts << QString::fromUtf8("没有编织文件, 请选择 !");
    driver_->pressOk();
    if (checkresult != 0)
        driver_->inspect([](QWidget *) {}).escape().pressCancel(); // the repair menu, then "go to main screen"

    auto w = start();
    QTest::qWait(100);
    QCOMPARE(w->checkresult, checkresult);
    QCOMPARE(driver_->texts().mid(0, expectTexts.size()), expectTexts);
    const QStringList codes = commandCodes(*sim_);
    QCOMPARE(codes.contains(QStringLiteral("2a/1/20")), shutdown);
    if (checkresult != 0) {
        QCOMPARE(driver_->seen().value(expectTexts.size()).className, QStringLiteral("checkpara"));
        QCOMPARE(driver_->unexpected(), 0);
    }
}

void TestStartup::jobProblems_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("damage"); // which file to remove or break
    QTest::addColumn<QString>("message");
    QTest::addRow("no wrk") << "J3" << "rm .wrk" << QString::fromUtf8("缺少.wrk 文件,请重新导入 !");
    QTest::addRow("no cnt") << "J3" << "rm .cnt" << QString::fromUtf8("缺少.cnt 文件,请重新导入 !");
    QTest::addRow("no pat") << "J3" << "rm .pat" << QString::fromUtf8("缺少.pat 文件,请重新导入 !");
    QTest::addRow("cnt format") << "J3" << "cut .cnt" << QString::fromUtf8("cnt文件格式错误 !");
    QTest::addRow("cnt over 1M") << "J3" << "big .cnt" << QString::fromUtf8("cnt文件大于1M !");
    QTest::addRow("pat format") << "J3" << "cut .pat" << QString::fromUtf8("pat文件格式错误 !");
    QTest::addRow("pat over 2M") << "J3" << "big .pat" << QString::fromUtf8("pat文件大于2M !");
    QTest::addRow("empty name") << "" << "" << QString::fromUtf8("没有编织文件, 请选择 !");
    QTest::addRow("far parent dir") << "../../../../etc" << "" << QString::fromUtf8("缺少.wrk 文件,请重新导入 !");
    // A whole job waits where the unchecked name would lead, so only the name check stops it.
    QTest::addRow("parent dir") << "../J3" << "lure" << QString::fromUtf8("缺少.wrk 文件,请重新导入 !");
    QTest::addRow("slash") << "J3/J3" << "lure" << QString::fromUtf8("缺少.wrk 文件,请重新导入 !");
}

void TestStartup::jobProblems()
{
    QFETCH(QString, name);
    QFETCH(QString, damage);
    QFETCH(QString, message);
    makeJob(QStringLiteral("J3"));
    writeReferences();
    const QString base = root_->file(QStringLiteral("/mnt/ide/knit/wave/J3/J3"));
    const QString ext = damage.section(QLatin1Char(' '), 1);
    if (damage.startsWith(QLatin1String("rm")))
        QVERIFY(QFile::remove(base + ext));
    else if (damage.startsWith(QLatin1String("cut")))
        QVERIFY(AtomicFile::save(base + ext, readFile(base + ext).left(ext == QLatin1String(".cnt") ? 200 : 3)));
    else if (damage.startsWith(QLatin1String("big")))
        QVERIFY(AtomicFile::save(base + ext, QByteArray((ext == QLatin1String(".cnt") ? 1 : 2) * 1024 * 1024 + 128, '\0')));
    if (damage == QLatin1String("lure")) {
        const QString wave = root_->file(QStringLiteral("/mnt/ide/knit/wave/"));
        QVERIFY(QDir().mkpath(QDir::cleanPath(wave + name)));
        const QString lured = QDir::cleanPath(wave + name + QLatin1Char('/') + name);
        QVERIFY(QDir().mkpath(QFileInfo(lured).absolutePath()));
        for (const char *e : {".wrk", ".cnt", ".pat"})
            QVERIFY(AtomicFile::save(lured + QLatin1String(e), readFile(base + QLatin1String(e))));
    }
    QVERIFY(sim_->command(QStringLiteral("set job ") + name));
    driver_->pressOk();
    auto w = start();
    QCOMPARE(driver_->texts(), QStringList({message}));
    // Nothing was sent back.
    QCOMPARE(requests(*sim_), QStringList({"RRQ file.sys", "RRQ config.cfg", "RRQ file.knt"}));
}

void TestStartup::shortBlockIsAFailedFetch()
{
    writeReferences();
    QVERIFY(AtomicFile::save(sim_->file(QStringLiteral("file.knt")), QByteArray(100, '\1')));
    driver_->pressOk();
    auto w = start();
    QCOMPARE(driver_->texts(), QStringList({QString::fromUtf8("与主控制器连接失败, 请检查通信线路 !")}));
    QVERIFY(strcurfilename.isEmpty());
}

QTEST_MAIN(TestStartup)
#include "test_startup.moc"
