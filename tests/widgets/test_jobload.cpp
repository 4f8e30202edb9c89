// Loading a job onto the main screen, saving its work parameters, the screen lock, the repair
// menu and the copy dialog. Faults caught: a wrong row count (end flag, record-0-only file,
// rows of an earlier program left in the image), a rejected pattern that does not drop the job
// or skips the work parameters, a hostile name read as a path, a failed save that damages the
// old file or reports nothing, lock states that leave command labels touchable, a repair that
// does not clear its mark, a copy that deletes the destination before it succeeds.
#include "modaldriver.h"
#include "simprocess.h"
#include "testroot.h"

#include "data/cntprogram.h"
#include "data/parablocks.h"
#include "files/fileoperatedialog.h"
#include "mainwin/wave.h"
#include "params/checkpara.h"
#include "platform/atomicfile.h"
#include "ui/listbuttonno.h"
#include "ui/mybutton.h"
#include "ui/mylabel.h"
#include "ui/mymenuno.h"

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

QString labelText(QWidget *w, const char *name)
{
    auto *l = w->findChild<QLabel *>(QString::fromLatin1(name));
    return l ? l->text() : QStringLiteral("<missing %1>").arg(QLatin1String(name));
}

} // namespace

class TestJobLoad : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void load_data();
    void load();
    void shorterProgramClearsTheImage();
    void saveWorkParameters();
    void screenLock();
    void repairMenu_data();
    void repairMenu();
    void copyDialog();

private:
    QString jobFile(const QString &name, const char *ext) const;
    void makeJob(const QString &name, int rows);

    std::unique_ptr<TestRoot> root_;
    std::unique_ptr<ModalDriver> driver_;
    std::unique_ptr<wave> wave_;
};

void TestJobLoad::initTestCase()
{
    qputenv("KNIT_BUZZER", "off");
    qputenv("KNIT_TIMEOUT_SCALE", "0.01");
    qputenv("KNIT_PORT_OFFSET", "47000"); // nobody listens: start-up meets no controller
    root_ = std::make_unique<TestRoot>();
    driver_ = std::make_unique<ModalDriver>();
    driver_->pressOk(); // the connection message
    wave_ = std::make_unique<wave>();
    wave_->show();
    QCOMPARE(driver_->unexpected(), 0);
}

void TestJobLoad::cleanupTestCase()
{
    wave_.reset();
    driver_.reset();
    root_.reset();
}

QString TestJobLoad::jobFile(const QString &name, const char *ext) const
{
    return root_->file(QStringLiteral("/mnt/ide/knit/wave/%1/%1%2").arg(name, QLatin1String(ext)));
}

void TestJobLoad::makeJob(const QString &name, int rows)
{
    QVERIFY(root_->makeJob(name, rows, 40, 6));
}

void TestJobLoad::load_data()
{
    QTest::addColumn<QString>("damage");
    QTest::addColumn<QString>("jobname"); // expected field texts
    QTest::addColumn<QString>("jobsize");
    QTest::addColumn<int>("rows");        // para_cur word 4
    QTest::addColumn<int>("width");       // para_run word 0
    QTest::addColumn<bool>("wrkRead");
    const QString name = QString::fromUtf8("名 称: ");
    const QString size = QString::fromUtf8("宽 度: %1            长 度: %2");
    QTest::addRow("whole") << "" << name + "L" << size.arg(40).arg(12) << 12 << 40 << true;
    QTest::addRow("end flag on row 5") << "end 5" << name + "L" << size.arg(40).arg(5) << 5 << 40 << true;
    QTest::addRow("end flag on row 1") << "end 1" << name + "L" << size.arg(40).arg(1) << 1 << 40 << true;
    QTest::addRow("bad checksum loads") << "checksum" << name + "L" << size.arg(40).arg(12) << 12 << 40 << true;
    QTest::addRow("record 0 only") << "record0" << name + "L" << size.arg(40).arg(1) << 1 << 40 << true;
    QTest::addRow("pattern rejected") << "pat" << name << size.arg(0).arg(0) << 12 << 1 << true;
    QTest::addRow("program rejected") << "cnt" << name << size.arg(0).arg(0) << 1 << 40 << true;
    QTest::addRow("no wrk") << "wrk" << name << size.arg(0).arg(0) << 12 << 40 << false;
    QTest::addRow("hostile name") << "name" << name << size.arg(0).arg(0) << 1 << 1 << false;
}

