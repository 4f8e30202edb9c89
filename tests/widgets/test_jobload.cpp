// Loading a job onto the main screen, saving its work parameters, the screen lock, the repair
// menu and the copy dialog. Faults caught: a wrong row count (end flag, record-0-only file,
// rows of an earlier program left in the image), a rejected pattern that does not drop the job
// or skips the work parameters, a hostile name read as a path, a failed save that damages the
// old file or reports nothing, lock states that leave command labels touchable, a repair that
// does not clear its mark, a copy that deletes the destination before it succeeds.
#include "modaldriver.h"
#include "simprocess.h"
#include "testbytes.h"
#include "testroot.h"

#include "data/parablocks.h"
#include "files/fileoperatedialog.h"
#include "mainwin/wave.h"
#include "params/checkpara.h"
#include "ui/listbuttonno.h"
#include "ui/mybutton.h"
#include "ui/mylabel.h"
#include "ui/mymenuno.h"

#include <QTest>

#include <memory>

using TestBytes::readFile;
using TestBytes::writeFile;

class TestJobLoad : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        qputenv("KNIT_TIMEOUT_SCALE", "0.01");
        qputenv("KNIT_PORT_OFFSET", "47000"); // nobody listens: start-up meets no controller
        root_ = std::make_unique<TestRoot>();
        driver_ = std::make_unique<ModalDriver>();
        driver_->pressOk(); // the connection message
        wave_ = std::make_unique<wave>();
        wave_->show();
        QCOMPARE(driver_->unexpected(), 0);
    }
    void cleanupTestCase()
    {
        wave_.reset();
        driver_.reset();
        root_.reset();
    }

    // Rows run in order on one screen, so a shorter program follows a longer one.
    void load_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<int>("rows");  // para_cur word 4
        QTest::addColumn<int>("width"); // para_run word 0
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<bool>("wrkRead");
        QTest::addRow("whole") << "" << 12 << 40 << true << true;
        QTest::addRow("end flag on row 5") << "end 5" << 5 << 40 << true << true;
        QTest::addRow("bad checksum loads") << "checksum" << 12 << 40 << true << true;
        QTest::addRow("record 0 only") << "record0" << 1 << 40 << true << true;
        QTest::addRow("pattern rejected") << "pat" << 12 << 1 << false << true;
        QTest::addRow("program rejected") << "cnt" << 1 << 40 << false << true;
        QTest::addRow("no wrk") << "wrk" << 12 << 40 << false << false;
        QTest::addRow("hostile name") << "name" << 1 << 1 << false << false;
    }
    void load()
    {
        QFETCH(QString, damage);
        QFETCH(int, rows);
        QFETCH(int, width);
        QFETCH(bool, accepted);
        QFETCH(bool, wrkRead);
        QFile::remove(jobFile(".wrk"));
        QVERIFY(root_->makeJob(QStringLiteral("L"), 12, 40, 6));
        QByteArray cnt = readFile(jobFile(".cnt"));
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
            QVERIFY(writeFile(jobFile(".pat"), QByteArray(3, '\0')));
        } else if (damage == QLatin1String("wrk")) {
            QVERIFY(QFile::remove(jobFile(".wrk")));
        }
        QVERIFY(writeFile(jobFile(".cnt"), cnt));
        // A marker in the work file shows whether it was read.
        QByteArray wrk = readFile(jobFile(".wrk"));
        if (QFile::exists(jobFile(".wrk"))) {
            wrk[0] = char(0x5a);
            QVERIFY(writeFile(jobFile(".wrk"), wrk));
        }
        para_work.setByte(0, 0);
        para_cur.setWord(4, 999);

        const QString name = damage == QLatin1String("name") ? QStringLiteral("../wave/L") : QStringLiteral("L");
        strcurfilename = name;
        wave_->open_wavefile(name);
        const QString size = QString::fromUtf8("宽 度: %1            长 度: %2");
        QCOMPARE(wave_->findChild<QLabel *>(QStringLiteral("jobname"))->text(), QString::fromUtf8("名 称: ") + (accepted ? name : QString()));
        QCOMPARE(wave_->findChild<QLabel *>(QStringLiteral("jobsize"))->text(), accepted ? size.arg(width).arg(rows) : size.arg(0).arg(0));
        QCOMPARE(int(para_cur.word(4)), rows);
        QCOMPARE(int(para_run.word(0)), width);
        QCOMPARE(para_work.byte(0) == 0x5a, wrkRead);
        QCOMPARE(strcurfilename.isEmpty(), !accepted);
        if (accepted) // nothing of the earlier, longer program is left past this one
            QCOMPARE(wave_cnt.toByteArray().mid(cnt.size()), QByteArray(int(wave_cnt.size) - int(cnt.size()), '\0'));
    }

    // A save that runs out of room keeps the old file and tells the operator.
    void saveWorkParameters()
    {
        const QString path = jobFile(".wrk");
        QVERIFY(root_->makeJob(QStringLiteral("L"), 4, 40, 6));
        para_work.setWord(100, 0x1234);
        wave_->wave_slot_savewrkfile(path);
        QCOMPARE(readFile(path), para_work.toByteArray());
        para_work.setWord(100, 0x4321);
        AtomicFile::setWriteLimitForTesting(100);
        driver_->pressOk();
        wave_->wave_slot_savewrkfile(path);
        AtomicFile::setWriteLimitForTesting(-1);
        QCOMPARE(driver_->texts().last(), QString::fromUtf8("没有编织文件, 请先设置编织文件 !"));
        QCOMPARE(readFile(path).mid(200, 2), QByteArray("\x34\x12", 2));
    }

    // Unlocked at start-up; locked, no label takes a touch; display labels never do.
    void screenLock()
    {
        auto *command = wave_->findChild<MyLabel *>(QStringLiteral("pieces"));
        auto *display = wave_->findChild<MyLabel *>(QStringLiteral("wavetime"));
        for (bool locked : {false, true, false}) {
            QCOMPARE(command->getclickable(), !locked);
            QVERIFY(!display->getclickable());
            wave_->wave_slot_enablets();
        }
        wave_->wave_slot_enablets();
    }

    // Each item stores or sends one reference copy and clears the mark of its pair; nothing
    // happens while the carriage runs.
    void repairMenu_data()
    {
        QTest::addColumn<int>("row"); // item pressed (column 0)
        QTest::addColumn<int>("maskAfter");
        QTest::addColumn<QString>("written"); // the file the repair must leave: panel data or "sim:" name
        QTest::addColumn<QString>("message");
        QTest::addRow("store system") << 0 << 2 << "/para/checksystem.sys" << QString::fromUtf8("把当前的系统参数存入显示屏备份成功 !");
        QTest::addRow("send system") << 2 << 2 << "sim:checksystem.sys" << QString::fromUtf8("把显示屏备份的系统参数导到主板成功 !");
        QTest::addRow("store config") << 4 << 1 << "/para/checkconfig.cfg" << QString::fromUtf8("把当前的个性化参数存入显示屏个性化参数备份成功 !");
        QTest::addRow("send config") << 6 << 1 << "sim:checkconfig.cfg" << QString::fromUtf8("把显示屏备份的个性化参数导到主板成功 !");
        QTest::addRow("carriage running") << 0 << 3 << "" << QString::fromUtf8("机头正在运行, 请停止运行 !");
    }
    void repairMenu()
    {
        QFETCH(int, row);
        QFETCH(int, maskAfter);
        QFETCH(QString, written);
        QFETCH(QString, message);
        SimProcess sim; // on this test's offset, so the carriage check and uploads reach it
        QString why;
        QVERIFY2(sim.start(&why), qPrintable(why));
        if (written.isEmpty())
            QVERIFY(sim.command(QStringLiteral("set motostatus 1")));
        para_system.setWord(7, 0x0707);
        cfgcheck1.setByte(0, 0x42);
        const QString para = root_->file(QStringLiteral("/mnt/ide/knit/para/"));
        QVERIFY(writeFile(para + QStringLiteral("checksystem.sys"), para_system.toByteArray()));
        QVERIFY(writeFile(para + QStringLiteral("checkconfig.cfg"), cfgcheck1.toByteArray()));

        checkpara menu(wave_.get(), 3);
        driver_->pressOk().pressOk(); // Yes to the question, then the result message
        menu.slot_press(menu.menu()->itemNo(0, row)->text());
        QCOMPARE(driver_->texts().last(), message);
        QCOMPARE(int(menu.mask()), maskAfter);
        // Both items of a repaired pair lose their mark.
        for (int r : {0, 2, 4, 6}) {
            const bool marked = (maskAfter & (r < 4 ? 1 : 2)) != 0;
            QCOMPARE(menu.menu()->itemNo(0, r)->text().endsWith(QString::fromUtf8("(  需修复  )")), marked);
            QCOMPARE(int(menu.menu()->itemNo(0, r)->getactive()), marked ? 1 : 0);
        }
        if (written.startsWith(QLatin1String("sim:")))
            QCOMPARE(readFile(sim.file(written.mid(4))), readFile(para + written.mid(4)));
        else if (!written.isEmpty())
            QCOMPARE(readFile(para + written.mid(6)), written.endsWith(QLatin1String(".sys")) ? para_system.toByteArray() : cfgcheck1.toByteArray());
    }

    void copyDialog()
    {
        const QString src = root_->file(QStringLiteral("/tmp/src.bin"));
        const QString dst = root_->file(QStringLiteral("/tmp/dst.bin"));
        QByteArray data(5000, '\0');
        for (int i = 0; i < data.size(); ++i)
            data[i] = char(i * 7);
        QVERIFY(writeFile(src, data) && writeFile(dst, QByteArray("old")));
        QVERIFY(FileOperateDialog::copy(src, dst));
        QCOMPARE(readFile(dst), data);

        // A missing source: the dialog says so and waits for Exit; the destination stays.
        QVERIFY(writeFile(dst, QByteArray("old")));
        driver_->handle(QStringLiteral("FileOperateDialog"));
        bool said = false;
        driver_->inspect([&said](QWidget *w) {
            for (QLabel *l : w->findChildren<QLabel *>())
                said = said || l->text().contains(QString::fromUtf8("从 : 源文件错误 !"));
        }).click(QStringLiteral("Button_quit"));
        QVERIFY(!FileOperateDialog::copy(root_->file(QStringLiteral("/tmp/none")), dst));
        QVERIFY(said);
        QCOMPARE(readFile(dst), QByteArray("old"));

        // A destination that cannot be written keeps the old file as it was.
        driver_->inspect([](QWidget *) {}).click(QStringLiteral("Button_quit"));
        AtomicFile::setWriteLimitForTesting(10);
        QVERIFY(!FileOperateDialog::copy(src, dst));
        AtomicFile::setWriteLimitForTesting(-1);
        driver_->passThrough(QStringLiteral("FileOperateDialog"));
        QCOMPARE(readFile(dst), QByteArray("old"));
    }

private:
    QString jobFile(const char *ext) const { return root_->file(QStringLiteral("/mnt/ide/knit/wave/L/L") + QLatin1String(ext)); }

    std::unique_ptr<TestRoot> root_;
    std::unique_ptr<ModalDriver> driver_;
    std::unique_ptr<wave> wave_;
};

QTEST_MAIN(TestJobLoad)
#include "test_jobload.moc"
