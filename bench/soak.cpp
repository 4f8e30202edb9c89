// The soak: the real knitpanel under a private X server, worked by keys against knitsim and a
// loopback broker for --minutes N, looping an operator's session while the network's faults
// rotate. Each operation is judged from outside only (knitsim's state and journal, the disk,
// the windows on the screen): succeeded, failed with a message, silent (neither) or hung (the
// panel's event loop stood still). Prints the counts, the panel's event-loop stalls outside its
// mandated waits (KNIT_STALL_REPORT), its resident memory and its slope, and how long the
// state took to come back on a broker that was stopped for 60 s. Exit status 1 when an
// operation was silent or hung, when a failed job send left the panel naming the new job (its
// published state tells), or when the set-up failed, so a short run can guard CI.
#include "brokerprocess.h"
#include "panelprocess.h"
#include "portoffset.h"
#include "residentsize.h"
#include "simprocess.h"
#include "testbytes.h"
#include "testroot.h"
#include "xserver.h"

#include "platform/atomicfile.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSocketNotifier>
#include <QTest>
#include <QTimer>

#include <array>
#include <csignal>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace {

enum Outcome { Succeeded, FailedWithMessage, Silent, Hung };
const char *const kOutcomeNames[] = {"succeeded", "failed with a message", "silent", "hung"};

// The keys of one step, then what ends it: the window they bring up (a page, or a question
// "QuestionDialog"), known by the name the panel gives each window after its class; or, with no
// window, the outcome done tells.
struct Stage
{
    QStringList keys;
    QByteArray window;
    std::function<bool()> done;
};

// The panel's message boxes: a message, and a question.
bool isMessage(const QByteArray &window)
{
    return window == "MessageDialog" || window == "QuestionDialog";
}

struct Operation
{
    QString name;
    std::vector<Stage> stages;
};

// A network fault that holds for one phase of the rotation.
struct Phase
{
    const char *name;
    QStringList onLines; // knitsim control lines that set the fault
    bool restartMidExchange = false;
    bool restartMidTransfer = false;
};

// A phase lasts until the first turn that ends past its time, so a two-minute run reaches the
// later phases only if the earlier ones are quick: those that slow the big job's upload most (a
// delay on every packet, a repeat waited out per lost one; a minute each at a quarter of the
// time-outs) come last.
const std::vector<Phase> kPhases{
    {"clean", {}},
    {"stalled transfer peer", {"fault silent-after 2"}},
    {"restart mid-transfer", {}, false, true},
    {"restart mid-exchange", {}, true, false},
    {"duplicate and reorder 2 %", {"fault duplicate 2", "fault reorder 2"}},
    {"delay 0-50 ms", {"fault delay 0 50"}},
    {"loss 5 %", {"fault loss 5"}},
};

constexpr int kSkipped = 77; // ctest's SKIP_RETURN_CODE
constexpr int kPhaseMs = 20000; // shorter in a run too short for every phase
constexpr int kKeyPaceMs = 150;     // an operator's pace between two keys
constexpr int kPageMs = 15000;      // a page or question not up by then: the key was not acted on
// Longer than the longest bounded retry (a transfer's ten) and than the big job's 1 MiB program
// going at 5 % loss, where each lost block waits for the controller's repeat a second later:
// some 200 of its 4100 packets are lost, and it took 240 s on a loaded machine.
constexpr int kOutcomeMs = 450000;
constexpr int kHungMs = 10000;      // the panel's watch timer silent this long: the loop stands
constexpr int kBrokerDownMs = 60000;
constexpr int kRestartMs = 1500;

constexpr int kSampleMs = 30000; // resident memory read this often after the warm-up

// The least-squares slope of KiB over ms, in MiB/hour: two readings alone swing by the
// megabytes of a window's backing store shown or gone.
double slopeMiBPerHour(const std::vector<std::pair<qint64, long>> &samples)
{
    const double n = double(samples.size());
    double st = 0, sv = 0, stt = 0, stv = 0;
    for (const auto &[t, v] : samples) {
        st += double(t);
        sv += double(v);
        stt += double(t) * double(t);
        stv += double(t) * double(v);
    }
    const double d = n * stt - st * st;
    return n < 2 || d == 0 ? 0.0 : (n * stv - st * sv) / d * 3600000.0 / 1024.0;
}

