// The file pages in-process: the disk file manager opened on 1,000 jobs (its page made as key 3
// makes it, to the filled list painted) and one Down in it to a job of the largest files,
// repainted with the message line it reads from them; a job of a 1 MiB .cnt and a 2 MiB .pat imported from the stick
// (Enter to the success message, beside a plain cp of the same files) and exported back; the
// stick browser listing a folder of 2,000 files. Medians of several runs. Prints; never fails.
#include "modaldriver.h"
#include "testbytes.h"
#include "testroot.h"

#include "data/defaultblocks.h"
#include "data/machinedata.h"
#include "files/diskfilemanager.h"
#include "files/jobimportdialog.h"
#include "ui/joblistview.h"
#include "ui/quickpages.h"
#include "ui/stickexportdialog.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
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

double ms(const QElapsedTimer &t)
{
    return double(t.nsecsElapsed()) / 1e6;
}

void print(const char *what, double value, double goal)
{
    std::printf("%s: median %.1f ms (goal under %.0f ms, ratio %.2f)\n", what, value, goal, value / goal);
}

// Milliseconds from the Enter of a stick dialog (once it has read the stick) to the message
// that ends its work, which the driver then answers.
double enterToMessage(QDialog &dialog)
{
    QElapsedTimer t;
    double took = -1;
    ModalDriver driver;
    driver.passThrough << &StickExportDialog::staticMetaObject << &JobImportDialog::staticMetaObject;
    driver.inspect([&](QWidget *) { took = ms(t); }).pressOk();
    QTimer::singleShot(0, &dialog, [&] {
        (void)QTest::qWaitFor([&] { return !dialog.property("busy").toBool(); });
        t.start();
        dialog.findChild<QAbstractButton *>(QStringLiteral("Benter"))->click();
    });
    dialog.exec();
    return took;
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
    initWorkParams(machine);
    const QByteArray cnt = TestBytes::withChecksum(QByteArray(1024 * 1024 - 128, '\x01'));
    QByteArray pat(512 * 4095, '\x22');
    pat[0] = 0, pat[1] = 4, pat[2] = char(4094 & 0xff), pat[3] = char(4094 >> 8); // 1024 wide, 4094 high
    pat = TestBytes::withChecksum(pat);
    QByteArray small(4 * 4, '\x11'); // 8 wide, 3 high
    small[0] = 8, small[1] = 0, small[2] = 3, small[3] = 0;
    small = TestBytes::withChecksum(small);
    for (int i = 0; i < 1000; ++i) {
        const QString job = root.file(QStringLiteral("/mnt/ide/knit/wave/J%1/J%1").arg(i, 4, 10, QLatin1Char('0')));
        // The job Down goes to has the biggest files a job may have: it reads and checks them.
        TestBytes::writeFile(job + ".cnt", i == 1 ? cnt : TestBytes::withChecksum(QByteArray(128 * 3, '\x01')));
        TestBytes::writeFile(job + ".pat", i == 1 ? pat : small);
        TestBytes::writeFile(job + ".txt", "2024-05-01 08:00:00");
    }

    std::vector<double> open, down;
    QuickPages pages;
    pages.provide(QuickPages::FileManager, [&machine](QWidget *parent) { return new DiskFileManager(machine, parent, nullptr, false); });
    for (int run = 0; run < kRuns; ++run) {
        QWidget screen;
        QElapsedTimer t;
        t.start();
        std::unique_ptr<QDialog> page(pages.make(QuickPages::FileManager, &screen));
        page->show();
        auto *manager = static_cast<DiskFileManager *>(page.get());
        auto *list = manager->list();
        page->grab();
        open.push_back(ms(t));
        if (list->topLevelItemCount() != 1000)
            std::printf("the list holds %d jobs, not 1000\n", list->topLevelItemCount());
        t.start();
        QTest::keyClick(list, Qt::Key_Down);
        list->viewport()->repaint();
        manager->msgLabel()->repaint();
        down.push_back(ms(t));
    }
    print("disk file manager on 1,000 jobs, opened to its filled list", median(open), 300);
    print("one Down in that list, repainted with its message line", median(down), 16);

    const QString stick = root.file(QStringLiteral("/mnt/usb"));
    TestBytes::writeFile(stick + "/BIG.cnt", cnt);
    TestBytes::writeFile(stick + "/BIG.pat", pat);
    std::vector<double> imported, exported, copied, listed;
    for (int run = 0; run < kRuns; ++run) {
        // The stick holds only the job's two files, BIG.cnt first; the disk not the job.
        QDir(stick + QStringLiteral("/BIG")).removeRecursively();
        QDir(root.file(QStringLiteral("/mnt/ide/knit/wave/BIG"))).removeRecursively();
        JobImportDialog in(root.file(QStringLiteral("/mnt/ide/knit/wave")), stick);
        imported.push_back(enterToMessage(in));
        StickExportDialog out(root.file(QStringLiteral("/mnt/ide/knit/wave/BIG")), stick, QStringLiteral("*.*"));
        exported.push_back(enterToMessage(out));
        QDir(root.file(QStringLiteral("/tmp/cp"))).removeRecursively();
        QDir().mkpath(root.file(QStringLiteral("/tmp/cp")));
        QElapsedTimer t;
        t.start();
        QProcess::execute(QStringLiteral("cp"), {stick + "/BIG.cnt", stick + "/BIG.pat", root.file(QStringLiteral("/tmp/cp"))});
        copied.push_back(ms(t));
    }
    const double cp = median(copied);
    std::printf("plain cp of the same two files (a process started and run): median %.1f ms\n", cp);
    print("job import, 1 MiB .cnt + 2 MiB .pat, Enter to the success message", median(imported), 500);
    print("job export of the same job, Enter to the finished message", median(exported), 500);

    const QString many = stick + QStringLiteral("/many");
    for (int i = 0; i < 2000; ++i)
        TestBytes::writeFile(many + QStringLiteral("/F%1.wrk").arg(i), "w");
    JobImportDialog browser(root.file(QStringLiteral("/mnt/ide/knit/wave")), many);
    (void)QTest::qWaitFor([&] { return !browser.property("busy").toBool(); });
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer t;
        t.start();
        browser.listFiles();
        browser.list()->viewport()->repaint();
        listed.push_back(ms(t));
    }
    print("stick browser listing a folder of 2,000 files", median(listed), 300);
    return 0;
}
