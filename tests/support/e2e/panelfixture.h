#pragma once

#include "panelprocess.h"
#include "simprocess.h"
#include "testroot.h"
#include "xserver.h"

#include <QList>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

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
    // knitpanel on them, with more environment if given (KNIT_LAYOUT_AUDIT ...).
    bool startPanel(const QString &timeoutScale = QStringLiteral("1"), const QProcessEnvironment &extra = {});
    // Start-up through: knitsim saw the closing status query and the main screen has the keyboard.
    bool waitForMainScreen(int ms = 30000);
    // prepare(), startPanel() and waitForMainScreen() in one.
    bool start(const QList<Job> &jobs, QString *why);
    // The panel, knitsim and the X server, in that order.
    void stop();

    TestRoot &root() { return *root_; }
    XServer &x() { return x_; }
    SimProcess &sim() { return sim_; }
    PanelProcess &panel() { return panel_; }
    // A path under the panel root ("/mnt/ide/knit/...").
    QString file(const QString &relative) const { return root_->file(relative); }

    // True once knitsim's journal holds count copies of line (SimProcess::waitFor's form).
    bool waitForJournal(const QString &line, int ms = 10000, int count = 1) { return sim_.waitFor(line, ms, count); }
    // True once the file exists, with bytes if given.
    bool waitForFile(const QString &path, const QByteArray &bytes = {}, int ms = 10000);
    // True once the panel printed, after byte from of its output, a line matching the pattern.
    bool waitForTrace(const QString &pattern, qsizetype from = 0, int ms = 10000);
    // True once a window other than before has the keyboard (one opened, or one closed).
    bool waitForFocusOff(const QByteArray &before, int ms = 10000);
    // True once the main screen has the keyboard again.
    bool waitForMain(int ms = 10000);
    // True once one of the panel's messages (its MessageFrame) has the keyboard, drawn: a
    // message that follows work seen from outside (a file written, a command journalled)
    // comes a moment later, and a key before it would go to the page below.
    bool waitForMessage(int ms = 10000);
    // The keys (xdotool names), then true once the keyboard moved to another window.
    bool switchWith(const QStringList &keys, int ms = 10000);
    // The keys, then true once the main screen has the keyboard.
    bool backWith(const QStringList &keys, int ms = 10000);
    // Keys as an operator walks: "7+" is a key that opens or closes a window (waited for as
    // switchWith does), "7063" types its characters, others are xdotool names; each drawn before
    // the next. The picture at the end if named (XServer::picture).
    bool walk(const QStringList &steps, const char *pictureName = nullptr);
    // The main screen's window, known once waitForMainScreen() saw it.
    QByteArray mainWindow() const { return main_; }

private:
    std::unique_ptr<TestRoot> root_;
    XServer x_;
    SimProcess sim_;
    PanelProcess panel_;
    QByteArray main_;
};

// An end-to-end test's opening: skipped when no run can be had here, else failed with the
// reason unless call (which may fill the QString why) succeeds.
#define PANEL_FIXTURE_START(...) do { QString why; if (!PanelFixture::available(&why)) QSKIP(qPrintable(why)); QVERIFY2((__VA_ARGS__), qPrintable(why)); } while (false)