void TestJobLoad::load()
{
    QFETCH(QString, damage);
    QFETCH(QString, jobname);
    QFETCH(QString, jobsize);
    QFETCH(int, rows);
    QFETCH(int, width);
    QFETCH(bool, wrkRead);
    QFile::remove(jobFile(QStringLiteral("L"), ".wrk"));
    makeJob(QStringLiteral("L"), 12);
    QByteArray cnt = readFile(jobFile(QStringLiteral("L"), ".cnt"));
    if (damage.startsWith(QLatin1String("end "))) {
        cnt[damage.mid(4).toInt() * 128 + 116] = 1;
        cnt.chop(1); // no checksum: still accepted
    } else if (damage == QLatin1String("checksum")) {
        cnt[cnt.size() - 1] = char(cnt.at(cnt.size() - 1) + 1);
    } else if (damage == QLatin1String("record0")) {
        cnt = cnt.left(128);
    } else if (damage == QLatin1String("cnt")) {
        cnt = cnt.left(200); // not whole records: a format error
    } else if (damage == QLatin1String("pat")) {
        QVERIFY(AtomicFile::save(jobFile(QStringLiteral("L"), ".pat"), QByteArray(3, '\0')));
    } else if (damage == QLatin1String("wrk")) {
        QVERIFY(QFile::remove(jobFile(QStringLiteral("L"), ".wrk")));
    }
    QVERIFY(AtomicFile::save(jobFile(QStringLiteral("L"), ".cnt"), cnt));
    // A marker in the work file shows whether it was read.
    QByteArray wrk = readFile(jobFile(QStringLiteral("L"), ".wrk"));
    if (!wrk.isEmpty()) {
        wrk[0] = char(0x5a);
        QVERIFY(AtomicFile::save(jobFile(QStringLiteral("L"), ".wrk"), wrk));
    }
    para_work.setByte(0, 0);
    para_cur.setWord(4, 999);

    const QString loadName = damage == QLatin1String("name") ? QStringLiteral("../wave/L") : QStringLiteral("L");
    strcurfilename = loadName;
    wave_->open_wavefile(loadName);

    QCOMPARE(labelText(wave_.get(), "jobname"), jobname);
    QCOMPARE(labelText(wave_.get(), "jobsize"), jobsize);
    QCOMPARE(int(para_cur.word(4)), rows);
    QCOMPARE(int(para_run.word(0)), width);
    QCOMPARE(para_work.byte(0) == 0x5a, wrkRead);
    QCOMPARE(strcurfilename.isEmpty(), jobname == QString::fromUtf8("名 称: "));
}

void TestJobLoad::shorterProgramClearsTheImage()
{
    makeJob(QStringLiteral("BIG"), 40);
    wave_->open_wavefile(QStringLiteral("BIG"));
    QByteArray small = readFile(jobFile(QStringLiteral("BIG"), ".cnt")).left(3 * 128);
    QVERIFY(AtomicFile::save(jobFile(QStringLiteral("BIG"), ".cnt"), small));
    wave_->open_wavefile(QStringLiteral("BIG"));
    QCOMPARE(int(para_cur.word(4)), 2);
    for (int i = 3 * 128; i < 41 * 128; ++i) {
        if (wave_cnt.byte(std::size_t(i)) != 0)
            QFAIL(qPrintable(QStringLiteral("byte %1 of the earlier program is still in the image").arg(i)));
    }
}

