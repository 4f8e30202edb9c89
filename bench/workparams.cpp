// The work-parameter pages and the .wrk browser in-process against knitsim on loopback, median
// of 7 each: the dialog built and opened to its first cell focused, as each opening does;
// Page Down on the density page repainted; one confirmed cell (4 round trips); "M" on the
// speed page (33 round trips, the question answered at once); the browser opened with its five
// views printed; an import from the stick into the loaded job (copy, TFTP put, load, copy).
// Prints; never fails.
#include "portoffset.h"
#include "simprocess.h"
#include "testbytes.h"
#include "testroot.h"

#include "data/machinedata.h"
#include "link/commands.h"
#include "ui/beepingtabwidget.h"
#include "ui/celledit.h"
#include "ui/messagedialog.h"
#include "ui/questiondialog.h"
#include "workparams/jobparamsdialog.h"
#include "workparams/workfilebrowser.h"
#include "workparams/workgrid.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int kRuns = 7;

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? -1 : v[v.size() / 2];
}

double msSince(const QElapsedTimer &t)
{
    return double(t.nsecsElapsed()) / 1e6;
}

void print(const char *what, double ms, double goal)
{
    std::printf("%s: median of %d %.2f ms (goal <= %.0f, ratio %.2f)\n", what, kRuns, ms, goal, ms / goal);
}

// Runs action while a poller answers what opens: step gets the modal widget and the time so far
// and returns true once the measurement is over.
double timed(const std::function<void()> &action, const std::function<bool(QWidget *, double)> &step)
{
    QElapsedTimer t;
    bool done = false;
    QTimer poll;
    poll.setInterval(0);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (QWidget *m = QApplication::activeModalWidget(); m && !done)
            done = step(m, msSince(t));
    });
    double ms = -1;
    poll.start();
    t.start();
    action();
    ms = msSince(t);
    return ms;
}

// The dialog run until the first cell of its first tab has the focus, then closed.
double openParams(JobParamsDialog *dialog)
{
    double focused = -1;
    auto *first = dialog->tabs()->widget(0)->findChild<CellEdit *>();
    timed([&] { dialog->exec(); }, [&](QWidget *m, double ms) {
        if (m == dialog && QApplication::focusWidget() == first) {
            focused = ms;
            dialog->reject();
            return true;
        }
        return false;
    });
    return focused;
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
        std::printf("bench_workparams: knitsim did not start: %s\n", qPrintable(why));
        return 0;
    }
    MachineData machine;
    machine.system().setWord(5, 1200);
    machine.system().setWord(58, 624);

    // The main screen builds the pages at each opening: the goal of an opening is the build's too.
    std::vector<double> opened;
    for (int i = 0; i < kRuns; ++i) {
        QElapsedTimer t;
        t.start();
        auto *dialog = new JobParamsDialog(machine);
        const double built = msSince(t);
        opened.push_back(built + openParams(dialog));
        delete dialog;
    }
    print("para built and opened to its first cell focused", median(opened), 30);

    JobParamsDialog dialog(machine);
    dialog.show();
    QTest::qWait(50);
    auto *density = qobject_cast<WorkGrid *>(dialog.tabs()->widget(0));
    std::vector<double> turn, cell;
    for (int i = 0; i < kRuns; ++i) {
        QElapsedTimer t;
        t.start();
        QTest::keyClick(density->cell(0, 0), i % 2 ? Qt::Key_PageUp : Qt::Key_PageDown);
        density->grab();
        turn.push_back(msSince(t));
    }
    print("Page Down on density, page repainted", median(turn), 16);
    for (int i = 0; i < kRuns; ++i) {
        density->cell(0, 0)->setText(QString::number(100 + i % 2));
        QElapsedTimer t;
        t.start();
        QTest::keyClick(density->cell(0, 0), Qt::Key_Enter, Qt::KeypadModifier);
        cell.push_back(msSince(t));
    }
    print("one cell confirmed (4 round trips)", median(cell), 5);
    std::vector<double> trip;
    for (int i = 0; i < kRuns; ++i) {
        QElapsedTimer t;
        t.start();
        queryCarriageStatus();
        trip.push_back(msSince(t));
    }
    std::printf("  one bare round trip (queryCarriageStatus): median of %d %.2f ms\n", kRuns, median(trip));

    dialog.showTabB();
    QTest::qWait(50);
    auto *speed = qobject_cast<WorkGrid *>(dialog.tabs()->widget(1));
    std::vector<double> whole;
    for (int i = 0; i < kRuns; ++i) {
        speed->cell(0, 0)->setText(QString::number(40 + i % 2));
        whole.push_back(timed([&] { QTest::keyClick(speed->cell(0, 0), Qt::Key_M); }, [](QWidget *m, double) {
            if (auto *question = qobject_cast<QuestionDialog *>(m))
                question->accept();
            return false;
        }));
    }
    print("M on speed, question answered at once (33 round trips)", median(whole), 40);
    dialog.reject();

    const QString wrk = root.file(QStringLiteral("/mnt/ide/knit/wave/B1/B1.wrk"));
    QDir().mkpath(QFileInfo(wrk).path());
    TestBytes::writeFile(wrk, QByteArray(1556, '\1'));
    std::vector<double> browse;
    for (int i = 0; i < kRuns; ++i) {
        QElapsedTimer t;
        t.start();
        WorkFileBrowser browser(machine, 1, wrk);
        browser.show();
        browser.showSpeedPage();
        browser.showRollersPage();
        browser.showParkingPage();
        browser.showReplacementPage();
        browser.grab();
        browse.push_back(msSince(t));
    }
    print("browser opened, five views printed", median(browse), 30);

    TestBytes::writeFile(root.file("/dev/scsi/host0/bus0/target0/lun0/part1"), {});
    QDir().mkpath(root.file("/mnt/usb"));
    TestBytes::writeFile(root.file("/mnt/usb/new.wrk"), QByteArray(1556, '\2'));
    machine.setJobName(QStringLiteral("B1"));
    std::vector<double> imports;
    for (int i = 0; i < kRuns; ++i) {
        WorkFileBrowser browser(machine, 1, wrk);
        double imported = -1;
        bool picked = false;
        timed([&] { browser.importWorkFromStick(); }, [&](QWidget *m, double ms) {
            if (auto *list = m->findChild<QTreeWidget *>(QStringLiteral("list_dir")); list && !picked) {
                const auto found = list->findItems(QStringLiteral("new.wrk"), Qt::MatchExactly, 0);
                if (found.isEmpty())
                    return false;
                picked = true;
                list->setCurrentItem(found.first());
                QMetaObject::invokeMethod(m->findChild<QAbstractButton *>(QStringLiteral("Benter")), &QAbstractButton::click,
                                          Qt::QueuedConnection);
            } else if (auto *message = qobject_cast<MessageDialog *>(m)) {
                imported = ms;
                message->accept();
                return true;
            }
            return false;
        });
        imports.push_back(imported);
    }
    print("import from the stick into the loaded job (stick browser shown, copy, TFTP put, load, copy)", median(imports), 200);
    return 0;
}