class Soak
{
public:
    // onlyPhase: an index of kPhases held for the whole run, or -1 for the rotation.
    Soak(int minutes, int onlyPhase, bool trace)
        : minutes_(minutes)
        , onlyPhase_(onlyPhase)
        , trace_(trace)
    {
    }

    // Xvfb, xdotool and mosquitto are there (else why says what to install).
    static bool available(QString *why) { return XServer::available(why) && BrokerProcess::available(why); }

    bool setUp(QString *why)
    {
        PortOffset::useFree();
        *why = QStringLiteral("Xvfb, knitsim or mosquitto did not start");
        if (!x_.start() || !sim_.start(why, {QStringLiteral("--seed"), QStringLiteral("20261207")}) || !broker_.start(why))
            return false;
        // A small job and a big one: the most rows a program has, a 1 MiB file to send. The
        // patterns are alike, so the judged pixel sits at the same place in both.
        if (!root_.makeJob(kJobs[0], 40, 100, 30) || !root_.makeJob(kJobs[1], 8190, 100, 30))
            return false;
        stallPath_ = root_.file(QStringLiteral("/stalls.txt"));
        const QString ini = QStringLiteral("[mqtt]\nurl = %1\nmachine = S1\ninterval_ms = 300\n").arg(broker_.url());
        if (!root_.writeReferences(sim_.file(QStringLiteral("file.sys")), sim_.file(QStringLiteral("config.cfg")))
            || !AtomicFile::save(root_.file(QStringLiteral("/mnt/ide/knit/telemetry.ini")), ini.toUtf8())
            || !sim_.command(QStringLiteral("set job M1")))
            return false;
        QProcessEnvironment env = x_.environment();
        env.insert(QStringLiteral("KNIT_STALL_REPORT"), stallPath_);
        *why = QStringLiteral("the panel did not reach its main screen");
        // The panel at the time-out scale knitsim took from the environment.
        if (!panel_.start(env, root_.path(), sim_.portOffset(), qEnvironmentVariable("KNIT_TIMEOUT_SCALE", QStringLiteral("1"))))
            return false;
        if (!QTest::qWaitFor([&] { return sim_.traffic().contains(QStringLiteral("cmd 26/21/0")); }, 30000))
            return false;
        if (!QTest::qWaitFor([&] { const XServer::Window now = x_.focus(); main_ = now.id; return now.name == "MainScreen"; }, 10000))
            return false;
        current_ = 0;
        return true;
    }

    int run()
    {
        QElapsedTimer &clock = clock_;
        clock.start();
        const qint64 endMs = endMs_ = qint64(minutes_) * 60000;
        const qint64 earlyMs = std::min<qint64>(5 * 60000, endMs / 4);
        // Read on a timer, not between operations: one operation may outlast the warm-up.
        QTimer sampleTimer;
        QObject::connect(&sampleTimer, &QTimer::timeout, [this] { sample(); });
        QTimer::singleShot(earlyMs, &sampleTimer, [this, &sampleTimer] {
            sample();
            sampleTimer.start(kSampleMs);
        });
        // The broker goes for a minute once the run has warmed up, then every ten minutes.
        nextBrokerStop_ = std::min<qint64>(30000, endMs / 4);
        QTimer brokerTimer;
        QObject::connect(&brokerTimer, &QTimer::timeout, [this] { brokerTick(); });
        brokerTimer.start(200);
        const qint64 phaseMs = std::min<qint64>(kPhaseMs, endMs / qint64(kPhases.size()));
        std::size_t phase = onlyPhase_ < 0 ? 0 : std::size_t(onlyPhase_);
        qint64 phaseEnds = onlyPhase_ < 0 ? phaseMs : endMs;
        setPhase(kPhases[phase]);
        for (int turn = 0; clock.elapsed() < endMs && !aborted_; ++turn) {
            if (clock.elapsed() >= phaseEnds) {
                phase = (phase + 1) % kPhases.size();
                phaseEnds = clock.elapsed() + phaseMs;
                setPhase(kPhases[phase]);
            }
            const Operation op = operation(turn);
            const Outcome o = perform(op, kPhases[phase], turn);
            if (turn % 5 == 0 && o != Succeeded && claims(kJobs[1 - current_])) {
                ++claimed_;
                std::printf("turn %d: the send failed, yet the panel names %s as its job\n", turn, qPrintable(kJobs[1 - current_]));
            }
            ++counts_[o];
            ++byPhase_[kPhases[phase].name][o];
            ++byOperation_[kOperationKinds[turn % 5]][o];
            if (o != Succeeded)
                std::printf("%6.1f s  turn %3d  %-28s %-22s %s\n", double(clock.elapsed()) / 1000.0, turn, kPhases[phase].name,
                            qPrintable(op.name), kOutcomeNames[o]);
            std::fflush(stdout);
        }
        setPhase(kPhases[0]);
        // A broker still down at the end comes back before the figures.
        if (!QTest::qWaitFor([this] { return !brokerDown_.isValid() && !brokerBack_.isValid(); }, 4 * kBrokerDownMs))
            std::printf("the broker did not come back by the end\n");
        brokerTimer.stop();
        endStateWatch();
        sample();
        report();
        return counts_[Silent] + counts_[Hung] + claimed_ == 0 && !aborted_ ? 0 : 1;
    }

private:
    static inline const QStringList kJobs{QStringLiteral("M1"), QStringLiteral("M2")};

