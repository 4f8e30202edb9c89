// The main screen's keys, in-process against knitsim: a key press to the reply of its 0x2A
// datagram (after the status query), 200 presses of the speed key; how soon the skip-rows
// input, quick function 5's message and a quick function's page are shown after their key, and
// the main screen back after Escape; each real quick page built, shown and closed 20 times,
// the resident size after the 20th beside the first (goal within 1 MiB); key G to the stop
// reasons shown (goal < 150 ms); 2,000 presses of a panel keypad into a number field.
// (Idle CPU and memory of the panel process: bench_startup.) Prints; never fails.
#include "modaldriver.h"
#include "portoffset.h"
#include "residentsize.h"
#include "simprocess.h"
#include "testroot.h"

#include "data/machinedata.h"
#include "files/diskfilemanager.h"
#include "machinetests/controllertestmenu.h"
#include "mainwin/mainscreen.h"
#include "pages/panelpages.h"
#include "params/frequentsettingsframe.h"
#include "params/systemtoolsmenu.h"
#include "ui/paramkeys.h"
#include "ui/quickpages.h"
#include "workparams/jobparamsdialog.h"
#include "workparams/yarnfeederdialog.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTest>
#include <QThread>

#include <algorithm>
#include <functional>
#include <memory>
#include <cstdio>
#include <vector>

namespace {

double percentile(std::vector<double> v, double p)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? -1 : v[std::min(v.size() - 1, size_t(p * double(v.size())))];
}

// Milliseconds from the key to the first modal widget painted, and from Escape on it to the
// main screen painted again; -1 when no modal widget came.
struct Shown
{
    double shownMs = -1;
    double backMs = -1;
};

Shown timeModal(QWidget *screen, Qt::Key key)
{
    Shown out;
    QElapsedTimer t;
    QTimer poll;
    poll.setInterval(0);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget *m = QApplication::activeModalWidget();
        if (!m || !m->isVisible() || out.shownMs >= 0)
            return;
        m->grab(); // rendered, not only created
        out.shownMs = double(t.nsecsElapsed()) / 1e6;
        poll.stop();
        t.restart();
        QTest::keyClick(m->focusWidget() ? m->focusWidget() : m, Qt::Key_Escape);
    });
    poll.start();
    t.start();
    QTest::keyClick(screen, key);
    if (out.shownMs >= 0) {
        QCoreApplication::processEvents();
        screen->grab();
        out.backMs = double(t.nsecsElapsed()) / 1e6;
    }
    poll.stop();
    return out;
}

