#pragma once

#include "panelprocess.h"
#include "simprocess.h"
#include "testroot.h"
#include "xserver.h"

#include <QColor>
#include <QImage>
#include <QList>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

// One end-to-end run: a fresh panel root, a free port offset, a private X server, knitsim and
// knitpanel on them, and the waits the tests need, each on something seen from outside (the
// keyboard's window, knitsim's journal, a file, the panel's trace), never on time alone.
class PanelFixture
{
public:
    // A sample job made by knitjob in the root's job folder.
    struct Job
    {
        QString name;
        int rows;
        int width;
        int height;
    };

    ~PanelFixture() { stop(); }

    // False, with what is missing, when no end-to-end run can be had on this machine.
    static bool available(QString *why) { return XServer::available(why); }

    // The root with the jobs, the X server and knitsim, whose current job is the first one and
    // whose blocks equal the panel's check copies (start-up asks nothing).
    bool prepare(const QList<Job> &jobs, QString *why);
    // knitpanel on them, with more environment if given (KNIT_LAYOUT_AUDIT ...), knitsim's
    // journal cleared first.
    bool startPanel(const QProcessEnvironment &extra = {});
    // Start-up through: knitsim saw the closing status query and the main screen has the keyboard.
    bool waitForMainScreen(int ms = 30000);
    // prepare(), startPanel() and waitForMainScreen() in one.
    bool start(const QList<Job> &jobs, QString *why);
    // The panel, knitsim and the X server, in that order.
    void stop();

    XServer &x() { return x_; }
    SimProcess &sim() { return sim_; }
    PanelProcess &panel() { return panel_; }
    // A path under the panel root ("/mnt/ide/knit/...").
    QString file(const QString &relative) const { return root_->file(relative); }

    // The main screen's window: the panel names each window after its class once drawn.
    static constexpr char kMain[] = "MainScreen";

    // True once knitsim's journal holds count copies of line (SimProcess::waitFor's form).
    bool waitForJournal(const QString &line, int ms = 10000, int count = 1) { return sim_.waitFor(line, ms, count); }
    // True once the file exists, with bytes if given.
    bool waitForFile(const QString &path, const QByteArray &bytes = {}, int ms = 10000);
    // True once the panel printed, after byte from of its output, a line matching the pattern.
    bool waitForTrace(const QString &pattern, qsizetype from = 0, int ms = 10000);
    // True once the window named name (after its class), other than the window other, has the
    // keyboard, drawn.
    bool waitForWindow(const QByteArray &name, const QByteArray &other = {}, int ms = 10000);
    // The keys (xdotool names) to the window with the keyboard, then waitForWindow(name) for a
    // window other than that one: the next key goes to the window it is meant for.
    bool open(const QStringList &keys, const QByteArray &name, int ms = 10000);
    // Keys as an operator walks: "7>ListMenu" is a key after which the window named ListMenu has the
    // keyboard (open()), "7063" or "-30" is typed a character at a time, others are xdotool
    // names; the keys between two windows go to the one that has the keyboard. The picture at
    // the end if named (XServer::picture).
    bool walk(const QStringList &steps, const char *pictureName = nullptr);
    // walk(steps) that turn the window with the keyboard to another of its pages (the window
    // stays, so its name tells nothing), then the picture once area no longer shows what it
    // showed before them: the page turned and drawn.
    bool turnPage(const QStringList &steps, const QRect &area, const char *pictureName);
    // A picture of the screen as it is, kept as XServer::picture(name).
    bool picture(const char *name) { return x_.screenshot(XServer::picture(name)); }

private:
    std::unique_ptr<TestRoot> root_;
    XServer x_;
    SimProcess sim_;
    PanelProcess panel_;
};

// How many of area's pixels in image match: a picture known by what it shows.
int countPixels(const QImage &image, const QRect &area, const std::function<bool(const QColor &)> &match);
// Clearly red: an alarm, a closed input, the running indicator.
bool isRed(const QColor &c);

// An end-to-end test's opening: skipped when no run can be had here, else failed with the
// reason unless call (which may fill the QString why) succeeds.
#define PANEL_FIXTURE_START(...) do { QString why; if (!PanelFixture::available(&why)) QSKIP(qPrintable(why)); QVERIFY2((__VA_ARGS__), qPrintable(why)); } while (false)