    QString jobFile(const QString &ext) const { return root_.file(QStringLiteral("/mnt/ide/knit/wave/%1/%1%2").arg(kJobs[current_], ext)); }
    QStringList state() { return sim_.send(QStringLiteral("state")); }

    // The operator's session, one operation a turn, in this order.
    static constexpr const char *kOperationKinds[] = {"send job", "density", "program row", "pattern pixel", "parameter backup"};

    Operation operation(int turn)
    {
        const int v = turn % 7 + 1;
        switch (turn % 5) {
        case 0: {
            const int other = 1 - current_;
            const QString name = kJobs[other];
            // The manager lists the jobs by name: the other one is a line below or above.
            return {QStringLiteral("send job %1").arg(name),
                    {{{"3"}, "DiskFileManager", {}},
                     {{other ? "Down" : "Up", "c"}, "QuestionDialog", {}},
                     {{"Return"}, {}, [this, other, name] {
                          // The controller holds the job and the panel names it (where the
                          // broker tells): a failure's message with the controller switched
                          // all the same leaves the panel on the old job.
                          if (!messageUp() || !state().contains(QStringLiteral("job ") + name))
                              return false;
                          if (const QString job = publishedJob(); !job.isNull() && job != name)
                              return false;
                          current_ = other;
                          return true;
                      }}}};
        }
        case 1: {
            const int density = 400 + turn % 97;
            const QStringList digits = QString::number(density).split(QString(), Qt::SkipEmptyParts);
            return {QStringLiteral("density %1").arg(density),
                    {{{"1"}, "JobParamsDialog", {}},
                     {QStringList{"Down"} + digits + QStringList{"KP_Enter"}, {},
                      [this, density] { return state().contains(QStringLiteral("value 2 1 %1").arg(density)); }},
                     {{"a", "Escape"}, {}, [this, density] {
                          const QByteArray wrk = TestBytes::readFile(jobFile(QStringLiteral(".wrk")));
                          return atHome() && wrk.size() > 17 && quint8(wrk[16]) + 256 * quint8(wrk[17]) == density
                              && wrk == TestBytes::readFile(sim_.file(QStringLiteral("work.blk")));
                      }}}};
        }
        case 2:
            // The program's speed row, row 1: the program editor's row edit. The manager opens
            // on the current job, whose editors its F5 and F6 open.
            return {QStringLiteral("speed %1").arg(v),
                    {{{"3"}, "DiskFileManager", {}},
                     {{"F5"}, "Cnt File Browse Tools", {}},
                     {{"Down", "Down", "Down", "Down", "Down", "Down", "Down", "Down", "Right", "Right", QString::number(v), "KP_Enter"},
                      "QuestionDialog", {}},
                     // The row goes to the controller before the next key, as an operator
                     // waits to see it taken: a key typed ahead while the panel waits for the
                     // controller closes the failure's message before anyone saw it.
                     {{"Return"}, {}, [this, v] { return state().contains(QStringLiteral("cnt 1 93 %1").arg(v)); }},
                     {{"Escape"}, "MessageDialog", {}},
                     {{"Return"}, {}, [this, v] {
                          const QStringList s = state();
                          return s.contains(QStringLiteral("cnt 1 93 %1").arg(v)) && s.contains(QStringLiteral("unbracketed 0"))
                              && TestBytes::readFile(jobFile(QStringLiteral(".cnt"))).mid(128 + 93, 1) == QByteArray(1, char(v));
                      }}}};
        case 3:
            return {QStringLiteral("pixel %1").arg(v),
                    {{{"3"}, "DiskFileManager", {}},
                     {{"F6"}, "Pat File Browse Tools", {}},
                     {{QString::number(v), "KP_Enter"}, {}, [this, v] {
                          const QByteArray pat = TestBytes::readFile(sim_.file(kJobs[current_] + QStringLiteral(".pat")));
                          return pat.size() > 50 && quint8(pat[50]) >> 4 == v;
                      }},
                     {{"Escape"}, {}, [this, v] {
                          const QByteArray pat = TestBytes::readFile(jobFile(QStringLiteral(".pat")));
                          return pat.size() > 50 && quint8(pat[50]) >> 4 == v
                              && pat == TestBytes::readFile(sim_.file(kJobs[current_] + QStringLiteral(".pat")));
                      }}}};
        default: {
            // Gone before, so that only this backup can bring it back.
            const QString backup = root_.file(QStringLiteral("/mnt/ide/knit/para/quorvanta.sys"));
            QFile::remove(backup);
            return {QStringLiteral("parameter backup"),
                    {{{"7"}, "SystemToolsMenu", {}},
                     {{"h"}, "TextInputDialog", {}},
                     {{"7", "0", "6", "3", "Return"}, "SystemToolsMenu", {}},
                     {{"3"}, "ParamBackupFrame", {}},
                     {{"4"}, "QuestionDialog", {}},
                     {{"Return"}, {}, [this, backup] {
                          return messageUp() && TestBytes::readFile(backup).size() == 404;
                      }}}};
        }
        }
    }

