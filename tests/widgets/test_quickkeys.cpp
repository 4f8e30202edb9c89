// The main screen's command keys against a scripted controller. Faults caught: a picture or
// roller key that sends the wrong datagram, sends while the machine runs, or lights on the
// press instead of on the controller's answer (refused carrier switch, unanswered command);
// skip rows that checks in the wrong order or sends what it should refuse; a stop row kept
// without the controller's answer; quick-function pages whose start needle does not reach the
// job or the backup, a backup written when nothing changed, a backup or .wrk save failing
// silently, a .wrk written without a job; a page that leaves memory held each time it is opened and closed.
#include "mainscreeninternals.h"
#include "modaldriver.h"
#include "residentsize.h"
#include "simprocess.h"
#include "testbytes.h"
#include "testroot.h"
#include "udppeer.h"

#include "data/machinedata.h"
#include "machinetests/controllertestmenu.h"
#include "mainwin/labelmessage.h"
#include "mainwin/mainscreen.h"
#include "platform/atomicfile.h"
#include "platform/panelenv.h"
#include "platform/panelpaths.h"
#include "ui/quickpages.h"
#include "ui/skinbutton.h"

#include <QTest>

#include <atomic>
#include <memory>

namespace {

// A quick function's page that only does what its test asks for.
struct PageDouble : QDialog {
    std::function<void()> act;
    int exec() override { act(); return Accepted; }
};

// A key pressed with the option byte preset, the controller running or not and answering reply
// (-1: not at all) -> the datagram after the status query ("" none) and whether the key is lit.
struct KeyCase { Qt::Key key; int preset; bool running; int reply; const char *sent; bool lit; int row = 3; };

// Skip rows (key 0) or stop row (key 9): typed is null when no input is asked for.
struct SkipCase { int lock, atZero; QString typed; bool running; QStringList shown; const char *sent; Qt::Key key = Qt::Key_0; };

// newNeedle: set by the page in system block word 0 (-1 leaves it); jobNeedle: word 776 of the
// job's .wrk afterwards (-1: no file); backup: whether para/checksystem.sys was written.
struct PageCase { Qt::Key key; bool job, pattern; int newNeedle; bool changed; QStringList shown; int jobNeedle; bool backup; };

} // namespace

Q_DECLARE_METATYPE(KeyCase)
Q_DECLARE_METATYPE(SkipCase)
Q_DECLARE_METATYPE(PageCase)

