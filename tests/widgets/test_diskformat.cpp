// The formatting pages' chains, read from the system actions they ran and the disk they left.
// Faults caught: a step run out of order, without its pause or with the wrong device (one
// partition, several, the flash disk); the formatting tool's failure taken for success; the
// buttons usable while a chain runs; a flash disk not mounted again or not given back its
// tools, pictures, parameters and Config.ini, a job folder that survives, stale parameters from
// an old save area restored; the repair not running the checking tool.
#include "modaldriver.h"
#include "testbytes.h"
#include "testroot.h"

#include "files/flashdiskformatdialog.h"
#include "files/stickformatdialog.h"
#include "platform/emulatedmedia.h"
#include "platform/nativefs.h"
#include "platform/systemactions.h"

#include <QElapsedTimer>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

using TestBytes::writeFile;

namespace {

const QString kStick = QStringLiteral("/dev/scsi/host0/bus0/target0/lun0/");
const QString kFlash = QStringLiteral("/dev/ide/host0/bus0/target1/lun0/part1");

} // namespace

class TestDiskFormat : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        for (const char *tool : {"mkdosfs", "dosfsck"})
            QVERIFY(writeFile(r("/mnt/ide/knit/tools/") + tool, "tool"));
    }

    void stick()
    {
        QVERIFY(writeFile(r(kStick + "disc"), {}) && writeFile(r(kStick + "part1"), {}) && QDir().mkpath(r("/mnt/usb")));
        QVERIFY(AtomicFile::saveNative(QFile::encodeName(r("/mnt/usb/")) + "\xb2\xe2.cnt", "x"));
        StickFormatDialog page;
        const QStringList log = run(page, Qt::Key_E, 6);
        QCOMPARE(log.mid(0, 6), QStringList({"创建格式化工具............成功 !", "卸载U盘模块............成功 !", "重新加载U盘模块............成功 !",
                                             "正在格式化U盘, 请等待 !", "格式化U盘模块............成功 !", ""}));
        QVERIFY2(log.value(6).contains(kCapacity), qPrintable(log.value(6)));
        const QString umount = "umount " + r("/mnt/usb");
        const QString insmod = "insmod " + r("/usr/driver/usb-storage.o");
        QCOMPARE(SystemActions::recorded(), QStringList({umount, "rmmod usb-storage", insmod, r("/tmp/mkdosfs -v -F 32 ") + r(kStick + "part1"), umount,
                                                         "rmmod usb-storage", insmod, "mount -t vfat -o codepage=936,iocharset=cp936 " + r(kStick + "part1 ") + r("/mnt/usb"),
                                                         umount, "rmmod usb-storage"}));
        QVERIFY(NativeFs::names(QFile::encodeName(r("/mnt/usb"))).isEmpty());

        // Two partitions: the whole stick, whose node is missing here, so the tool fails.
        QVERIFY(QFile::remove(r(kStick + "disc")) && writeFile(r(kStick + "part2"), {}));
        QCOMPARE(run(page, Qt::Key_E, 1).mid(3), QStringList({"正在格式化U盘, 请等待 !", "格式化U盘模块............失败 !"}));
        QVERIFY(SystemActions::recorded().contains(r("/tmp/mkdosfs -v -F 32 ") + r(kStick + "disc")));
    }

    void flashDisk()
    {
        for (const char *file : {"/image/desktop/1.bmp", "/para/management.bin", "/Config.ini", "/knit", "/wave/J1/J1.cnt"})
            QVERIFY(writeFile(r("/mnt/ide/knit") + file, file));
        QVERIFY(writeFile(r("/tmp/tmpknit/para/stale.sys"), "old")); // an earlier formatting's save
        const QStringList kept = TestBytes::listTree(r("/mnt/ide/knit")).filter(QRegularExpression("^(?!wave/J1)"));
        FlashDiskFormatDialog page;
        const QStringList log = run(page, Qt::Key_E, 6);
        QCOMPARE(log, QStringList({"创建格式化工具............成功 !", "正在复制需要保存的文件, 请不要作其它的操作, 请等候 ...... !",
                                   "卸载电子硬盘模块............成功 !", "正在格式化电子硬盘, 请等待 !", "正在保存参数,请稍候 ...... !", "",
                                   log.value(6), "部分容量为系统内部使用 !"}));
        QVERIFY(log.value(6).contains(kCapacity));
        const QString mount = "mount -t vfat -o codepage=936,iocharset=cp936 " + r(kFlash) + ' ' + r("/mnt/ide");
        QCOMPARE(SystemActions::recorded(), QStringList({"umount " + r("/mnt/ide"), r("/tmp/mkdosfs -v -F 32 ") + r(kFlash), mount, mount}));
        QCOMPARE(TestBytes::listTree(r("/mnt/ide/knit")), kept);

        // The tool fails (no device): the disk is mounted and given back all the same.
        QVERIFY(writeFile(r("/mnt/ide/knit/wave/J2/J2.cnt"), "j2") && QFile::remove(r(kFlash)));
        const QStringList before = TestBytes::listTree(r("/mnt/ide/knit"));
        QCOMPARE(run(page, Qt::Key_E, 5).mid(4), QStringList({"正在保存参数,请稍候 ...... !", "格式化电子硬盘............失败 !"}));
        QVERIFY(EmulatedMedia::flashDiskMounted());
        QCOMPARE(TestBytes::listTree(r("/mnt/ide/knit")), before);

        QCOMPARE(run(page, Qt::Key_M, 1).mid(0, 3), QStringList({"正在电子硬盘数据, 请等待 !", "正在电子硬盘数据修复完毕 !", ""}));
        QCOMPARE(SystemActions::recorded(), QStringList({r("/tmp/dosfsck -v ") + r(kFlash)}));
    }

private:
    // Answers the page's question with Yes, checks the buttons stay off while the chain runs
    // and that it took its pauses, and gives its log.
    QStringList run(DiskFormatPage &page, Qt::Key key, int pauses)
    {
        SystemActions::clearRecorded();
        if (!shownActive(&page))
            return {"page not active"};
        ModalDriver driver;
        driver.pressOk();
        QElapsedTimer t;
        t.start();
        QTest::keyClick(&page, key);
        if (!page.running() || page.findChild<QPushButton *>(QStringLiteral("Bmenu"))->isEnabled())
            return {"no chain, or its buttons usable"};
        QTest::keyClick(&page, key); // ignored while it runs
        if (!QTest::qWaitFor([&] { return !page.running(); }, 10000) || t.elapsed() < 500 * pauses || driver.texts.size() != 1)
            return {"chain did not end in time, skipped a pause or asked twice"};
        return page.log();
    }
    QString r(const QString &path) const { return root_.path() + path; }

    const QRegularExpression kCapacity{QStringLiteral("^U盘容量: [0-9.]+ [KMG]     剩余容量: [0-9.]+ [KMG]$")};
    TestRoot root_;
};

QTEST_MAIN(TestDiskFormat)
#include "test_diskformat.moc"