// Each quick page as the panel registers it, built, shown, painted and closed 20 times.
void quickPageFootprint(MachineData &m, QWidget *screen)
{
    QuickPages registered;
    PanelPages::provide(registered, m);
    const struct
    {
        const char *what;
        std::function<QDialog *(QWidget *)> make;
    } pages[] = {{"JobParamsDialog", [&m](QWidget *p) { return new JobParamsDialog(m, p); }},
                 {"YarnFeederDialog", [&m](QWidget *p) { return new YarnFeederDialog(m, p); }},
                 {"FrequentSettingsFrame", [&m](QWidget *p) { return new FrequentSettingsFrame(m, p); }},
                 {"DiskFileManager", [&m](QWidget *p) { return new DiskFileManager(m, p); }},
                 {"ControllerTestMenu", [&m](QWidget *p) { return new ControllerTestMenu(m, p); }},
                 {"SystemToolsMenu", [&m, &registered](QWidget *p) { return new SystemToolsMenu(m, registered, p); }}};
    for (const auto &page : pages) {
        long first = -1;
        for (int i = 0; i < 20; ++i) {
            std::unique_ptr<QDialog> d(page.make(screen));
            d->show();
            d->grab();
            d->close();
            d.reset();
            QCoreApplication::processEvents();
            if (i == 0)
                first = residentKiB();
        }
        const long last = residentKiB();
        std::printf("%s opened and closed 20 times: resident %ld KiB after the first, %ld KiB after the 20th (%+ld; goal within 1024)\n",
                    page.what, first, last, last - first);
    }
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
        std::printf("bench_quickkeys: knitsim did not start: %s\n", qPrintable(why));
        return 0;
    }
    root.writeReferences(sim.file(QStringLiteral("file.sys")), sim.file(QStringLiteral("config.cfg")));
    auto starting = std::make_unique<ModalDriver>(); // answers whatever start-up asks
    MachineData machine;
    QuickPages pages;
    MainScreen screen(machine, &pages);
    screen.start(); // the main screen's panels are built by start-up
    starting.reset();

    std::vector<double> press;
    for (int i = 0; i < 200; ++i) {
        QElapsedTimer t;
        t.start();
        QTest::keyClick(&screen, Qt::Key_C);
        press.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::printf("speed key to its answer, 200 presses: median %.2f ms (goal <= 5, ratio %.2f), 99th percentile %.2f ms (goal <= 20, ratio %.2f)\n",
                percentile(press, 0.5), percentile(press, 0.5) / 5.0, percentile(press, 0.99), percentile(press, 0.99) / 20.0);

    // A stand-in page, so a quick function has something to open.
    pages.provide(QuickPages::FrequentSettings, [](QWidget *parent) { return new QDialog(parent); });
    const struct
    {
        const char *what;
        Qt::Key key;
    } modal[] = {{"skip-rows input (key 0)", Qt::Key_0}, {"quick function 5's message", Qt::Key_5}, {"a quick function's page (key 2)", Qt::Key_2}};
    machine.controllerState().setByte(0, 1); // at zero and not locked, so skip rows asks for the row
    machine.controllerState().setByte(2, 0);
    for (const auto &m : modal) {
        std::vector<double> shown, back;
        for (int i = 0; i < 21; ++i) {
            const Shown s = timeModal(&screen, m.key);
            shown.push_back(s.shownMs);
            back.push_back(s.backMs);
        }
        std::printf("%s shown: median %.2f ms, main screen back after Escape: median %.2f ms (goal <= 30 ms each, ratios %.2f, %.2f)\n",
                    m.what, percentile(shown, 0.5), percentile(back, 0.5), percentile(shown, 0.5) / 30.0, percentile(back, 0.5) / 30.0);
    }

    // Key G while the machine stands (knitsim's from the start): the stop reasons open over the
    // main screen at once, without a loop of their own, so they are up when the key returns.
    std::vector<double> reasons;
    for (int i = 0; i < 21; ++i) {
        QElapsedTimer t;
        t.start();
        QTest::keyClick(&screen, Qt::Key_G);
        QWidget *dialog = QApplication::activeModalWidget();
        if (!dialog || !dialog->isVisible())
            break;
        dialog->grab();
        reasons.push_back(double(t.nsecsElapsed()) / 1e6);
        QTest::keyClick(dialog->focusWidget() ? dialog->focusWidget() : dialog, Qt::Key_Escape);
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    if (reasons.size() < 21)
        std::printf("key G: the stop reasons DID NOT OPEN (run %zu)\n", reasons.size() + 1);
    else
        std::printf("key G, the stop reasons shown, 21 runs: median %.2f ms (goal < 150, ratio %.2f)\n",
                    percentile(reasons, 0.5), percentile(reasons, 0.5) / 150.0);

    quickPageFootprint(machine, &screen);

    // The keypad of a number cell typing into a field that has the focus.
    QWidget page;
    page.resize(640, 480);
    QLineEdit field(&page);
    field.setMaxLength(4000);
    ParamKeys keypad(&page);
    keypad.showKeysForCell(7);
    page.show();
    page.activateWindow();
    field.setFocus();
    QTest::qWait(50);
    QString expected;
    QElapsedTimer t;
    t.start();
    for (int i = 0; i < 2000; ++i) {
        const int id = i % 10; // the digits 1-9 and 0
        keypad.postCellKey(id);
        expected += QChar(u'0' + (id + 1) % 10);
    }
    QCoreApplication::processEvents();
    const double seconds = double(t.nsecsElapsed()) / 1e9;
    std::printf("panel keypad, 2000 presses: %s, %.0f keys/s (goal >= 5000, ratio %.2f)\n",
                field.text() == expected ? "all arrived in order" : "LOST OR REORDERED", 2000 / seconds, 2000 / seconds / 5000.0);

    return 0;
}