class TestQuickKeys : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        qputenv("KNIT_TIMEOUT_SCALE", "0.05");
        SimProcess sim;
        QVERIFY2(sim.start(), qPrintable(sim.error()));
        QVERIFY(sim.command(QStringLiteral("set job")));
        ModalDriver driver;
        driver.pressOk().pressOk().pressOk();
        w_ = std::make_unique<MainScreen>(machine_, &pages_);
        w_->start();
        sim.stop();
    }
    void cleanupTestCase() { w_.reset(); }
    void init()
    {
        // The controller is the test's: it answers the status query with running_ and an action
        // with reply_ (-1: no answer).
        peer_.stop();
        QVERIFY(peer_.start(PanelEnv::port(2800), [this](const QByteArray &r) {
            QByteArray a = r;
            const int value = quint8(r.isEmpty() ? 0 : r[0]) == 0x26 ? int(running_) : reply_.load();
            a[8] = char(value & 0xff);
            a[9] = char(value >> 8);
            return value < 0 ? std::vector<UdpPeer::Answer>{} : std::vector<UdpPeer::Answer>{{a}};
        }));
    }

    void keys_data()
    {
        QTest::addColumn<KeyCase>("c");
        const char *speedOn = "2a 41 00 00 1b 01 01 00 01 00 55 00";
        QTest::addRow("speed on") << KeyCase{Qt::Key_C, 0, false, 0, speedOn, true};
        QTest::addRow("speed while running") << KeyCase{Qt::Key_C, 0, true, 0, "", false};
        QTest::addRow("speed unanswered") << KeyCase{Qt::Key_C, 0, false, -1, speedOn, false};
        QTest::addRow("lock at row 3") << KeyCase{Qt::Key_B, 0, false, 0, "2a 41 00 00 1b 01 02 00 01 00 55 00", true};
        QTest::addRow("no lock at row 4") << KeyCase{Qt::Key_B, 0, false, 0, "", false, 4};
        QTest::addRow("unlock") << KeyCase{Qt::Key_B, 1, false, 0, "2a 41 00 00 1b 01 02 00 00 00 55 00", false, 4};
        QTest::addRow("piece") << KeyCase{Qt::Key_D, 0, false, 0, "2a 41 00 00 1b 01 03 00 01 00 55 00", true};
        QTest::addRow("error disable off") << KeyCase{Qt::Key_E, 1, false, 0, "2a 41 00 00 1b 01 05 00 00 00 55 00", false};
        QTest::addRow("carrier taken") << KeyCase{Qt::Key_F, 0, false, 1, "2a 41 00 00 1b 01 04 00 01 00 55 00", true};
        QTest::addRow("carrier refused") << KeyCase{Qt::Key_F, 0, false, 0, "2a 41 00 00 1b 01 04 00 01 00 55 00", false};
        QTest::addRow("rollers forward") << KeyCase{Qt::Key_Up, 0, false, 0, "2a 41 00 00 1b 01 11 00 00 00 55 00", false};
        QTest::addRow("rollers backward") << KeyCase{Qt::Key_Down, 0, false, 0, "2a 41 00 00 1b 01 10 00 00 00 55 00", false};
        QTest::addRow("rollers while running") << KeyCase{Qt::Key_Down, 0, true, 0, "", false};
    }
    void keys()
    {
        QFETCH(KeyCase, c);
        // The option byte behind each picture key A-F.
        const int byte = c.key >= Qt::Key_A && c.key <= Qt::Key_F ? QList<int>{0, 2, 1, 3, 5, 4}[c.key - Qt::Key_A] : -1;
        machine_.controllerState().clear();
        machine_.controllerState().setWord(3, c.row);
        machine_.controllerState().setByte(std::size_t(byte), quint8(c.preset));
        w_->paintQuickKeys();
        running_ = c.running;
        reply_ = c.reply;
        QTest::keyClick(w_.get(), c.key);
        QCOMPARE(actionSent(), QString::fromLatin1(c.sent));
        if (byte >= 0) {
            QCOMPARE(MainScreenInternals::pictureKey(*w_, c.key - Qt::Key_A)->activeState(), c.lit);
            QCOMPARE(machine_.controllerState().byte(std::size_t(byte)) != 0, c.lit);
        }
    }

    void skipRows_data()
    {
        QTest::addColumn<SkipCase>("c");
        const QString ask = QStringLiteral("请输入跳行行数");
        QTest::addRow("locked, even running") << SkipCase{1, 1, QString(), true, {"已经锁行,无法进行跳行操作 !"}, ""};
        QTest::addRow("zeroing") << SkipCase{0, 0, QString(), false, {"系统开始归零, 不能跳行 !"}, ""};
        QTest::addRow("empty") << SkipCase{0, 1, "", false, {ask}, ""};
        QTest::addRow("not a number") << SkipCase{0, 1, "abc", false, {ask}, ""};
        QTest::addRow("zero before running") << SkipCase{0, 1, "0", true, {ask, "跳行行数不能为 0 行"}, ""};
        QTest::addRow("last row") << SkipCase{0, 1, "120", false, {ask}, "2a 41 00 00 1b 01 08 00 78 00 55 00"};
        QTest::addRow("past the last row") << SkipCase{0, 1, "121", false, {ask, "跳行超过文件总行数"}, ""};
        QTest::addRow("running") << SkipCase{0, 1, "7", true, {ask, "系统正在运行, 不能跳行 !"}, ""};
        const QString stop = QStringLiteral("请输入指定停车行行数");
        QTest::addRow("stop row erased") << SkipCase{0, 1, "\b", false, {stop}, "", Qt::Key_9};
        QTest::addRow("stop row") << SkipCase{0, 1, "300", false, {stop}, "2a 41 00 00 1b 01 09 00 2c 01 55 00", Qt::Key_9};
        QTest::addRow("stop row running") << SkipCase{0, 1, "300", true, {stop, "系统正在运行, 不能设置 !"}, "", Qt::Key_9};
    }
    void skipRows()
    {
        QFETCH(SkipCase, c);
        machine_.controllerState().clear();
        machine_.controllerState().setByte(2, quint8(c.lock));
        machine_.controllerState().setByte(0, quint8(c.atZero));
        machine_.controllerState().setWord(4, 120);
        machine_.runSettings().setWord(1, 55);
        running_ = c.running;
        reply_ = 0;
        MainScreenInternals::labelMessage(*w_)->cancelMessage();
        ModalDriver driver;
        if (!c.typed.isNull())
            driver.typeAndReturn(c.typed);
        QTest::keyClick(w_.get(), c.key);
        QCOMPARE(driver.texts, c.shown);
        QCOMPARE(actionSent(), QString::fromLatin1(c.sent));
        const bool skipped = *c.sent && c.key == Qt::Key_0;
        QCOMPARE(w_->firstMessage(), skipped ? QStringLiteral("启动拉杆,开始跳行归零. ") : QString());
        // The stop row is kept only once the controller took it.
        QCOMPARE(int(machine_.runSettings().word(1)), *c.sent && !skipped ? 300 : 55);
    }

    // Around the pages of quick functions 1 and 2: hand-over, saves and the system backup.
    void pages_data()
    {
        QTest::addColumn<PageCase>("c");
        const char *failedWrk = "没有编织文件, 请先设置编织文件 !";
        QTest::addRow("2 changes the needle") << PageCase{Qt::Key_2, true, false, 9, false, {}, 9, true};
        QTest::addRow("2 changes nothing") << PageCase{Qt::Key_2, true, false, -1, false, {}, -1, false};
        QTest::addRow("2 without a job") << PageCase{Qt::Key_2, false, false, 9, false, {}, -1, true};
        QTest::addRow("2 backup fails") << PageCase{Qt::Key_2, true, false, 9, false, {failedWrk, "保存系统备份参数失败, 请重试 !"}, -1, false};
        QTest::addRow("1 saves a changed job") << PageCase{Qt::Key_1, true, true, -1, true, {}, 4, false};
        QTest::addRow("1 without a pattern") << PageCase{Qt::Key_1, true, false, 9, true, {"没有编织文件 , 请先设置编织文件 !"}, -1, false};
    }
    void pages()
    {
        QFETCH(PageCase, c);
        const QString jobDir = PanelPaths::data(QStringLiteral("/wave/J1/"));
        const QString backup = PanelPaths::data(QStringLiteral("/para/checksystem.sys"));
        QDir(PanelPaths::data(QStringLiteral("/wave"))).removeRecursively();
        QFile::remove(backup);
        QDir().mkpath(jobDir);
        QVERIFY(!c.pattern || TestBytes::writeFile(jobDir + "J1.pat", "p"));
        machine_.setJobName(c.job ? QStringLiteral("J1") : QString());
        machine_.work().setWord(776, 4);
        machine_.system().setWord(0, 4);
        int runs = 0;
        const auto page = [&](QWidget *) {
            auto *d = new PageDouble;
            d->act = [&] {
                ++runs;
                if (c.newNeedle >= 0)
                    machine_.system().setWord(0, quint16(c.newNeedle));
            };
            d->setProperty("changed", c.changed ? 1 : 0);
            return d;
        };
        pages_.provide(QuickPages::JobParams, page);
        pages_.provide(QuickPages::FrequentSettings, page);
        // A full disk: the job's and the backup's saves both fail.
        AtomicFile::setWriteLimitForTesting(c.shown.size() == 2 ? 0 : -1);
        ModalDriver driver;
        QTest::keyClick(w_.get(), c.key);
        AtomicFile::setWriteLimitForTesting(-1);
        QCOMPARE(driver.texts, c.shown);
        QCOMPARE(runs, c.pattern || c.key == Qt::Key_2 ? 1 : 0);
        const QByteArray wrk = TestBytes::readFile(jobDir + "J1.wrk");
        QCOMPARE(wrk == "<missing>" ? -1 : int(quint8(wrk[1552]) | quint8(wrk[1553]) << 8), c.jobNeedle);
        QVERIFY(!QFile::exists(PanelPaths::data(QStringLiteral("/wave/.wrk"))));
        QCOMPARE(TestBytes::readFile(backup), c.backup ? machine_.system().toByteArray() : QByteArray("<missing>"));
    }

    // The page that grew most (4 MiB over 20 opens), opened and closed 20 times after a first:
    // what it leaves must stay within 1 MiB.
    void pageOpenedAgainHoldsNoMore()
    {
        long first = -1;
        for (int i = 0; i <= 20; ++i) {
            std::unique_ptr<QDialog> page(new ControllerTestMenu(machine_, w_.get()));
            page->show();
            page->grab();
            page.reset();
            QCoreApplication::processEvents();
            if (i == 0)
                first = residentKiB();
        }
        QVERIFY(first > 0);
        QCOMPARE_LT(residentKiB() - first, 1024L);
    }

private:
    QString actionSent()
    {
        QList<QByteArray> got = peer_.received();
        got.removeIf([](const QByteArray &d) { return quint8(d.isEmpty() ? 0 : d[0]) == 0x26; });
        return got.isEmpty() ? QString() : QString::fromLatin1(got.constLast().toHex(' '));
    }

    TestRoot root_;
    MachineData machine_;
    QuickPages pages_;
    std::unique_ptr<MainScreen> w_;
    UdpPeer peer_;
    std::atomic<bool> running_{false};
    std::atomic<int> reply_{0};
};

QTEST_MAIN(TestQuickKeys)
#include "test_quickkeys.moc"