void TestJobLoad::saveWorkParameters()
{
    makeJob(QStringLiteral("S"), 4);
    const QString path = jobFile(QStringLiteral("S"), ".wrk");
    const QByteArray before = readFile(path);
    para_work.setWord(100, 0x1234);
    wave_->wave_slot_savewrkfile(path);
    QCOMPARE(readFile(path), para_work.toByteArray());

    // A save that runs out of room keeps the old file and tells the operator.
    para_work.setWord(100, 0x4321);
    AtomicFile::setWriteLimitForTesting(100);
    driver_->pressOk();
    wave_->wave_slot_savewrkfile(path);
    AtomicFile::setWriteLimitForTesting(-1);
    QCOMPARE(driver_->texts().last(), QString::fromUtf8("没有编织文件, 请先设置编织文件 !"));
    QCOMPARE(readFile(path).mid(200, 2), QByteArray("\x34\x12", 2));
}

void TestJobLoad::screenLock()
{
    auto *lock = wave_->findChild<MYBUTTON *>(QStringLiteral("Bmenu"));
    QVERIFY(lock);
    auto *command = wave_->findChild<MyLabel *>(QStringLiteral("pieces"));
    auto *display = wave_->findChild<MyLabel *>(QStringLiteral("wavetime"));
    // Start-up leaves the screen unlocked.
    QCOMPARE(lock->text(), QString::fromUtf8("<< 锁屏"));
    QCOMPARE(lock->geometry(), QRect(QPoint(580, 10), QPoint(629, 44)));
    QVERIFY(command->getclickable());
    QVERIFY(!display->getclickable());

    wave_->wave_slot_enablets();
    QCOMPARE(lock->text(), QString::fromUtf8("点   击   此   处,   取   消   锁   屏   >>"));
    QCOMPARE(lock->geometry(), QRect(QPoint(10, 10), QPoint(629, 44)));
    QVERIFY(!command->getclickable());
    QVERIFY(!display->getclickable());

    wave_->wave_slot_enablets();
    QCOMPARE(lock->text(), QString::fromUtf8("<< 锁屏"));
    QVERIFY(command->getclickable());
    QVERIFY(!display->getclickable());
}

void TestJobLoad::repairMenu_data()
{
    QTest::addColumn<int>("row");         // item pressed (column 0)
    QTest::addColumn<int>("maskAfter");
    QTest::addColumn<QString>("written"); // the file the repair must leave: panel data or "sim:" name
    QTest::addColumn<bool>("running");
    QTest::addColumn<QString>("message");
    QTest::addRow("store system") << 0 << 2 << "/para/checksystem.sys" << false
                                  << QString::fromUtf8("把当前的系统参数存入显示屏备份成功 !");
    QTest::addRow("send system") << 2 << 2 << "sim:checksystem.sys" << false
                                 << QString::fromUtf8("把显示屏备份的系统参数导到主板成功 !");
    QTest::addRow("store config") << 4 << 1 << "/para/checkconfig.cfg" << false
                                  << QString::fromUtf8("把当前的个性化参数存入显示屏个性化参数备份成功 !");
    QTest::addRow("send config") << 6 << 1 << "sim:checkconfig.cfg" << false
                                 << QString::fromUtf8("把显示屏备份的个性化参数导到主板成功 !");
    QTest::addRow("carriage running") << 0 << 3 << "" << true << QString::fromUtf8("机头正在运行, 请停止运行 !");
}