    // The job the panel's published state names; a null string while the broker cannot tell.
    QString publishedJob() const
    {
        if (brokerDown_.isValid() || brokerBack_.isValid())
            return QString();
        const QByteArray payload = broker_.retained(QStringLiteral("knit/S1/state"));
        return payload.isEmpty() ? QString() : QJsonDocument::fromJson(payload).object().value(QStringLiteral("job")).toString(QString());
    }

    // The panel names job within a few of its publications.
    bool claims(const QString &job) { return QTest::qWaitFor([&] { return publishedJob() == job; }, 3000); }

    // Runs the stages; on the first that ends without its outcome, judges by the windows.
    Outcome perform(const Operation &op, const Phase &phase, int turn)
    {
        Outcome outcome = Succeeded;
        for (const Stage &stage : op.stages) {
            const QByteArray before = x_.focusWindow();
            for (const QString &k : stage.keys)
                press(k);
            if (phase.restartMidExchange && stage.done)
                sim_.command(QStringLiteral("restart %1").arg(kRestartMs));
            if (phase.restartMidTransfer && op.name.startsWith(QLatin1String("send job")) && stage.done
                && QTest::qWaitFor([&] { return sim_.traffic().filter(QStringLiteral("WRQ")).size() > 0; }, 10000))
                sim_.command(QStringLiteral("restart %1").arg(kRestartMs));
            const qint64 pressed = clock_.elapsed();
            outcome = awaitStage(stage, before);
            note(QStringLiteral("turn %1  %2  keys %3: %4 after %5 ms")
                     .arg(turn)
                     .arg(op.name, stage.keys.join(u' ').left(40), QLatin1String(kOutcomeNames[outcome]))
                     .arg(clock_.elapsed() - pressed));
            if (outcome != Succeeded) {
                record(QStringLiteral(KNIT_BINARY_DIR "/soak-%1").arg(turn), op.name);
                break;
            }
        }
        if (!aborted_) {
            const qint64 left = clock_.elapsed();
            goHome();
            note(QStringLiteral("turn %1  home after %2 ms").arg(turn).arg(clock_.elapsed() - left));
        }
        sim_.command(QStringLiteral("journal clear"));
        return outcome;
    }

