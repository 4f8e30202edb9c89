// The two editors in-process: F5 on a program of 8,190 rows to its first row shown, a Page
// Down on it with the page repainted, its save (fsync included); a page turn and one cursor
// step on a 1024 x 4000 pattern, the label repainted; a live whole-line fill of a 512-byte
// line against knitsim (open, 512 row commands, close and the status query). Medians of
// several runs. Prints; never fails.
#include "simprocess.h"
#include "testbytes.h"
#include "testroot.h"

#include "data/machinedata.h"
#include "editors/cntedit.h"
#include "editors/patedit.h"
#include "editors/patlabel.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

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

double timed(const std::function<void()> &work)
{
    QElapsedTimer t;
    t.start();
    work();
    return double(t.nsecsElapsed()) / 1e6;
}

void print(const char *what, const std::vector<double> &runs, double goal)
{
    const double value = median(runs);
    std::printf("%s: median %.3f ms (goal under %.0f ms, ratio %.2f)\n", what, value, goal, value / goal);
}

QByteArray pattern(int width, int height)
{
    QByteArray data(qsizetype(width / 2) * (height + 1), '\x5a');
    data[0] = char(width & 0xff), data[1] = char(width >> 8), data[2] = char(height & 0xff), data[3] = char(height >> 8);
    return TestBytes::withChecksum(data);
}

} // namespace

int main(int argc, char **argv)
{
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("KNIT_BUZZER", "off");
    QApplication app(argc, argv);
    TestRoot root;
    MachineData machine;
    const QString cnt = root.file("/big.cnt");
    const QString pat = root.file("/big.pat");
    TestBytes::writeFile(cnt, TestBytes::withChecksum(QByteArray(8191 * 128, '\x01')));
    TestBytes::writeFile(pat, pattern(1024, 4000));

    std::vector<double> open, pageDown, save;
    for (int i = 0; i < kRuns; ++i) {
        CntEdit *page = nullptr;
        open.push_back(timed([&] {
            page = new CntEdit(machine);
            page->setPath(cnt);
            page->show();
            (void)QTest::qWaitFor([&] { return !page->titleLine()->text().isEmpty(); }, 5000);
            page->repaint();
        }));
        pageDown.push_back(timed([&] {
            QTest::keyClick(page->fieldEdit(0, 0), Qt::Key_PageDown);
            page->repaint();
        }));
        save.push_back(timed([&] { page->store().save(); }));
        delete page;
    }
    print("F5 to the first row of 8,190 rows", open, 100);
    print("Page Down redraw", pageDown, 16);
    print("save of 8,190 rows", save, 50);

    PatEdit editor(machine, pat);
    editor.show();
    PatLabel *label = editor.label();
    std::vector<double> turn, step;
    for (int i = 0; i < kRuns; ++i) {
        turn.push_back(timed([&] {
            label->direct(i % 2 ? PatGrid::PageLower : PatGrid::PageHigher);
            label->repaint();
        }));
        step.push_back(timed([&] {
            label->direct(i % 2 ? PatGrid::Left : PatGrid::Right);
            label->repaint();
        }));
    }
    print("page turn of 1024 x 4000", turn, 16);
    print("cursor step", step, 4);

    SimProcess sim;
    QString why;
    if (!sim.start(&why) || !sim.command(QStringLiteral("set job BIG"))) {
        std::printf("live whole line: knitsim did not start (%s)\n", qPrintable(why));
        return 0;
    }
    TestBytes::writeFile(sim.file(QStringLiteral("BIG.pat")), pattern(1024, 4000));
    PatStore live;
    if (!live.load(pat)) {
        std::printf("live whole line: pattern not loaded\n");
        return 0;
    }
    std::vector<double> fill;
    QString message;
    for (int i = 0; i < kRuns; ++i)
        fill.push_back(timed([&] { message = live.fillLine(i, static_cast<unsigned char>(i % 16), true); }));
    print("live whole line of 512 bytes (515 round trips)", fill, 300);
    if (!message.isEmpty())
        std::printf("  the fill reported: %s\n", qPrintable(message));
    return 0;
}