void TestJobLoad::repairMenu()
{
    QFETCH(int, row);
    QFETCH(int, maskAfter);
    QFETCH(QString, written);
    QFETCH(bool, running);
    QFETCH(QString, message);
    SimProcess sim; // on this test's offset, so the carriage check and uploads reach it
    QString why;
    QVERIFY2(sim.start(&why), qPrintable(why));
    if (running)
        QVERIFY(sim.command(QStringLiteral("set motostatus 1")));
    para_system.setWord(7, 0x0707);
    cfgcheck1.setByte(0, 0x42);
    const QString dataRoot = root_->file(QStringLiteral("/mnt/ide/knit"));
    QVERIFY(AtomicFile::save(dataRoot + QStringLiteral("/para/checksystem.sys"), para_system.toByteArray()));
    QVERIFY(AtomicFile::save(dataRoot + QStringLiteral("/para/checkconfig.cfg"), cfgcheck1.toByteArray()));

    checkpara menu(wave_.get(), 3);
    for (int r : {0, 2, 4, 6}) {
        auto *b = menu.menu()->itemNo(0, r);
        QVERIFY(b->text().endsWith(QString::fromUtf8("(  需修复  )")));
        QCOMPARE(int(b->getactive()), 1);
    }
    driver_->pressOk().pressOk(); // Yes to the question, then the result message
    menu.slot_press(menu.menu()->itemNo(0, row)->text());
    QCOMPARE(driver_->texts().last(), message);
    QCOMPARE(int(menu.mask()), maskAfter);
    // Both items of a repaired pair lose their mark.
    for (int r : {0, 2, 4, 6}) {
        const bool marked = (maskAfter & (r < 4 ? 1 : 2)) != 0;
        auto *b = menu.menu()->itemNo(0, r);
        QCOMPARE(b->text().endsWith(QString::fromUtf8("(  需修复  )")), marked);
        QCOMPARE(int(b->getactive()), marked ? 1 : 0);
    }
    if (written.startsWith(QLatin1String("sim:"))) {
        const QString local = dataRoot + QStringLiteral("/para/") + written.mid(4);
        QCOMPARE(readFile(sim.file(written.mid(4))), readFile(local));
    } else if (!written.isEmpty()) {
        const QByteArray expect = written.endsWith(QLatin1String(".sys")) ? para_system.toByteArray()
                                                                          : cfgcheck1.toByteArray();
        QCOMPARE(readFile(dataRoot + written), expect);
    }
}

void TestJobLoad::copyDialog()
{
    const QString src = root_->file(QStringLiteral("/tmp/src.bin"));
    const QString dst = root_->file(QStringLiteral("/tmp/dst.bin"));
    QByteArray data(5000, '\0');
    for (int i = 0; i < data.size(); ++i)
        data[i] = char(i * 7);
    QVERIFY(AtomicFile::save(src, data));
    QVERIFY(AtomicFile::save(dst, QByteArray("old")));
    QVERIFY(FileOperateDialog::copy(src, dst));
    QCOMPARE(readFile(dst), data);

    // A missing source: the dialog says so and waits for Exit; the destination stays.
    QVERIFY(AtomicFile::save(dst, QByteArray("old")));
    driver_->handle(QStringLiteral("FileOperateDialog"));
    driver_->inspect([](QWidget *w) {
        const QList<QLabel *> labels = w->findChildren<QLabel *>();
        bool said = false;
        for (QLabel *l : labels)
            said = said || l->text().contains(QString::fromUtf8("从 : 源文件错误 !"));
        QVERIFY(said);
    }).click(QStringLiteral("Button_quit"));
    QVERIFY(!FileOperateDialog::copy(root_->file(QStringLiteral("/tmp/none")), dst));
    QCOMPARE(readFile(dst), QByteArray("old"));

    // A destination that cannot be written keeps the old file as it was.
    driver_->inspect([](QWidget *) {}).click(QStringLiteral("Button_quit"));
    AtomicFile::setWriteLimitForTesting(10);
    QVERIFY(!FileOperateDialog::copy(src, dst));
    AtomicFile::setWriteLimitForTesting(-1);
    driver_->passThrough(QStringLiteral("FileOperateDialog"));
    QCOMPARE(readFile(dst), QByteArray("old"));
}

QTEST_MAIN(TestJobLoad)
#include "test_jobload.moc"