    // The screen and the controller's side as the judge saw them: stem.png, and stem.journal
    // with the operation, the job the judge holds current, knitsim's state and journal.
    void record(const QString &stem, const QString &operation)
    {
        x_.screenshot(stem + QStringLiteral(".png"));
        const QStringList lines = QStringList{operation, kJobs[current_]} + state() + sim_.send(QStringLiteral("journal"));
        AtomicFile::save(stem + QStringLiteral(".journal"), lines.join(u'\n').toUtf8());
    }

    Outcome awaitStage(const Stage &stage, const QByteArray &before)
    {
        QDeadlineTimer deadline(stage.done ? kOutcomeMs : kPageMs);
        while (!deadline.hasExpired()) {
            if (!panel_.running() || !responsive()) {
                aborted_ = !panel_.running();
                return Hung;
            }
            const XServer::Window now = x_.focus();
            const bool newMessage = now.id != before && isMessage(now.name);
            if (!stage.done) {
                if (now.name == stage.window && now.id != before)
                    return Succeeded;
                if (newMessage)
                    return FailedWithMessage;
            } else if (stage.done()) {
                return Succeeded;
            } else if (newMessage) {
                // Only a box that came after the keys is the operation's message (the question
                // they answered may still be up). A success that shows its own message is
                // judged above: give the outside a moment to show it, then this message is the
                // failure's.
                return QTest::qWaitFor(stage.done, 5000) ? Succeeded : FailedWithMessage;
            }
            QTest::qWait(100);
        }
        return Silent;
    }

    void press(const QString &key)
    {
        x_.key(key);
        QTest::qWait(kKeyPaceMs);
    }

    // With --trace, a line of the run's timeline on stderr.
    void note(const QString &line) const
    {
        if (trace_)
            std::fprintf(stderr, "%8.1f s  %s\n", double(clock_.elapsed()) / 1000.0, qPrintable(line));
    }

    // Back to the main screen: a message closed with Return, a page with Escape.
    void goHome()
    {
        for (int i = 0; i < 8 && !atHome(); ++i) {
            const XServer::Window before = x_.focus();
            press(isMessage(before.name) ? QStringLiteral("Return") : QStringLiteral("Escape"));
            // The key is pressed again on a window that kept the keyboard.
            (void)QTest::qWaitFor([&] { const XServer::Window now = x_.focus(); return !now.id.isEmpty() && now.id != before.id; }, 3000);
        }
    }

    bool atHome() const { return x_.focusWindow() == main_; }
    bool messageUp() const { return isMessage(x_.focus().name); }

    // The watch timer's count moved within kHungMs.
    bool responsive()
    {
        const qint64 ticks = stallFigure("ticks");
        if (ticks != lastTicks_) {
            lastTicks_ = ticks;
            ticksSeen_.restart();
            return true;
        }
        return !ticksSeen_.isValid() || ticksSeen_.elapsed() < kHungMs;
    }

    qint64 stallFigure(const char *name) const
    {
        QFile f(stallPath_);
        if (!f.open(QIODevice::ReadOnly))
            return -1;
        const QByteArray prefix = QByteArray(name) + ' ';
        for (const QByteArray &line : f.readAll().split('\n')) {
            if (line.startsWith(prefix))
                return line.mid(prefix.size()).toLongLong();
        }
        return -1;
    }

    void setPhase(const Phase &phase)
    {
        sim_.command(QStringLiteral("fault clear"));
        for (const QString &line : phase.onLines)
            sim_.command(line.trimmed());
    }

