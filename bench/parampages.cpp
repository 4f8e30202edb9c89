// The parameter pages in-process against knitsim on loopback, median of 10 each: from a menu
// choice (its password given at once) to the page's first cell focused; from Enter on a cell to
// the cell redrawn, beyond the datagram's own round trip; the process's CPU with the system
// page open while knitsim knits and sends needle reports at 25 a second; the median of each
// file the pages save. Prints; never fails.
#include "menuchoice.h"
#include "portoffset.h"
#include "simprocess.h"
#include "testroot.h"

#include "data/configrecord.h"
#include "data/densitybackup.h"
#include "data/machinedata.h"
#include "data/carrierspeedtable.h"
#include "data/panelfiles.h"
#include "link/commands.h"
#include "link/statuschannel.h"
#include "pages/panelpages.h"
#include "params/systemparamframe.h"
#include "params/systemtoolsmenu.h"
#include "platform/panelpaths.h"
#include "ui/celledit.h"
#include "ui/quickpages.h"
#include "ui/textinputdialog.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTest>
#include <QTimer>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? -1 : v[v.size() / 2];
}

double msSince(const QElapsedTimer &t)
{
    return double(t.nsecsElapsed()) / 1e6;
}

double cpuSeconds()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// Milliseconds from the menu choice to the first cell of its page focused; the password is
// typed as soon as its question shows, and the page closed once measured.
double timeChoice(SystemToolsMenu &menu, const char *item, const char *password)
{
    QElapsedTimer t;
    double shown = -1;
    QTimer poll;
    poll.setInterval(0);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget *m = QApplication::activeModalWidget();
        if (auto *input = qobject_cast<TextInputDialog *>(m)) {
            input->lineEdit()->setText(QLatin1String(password));
            input->accept();
        } else if (auto *frame = qobject_cast<ParamFrame *>(m)) {
            if (frame->focusWidget() == frame->grid()->cell(0, 0) && shown < 0) {
                shown = msSince(t);
                frame->reject();
            }
        }
    });
    poll.start();
    t.start();
    chooseShown(menu.menu(), QString::fromUtf8(item));
    return shown;
}

double timeSave(const std::function<bool()> &save)
{
    std::vector<double> runs;
    for (int i = 0; i < 10; ++i) {
        QElapsedTimer t;
        t.start();
        if (!save())
            return -1;
        runs.push_back(msSince(t));
    }
    return median(runs);
}

} // namespace

int main(int argc, char **argv)
{
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("KNIT_BUZZER", "off");
    QApplication app(argc, argv);
    TestRoot root;
    PortOffset::useFree();
    SimProcess sim;
    QString why;
    if (!sim.start(&why)) {
        std::printf("bench_parampages: knitsim did not start: %s\n", qPrintable(why));
        return 0;
    }
    sim.command(QStringLiteral("set racking 0"));
    MachineData machine;
    machine.system().setWord(58, 624);

    QuickPages pages;
    PanelPages::provide(pages, machine);
    SystemToolsMenu menu(machine, pages);
    menu.show();
    const struct
    {
        const char *item;
        bool more;
        double goal;
    } choices[] = {{"1.工作参数设置", false, 50}, {"2.系统参数设置", false, 50}, {"3.密度电机修正", false, 50},
                   {"4.不工作密度设置", false, 50}, {"5.摇床位置修正", false, 50}, {"1.机头加减速类型设置", true, 50},
                   {"2.机器个性化参数设置", true, 100}, {"F1.纱嘴停放与机头速度对照表", true, 50}};
    for (const auto &c : choices) {
        if (c.more != (menu.page() == SystemToolsMenu::More))
            timeChoice(menu, c.more ? "F8.更多系统工具菜单" : "F8.常用系统工具菜单", "7063");
        std::vector<double> runs;
        for (int i = 0; i < 10; ++i)
            runs.push_back(timeChoice(menu, c.item, "7063"));
        std::printf("%s: choice to first cell focused, median of 10 %.2f ms (goal <= %.0f, ratio %.2f)\n", c.item,
                    median(runs), c.goal, median(runs) / c.goal);
    }

    // Enter on 纱嘴下落提前量 (1, 0), against the bare datagram's round trip.
    SystemParamFrame frame(machine);
    frame.show();
    QTest::qWait(50);
    frame.page()->moveTo(1, 0);
    std::vector<double> trip, enter;
    for (int i = 0; i < 10; ++i) {
        QElapsedTimer t;
        t.start();
        setParameter(0x22, 0, 10, 40);
        trip.push_back(msSince(t));
        CellEdit *cell = frame.page()->cell(1, 0);
        cell->setText(QString::number(41 + i % 2));
        t.restart();
        QTest::keyClick(cell, Qt::Key_Enter, Qt::KeypadModifier);
        cell->grab();
        enter.push_back(msSince(t));
    }
    std::printf("Enter to cell redrawn: median %.2f ms, round trip alone %.2f ms, beyond it %.2f ms (goal <= 2, ratio %.2f)\n",
                median(enter), median(trip), median(enter) - median(trip), (median(enter) - median(trip)) / 2.0);

    // Knitting for its needle reports (every 40 ms) while the system page shows them.
    StatusChannel channel(machine);
    channel.setTraceStream(nullptr);
    channel.open();
    QProcess::execute(QStringLiteral(KNITJOB_PATH), {"make", "B1", "--dir", sim.file("jobs"), "--rows", "400", "--width", "200", "--height", "20"});
    QFile::copy(sim.file("jobs/B1/B1.cnt"), sim.file("B1.cnt"));
    sim.command(QStringLiteral("start B1"));
    QTest::qWait(500);
    const quint64 reports = channel.needleReports();
    const double cpu = cpuSeconds();
    QElapsedTimer wall;
    wall.start();
    QTest::qWait(5000);
    const double share = (cpuSeconds() - cpu) / (double(wall.elapsed()) / 1000.0) * 100.0;
    std::printf("system page open, %.0f needle reports/s: CPU %.2f %% of a core (goal <= 1, ratio %.2f)\n",
                double(channel.needleReports() - reports) / (double(wall.elapsed()) / 1000.0), share, share);
    sim.command(QStringLiteral("stop"));
    frame.reject();

    ConfigRecord record;
    record.parse(QByteArray(int(kConfigCheckSize), '\1'));
    DensityBackup backup;
    const struct
    {
        const char *file;
        std::function<bool()> save;
    } saves[] = {
        {"para/checksystem.sys",
         [&machine] { return saveWholeFile(PanelPaths::data("/para/checksystem.sys"), machine.system().data(), kSystemSize) == 1; }},
        {"para/checkconfig.cfg", [&record] { return record.saveCheck(); }},
        {"para/densitybackup.bin", [&backup] { return backup.write(); }},
        {"para/speed.mth", [&machine] { return CarrierSpeedTable::save(machine); }},
    };
    for (const auto &s : saves) {
        const double ms = timeSave(s.save);
        std::printf("save of %s (atomic, then sync): median of 10 %.2f ms (goal <= 20, ratio %.2f)\n", s.file, ms, ms / 20.0);
    }
    return 0;
}
