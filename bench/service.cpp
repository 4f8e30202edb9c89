// The system tools in-process: each page of the more menu built and painted as its key builds
// it; a restore of the disk backup against knitsim, Yes to the success message; an 8 MiB panel
// program staged, checked and installed beside a plain cp + sync of the same file; a 1 MiB
// controller image uploaded to knitsim; the time page's CPU while it only ticks its clock.
// Medians of several runs. Prints; never fails.
#include "menuchoice.h"
#include "modaldriver.h"
#include "portoffset.h"
#include "simprocess.h"
#include "testbytes.h"
#include "testroot.h"

#include "data/defaultblocks.h"
#include "data/machinedata.h"
#include "logic/service/systembackup.h"
#include "pages/panelpages.h"
#include "params/systemtoolsmenu.h"
#include "platform/fsops.h"
#include "platform/programinstaller.h"
#include "service/clockframe.h"
#include "service/desktopsettingsframe.h"
#include "service/parambackupframe.h"
#include "service/softwareupdateframe.h"
#include "ui/quickpages.h"
#include "ui/transferdialog.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

#include <sys/resource.h>

namespace {

constexpr int kRuns = 5;

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? -1 : v[v.size() / 2];
}

double timed(const std::function<void()> &work)
{
    QElapsedTimer t;
    t.start();
    work();
    return double(t.nsecsElapsed()) / 1e6;
}

double medianOf(const std::function<void()> &work)
{
    std::vector<double> v;
    for (int run = 0; run < kRuns; ++run)
        v.push_back(timed(work));
    return median(v);
}

void print(const char *what, double value, double goal)
{
    std::printf("%s: median %.1f ms (goal under %.0f ms, ratio %.2f)\n", what, value, goal, value / goal);
}

double cpuSeconds()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// The time from an item of the more page chosen to the page it opens shown and drawn whole;
// the page is then closed.
class PaintProbe : public QObject
{
public:
    QElapsedTimer clock;
    const QMetaObject *page = nullptr;
    double took = -1;

    bool eventFilter(QObject *o, QEvent *e) override
    {
        if (e->type() == QEvent::Show && took < 0 && o->metaObject() == page) {
            auto *dialog = static_cast<QDialog *>(o);
            dialog->grab(); // the whole page drawn, its children too
            took = double(clock.nsecsElapsed()) / 1e6;
            QTimer::singleShot(0, dialog, &QDialog::reject);
        }
        return false;
    }
};

} // namespace

int main(int argc, char **argv)
{
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("KNIT_BUZZER", "off");
    QApplication app(argc, argv);
    TestRoot root;
    MachineData machine;
    initSystemParams(machine);

    {
        QuickPages registered;
        PanelPages::provide(registered, machine);
        SystemToolsMenu menu(machine, registered);
        menu.show();
        ModalDriver driver;
        driver.typeAndReturn(QStringLiteral("7063"));
        chooseShown(menu.menu(), QStringLiteral("F8.更多系统工具菜单"));
        if (menu.page() != SystemToolsMenu::More)
            std::printf("the more page did not open\n");
        PaintProbe probe;
        app.installEventFilter(&probe);
        const struct
        {
            const char *item;
            const QMetaObject *page;
        } pages[] = {{"3.系统参数导入导出和初始化", &ParamBackupFrame::staticMetaObject},
                     {"4.系统时间修改", &ClockFrame::staticMetaObject},
                     {"5.桌面属性设置", &DesktopSettingsFrame::staticMetaObject},
                     {"7.系统软件升级", &SoftwareUpdateFrame::staticMetaObject}};
        for (const auto &p : pages) {
            probe.page = p.page;
            std::vector<double> v;
            for (int run = 0; run < kRuns; ++run) {
                probe.took = -1;
                probe.clock.start();
                chooseShown(menu.menu(), QString::fromUtf8(p.item)); // what a touch on the item runs
                v.push_back(probe.took);
            }
            print(qPrintable(QStringLiteral("key to %1 shown").arg(QLatin1String(probe.page->className()))), median(v), 50);
        }
        app.removeEventFilter(&probe);
    }

    PortOffset::useFree();
    SimProcess sim;
    QString why;
    if (!sim.start(&why)) {
        std::printf("knitsim did not start: %s\n", qPrintable(why));
        return 0;
    }
    TestBytes::writeFile(SystemBackup::diskBackup(), QByteArray(404, '\x05'));
    {
        ParamBackupMenu page(machine);
        ModalDriver driver;
        std::vector<double> v;
        for (int run = 0; run < kRuns; ++run) {
            QElapsedTimer t;
            double took = -1;
            driver.inspect([&](QWidget *) { t.start(); }).pressOk();
            driver.inspect([&](QWidget *) { took = double(t.nsecsElapsed()) / 1e6; }).pressOk();
            page.restoreFromDisk();
            v.push_back(took);
        }
        print("disk restore, Yes to the success message", median(v), 150);
    }

    // An 8 MiB program: this machine's program padded after its section table.
    QByteArray program = TestBytes::readFile(QStringLiteral(KNITJOB_PATH));
    program.append(QByteArray(8 * 1024 * 1024 - program.size(), '\0'));
    const QString stick = root.file("/mnt/usb/knit");
    const QString target = root.file("/mnt/ide/knit/knit");
    TestBytes::writeFile(stick, program);
    const double cp = medianOf([&] {
        QProcess::execute(QStringLiteral("cp"), {stick, root.file("/mnt/ide/knit/knit.cp")});
        QProcess::execute(QStringLiteral("sync"), {});
    });
    int failed = 0;
    const double installed = medianOf([&] {
        const QString staged = target + ".new";
        if (!FsOps::copyFile(stick, staged)
            || ProgramInstaller::install(QFile::encodeName(stick), staged, target) != ProgramInstaller::Installed)
            ++failed;
    });
    std::printf("8 MiB panel program: cp + sync %.1f ms, staged, checked and installed %.1f ms "
                "(speed %.0f %% of cp + sync, goal at least 30 %%)%s\n",
                cp, installed, 100.0 * cp / installed, failed ? ", SOME INSTALLS FAILED" : "");

    const QString image = root.file("/tmp/master.bin");
    TestBytes::writeFile(image, QByteArray(1024 * 1024, '\x5a'));
    print("1 MiB controller image uploaded", medianOf([&] {
              if (!TransferDialog::putFile(image))
                  ++failed;
          }),
          1000);

    ClockFrame page(nullptr);
    page.show();
    const double cpu0 = cpuSeconds();
    QElapsedTimer wall;
    wall.start();
    // An event loop of its own: QTest::qWait polls every few milliseconds and would be measured.
    QEventLoop idle;
    QTimer::singleShot(5000, &idle, &QEventLoop::quit);
    idle.exec();
    const double share = 100.0 * (cpuSeconds() - cpu0) / (double(wall.elapsed()) / 1000.0);
    std::printf("time page idle: %.2f %% of a core (goal under 0.5 %%, ratio %.2f)\n", share, share / 0.5);
    return 0;
}