    // Stops the broker when due, starts it after kBrokerDownMs, and times the state's return.
    // Runs on a timer, so the figure does not wait for the end of a turn; a tick that comes
    // while the broker is being started (its start waits on the event loop) is skipped.
    void brokerTick()
    {
        if (brokerBusy_)
            return;
        brokerBusy_ = true;
        const qint64 now = clock_.elapsed();
        if (!brokerDown_.isValid() && !brokerBack_.isValid() && now >= nextBrokerStop_ && now + kBrokerDownMs < endMs_) {
            broker_.stop();
            brokerDown_.start();
            note(QStringLiteral("broker stopped"));
            nextBrokerStop_ = now + 10 * 60000;
        }
        // A start or a subscription that failed is tried again on the next tick.
        if (brokerDown_.isValid() && brokerDown_.elapsed() >= kBrokerDownMs && broker_.start()) {
            brokerDown_.invalidate();
            brokerBack_.start();
            note(QStringLiteral("broker started"));
            endStateWatch();
        }
        if (brokerBack_.isValid()) {
            if (!stateWatch_)
                stateWatch_.reset(broker_.subscribe(QStringLiteral("knit/S1/state"), nullptr));
            if (stateWatch_ && stateWatch_->readAllStandardOutput().contains("knit/S1/state")) {
                stateBackMs_.push_back(brokerBack_.elapsed());
                brokerBack_.invalidate();
                note(QStringLiteral("state back on the broker"));
            } else if (brokerBack_.elapsed() > 3 * kBrokerDownMs) {
                stateBackMs_.push_back(-1);
                brokerBack_.invalidate();
            }
        }
        brokerBusy_ = false;
    }

    // The last stop's subscriber, which may still be trying to reach the broker.
    void endStateWatch()
    {
        if (!stateWatch_)
            return;
        stateWatch_->kill();
        stateWatch_->waitForFinished(5000);
        stateWatch_.reset();
    }

    // The panel's resident memory, all of it and its anonymous part (heap, stacks: what a leak
    // grows; the rest is shared libraries and fonts paged in, and windows' backing stores).
    void sample()
    {
        const qint64 at = clock_.elapsed();
        resident_.emplace_back(at, residentKiBOf(panel_.processId()));
        anonymous_.emplace_back(at, statusKiBOf(QString::number(panel_.processId()), "RssAnon:"));
    }

    void report()
    {
        const int attempted = counts_[Succeeded] + counts_[FailedWithMessage] + counts_[Silent] + counts_[Hung];
        std::printf("\nsoak of %d min: operations attempted %d, succeeded %d, failed with a message %d, silent %d, hung %d"
                    " (goal: 0 silent, 0 hung)\n",
                    minutes_, attempted, counts_[Succeeded], counts_[FailedWithMessage], counts_[Silent], counts_[Hung]);
        for (const auto *table : {&byPhase_, &byOperation_}) {
            for (const auto &[name, c] : *table) {
                const int n = c[0] + c[1] + c[2] + c[3];
                std::printf("  %-28s %4d attempted, %5.1f %% succeeded, %d failed with a message, %d silent, %d hung\n", name.c_str(),
                            n, n ? 100.0 * c[0] / n : 0.0, c[1], c[2], c[3]);
            }
        }
        if (byPhase_.count("loss 5 %")) {
            const auto &c = byPhase_["loss 5 %"];
            const int n = c[0] + c[1] + c[2] + c[3];
            std::printf("succeeded at 5 %% loss: %.1f %% (goal >= 99 %%)\n", n ? 100.0 * c[0] / n : 0.0);
        }
        std::printf("event-loop stall outside mandated waits: max %lld ms, 99th percentile %lld ms (goal max < 200 ms);"
                    " most CPU time the panel ran in one gap %lld ms; longest gap less the time the panel stood ready"
                    " while the machine ran others %lld ms\n",
                    stallFigure("max"), stallFigure("p99"), stallFigure("busy"), stallFigure("own"));
        // The longest gaps as the panel kept them, with its CPU and queued time: who made them.
        QFile stalls(stallPath_);
        if (stalls.open(QIODevice::ReadOnly)) {
            for (const QByteArray &line : stalls.readAll().split('\n')) {
                if (line.startsWith("gap "))
                    std::printf("  %s\n", line.constData());
            }
        }
        std::printf("resident memory: %ld KiB at %.1f min, %ld KiB at %.1f min; slope over %zu readings %.2f MiB/hour"
                    " (goal < 1 MiB/hour); anonymous %ld KiB to %ld KiB, slope %.2f MiB/hour\n",
                    resident_.front().second, double(resident_.front().first) / 60000.0, resident_.back().second,
                    double(resident_.back().first) / 60000.0, resident_.size(), slopeMiBPerHour(resident_), anonymous_.front().second,
                    anonymous_.back().second, slopeMiBPerHour(anonymous_));
        for (qint64 ms : stateBackMs_)
            std::printf("broker back after %d s: state on it after %.1f s (goal <= 65 s)\n", kBrokerDownMs / 1000,
                        ms < 0 ? -1.0 : double(ms) / 1000.0);
        std::printf("failed sends after which the panel named the new job: %d (goal 0)\n", claimed_);
        if (aborted_)
            std::printf("the panel ended during the run\n");
    }

    int minutes_;
    int onlyPhase_;
    bool trace_;
    TestRoot root_;
    XServer x_;
    SimProcess sim_;
    BrokerProcess broker_;
    PanelProcess panel_;
    QString stallPath_;
    QByteArray main_;
    int current_ = 0;
    bool aborted_ = false;
    int claimed_ = 0;
    qint64 lastTicks_ = -1;
    QElapsedTimer ticksSeen_;
    int counts_[4] = {};
    std::map<std::string, std::array<int, 4>> byPhase_;
    std::map<std::string, std::array<int, 4>> byOperation_;
    QElapsedTimer clock_;
    qint64 endMs_ = 0;
    std::vector<std::pair<qint64, long>> resident_, anonymous_; // ms into the run, KiB
    qint64 nextBrokerStop_ = 0;
    bool brokerBusy_ = false;
    QElapsedTimer brokerDown_;
    QElapsedTimer brokerBack_;
    std::unique_ptr<QProcess> stateWatch_;
    std::vector<qint64> stateBackMs_;
};

// A signal's number, written by its handler, read in the event loop.
int signalPipe[2] = {-1, -1};

void onSignal(int sig)
{
    const char c = char(sig);
    (void)!::write(signalPipe[1], &c, 1);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption minutes(QStringLiteral("minutes"), QStringLiteral("how long to run"), QStringLiteral("N"),
                                     QStringLiteral("30"));
    parser.addOption(minutes);
    const QCommandLineOption only(QStringLiteral("phase"),
                                  QStringLiteral("hold one fault for the whole run: its number in the rotation, 0 clean"),
                                  QStringLiteral("N"), QStringLiteral("-1"));
    parser.addOption(only);
    const QCommandLineOption trace(QStringLiteral("trace"), QStringLiteral("each step's keys and how long its outcome took, on stderr"));
    parser.addOption(trace);
    parser.process(app);
    bool ok = false;
    const int n = parser.value(minutes).toInt(&ok);
    if (!ok || n < 1 || n > 24 * 60) {
        std::fprintf(stderr, "bench_soak: --minutes takes 1 to 1440\n");
        return 64;
    }
    const int onlyPhase = parser.value(only).toInt(&ok);
    if (!ok || onlyPhase < -1 || onlyPhase >= int(kPhases.size())) {
        std::fprintf(stderr, "bench_soak: --phase takes 0 to %d\n", int(kPhases.size()) - 1);
        return 64;
    }
    auto soak = std::make_unique<Soak>(n, onlyPhase, parser.isSet(trace));
    // Ended by SIGTERM or Ctrl-C, the soak takes the panel, knitsim, the broker and Xvfb with it
    // and removes their folders, rather than leaving them running as orphans.
    if (::pipe2(signalPipe, O_CLOEXEC) == 0) {
        auto *notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &app);
        QObject::connect(notifier, &QSocketNotifier::activated, [&soak] {
            char sig = 0;
            (void)!::read(signalPipe[0], &sig, 1);
            soak.reset();
            std::_Exit(128 + sig);
        });
        std::signal(SIGTERM, onSignal);
        std::signal(SIGINT, onSignal);
    }
    QString why;
    if (!Soak::available(&why)) {
        std::printf("soak skipped: %s\n", qPrintable(why));
        return kSkipped;
    }
    if (!soak->setUp(&why)) {
        std::printf("soak not run: %s\n", qPrintable(why));
        return 1;
    }
    return soak->run();
}
