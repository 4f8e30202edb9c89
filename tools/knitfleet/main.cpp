// knitfleet: the office's view of the knitting floor. Subscribes to the panels' telemetry and
// shows one line per machine, refreshed in place; --once prints the table once, --json the
// merged state as one JSON document, --events one JSON line per message as it comes.
// `knitfleet serve` records the floor and serves the office dashboard (servecommand.h);
// `knitfleet passwd FILE USER` sets a login of its auth file (passwdcommand.h); `knitfleet user`
// keeps the dashboard's accounts (usercommand.h), `knitfleet machine` the machines' tokens
// (machinecommand.h).
#include "fleetoptions.h"
#include "fleettable.h"
#include "fleetwatch.h"
#include "passwdcommand.h"
#include "servecommand.h"
#include "machinecommand.h"
#include "usercommand.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QStringList>

#include <csignal>
#include <cstdio>
#include <sys/ioctl.h>
#include <sysexits.h>
#include <unistd.h>

namespace {

const int kSubscribeMs = 10000;
const int kQuietMs = 300;
const int kSettleMs = 3000;
const int kRefreshMs = 1000;
const int kMinRedrawMs = 250;

volatile std::sig_atomic_t g_stop = 0;

void onSignal(int)
{
    g_stop = 1;
}

void write(const QByteArray &text)
{
    std::fwrite(text.constData(), 1, std::size_t(text.size()), stdout);
    std::fflush(stdout);
}

int terminalRows()
{
    winsize w{};
    return ::ioctl(STDOUT_FILENO, TIOCGWINSZ, &w) == 0 && w.ws_row > 3 ? w.ws_row : 0;
}

QByteArray table(const FleetWatch &watch, const QString &url, bool inPlace)
{
    const FleetState fleet = watch.state();
    const QList<FleetState::Machine> machines = fleet.sorted();
    int knitting = 0;
    int alarms = 0;
    for (const FleetState::Machine &m : machines) {
        knitting += m.hasState && m.state.running ? 1 : 0;
        alarms += m.state.alarm ? 1 : 0;
    }
    QString why;
    const QString time = QDateTime::currentDateTime().toString(QStringLiteral("HH:mm:ss"));
    QStringList lines;
    if (watch.link(&why) == LinkState::Online) {
        lines << QStringLiteral("knitfleet %1: %2 machine%3, %4 knitting, %5 with an alarm   %6")
                     .arg(url).arg(machines.size()).arg(machines.size() == 1 ? "" : "s").arg(knitting).arg(alarms).arg(time)
              << why;
    } else {
        // Never "0 machines" for a floor it cannot see.
        lines << QStringLiteral("knitfleet %1: not connected: %2   %3")
                     .arg(url, why.isEmpty() ? QStringLiteral("connecting") : why, time);
    }
    const int rows = inPlace ? terminalRows() : 0;
    lines += FleetTable::lines(machines, FleetWatch::nowMs(), rows ? rows - 4 : 0);
    return (inPlace ? QByteArray("\x1b[H\x1b[2J") : QByteArray()) + lines.join(QLatin1Char('\n')).toUtf8() + '\n';
}

} // namespace

int main(int argc, char **argv)
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    const bool serving = args.value(0) == QLatin1String("serve");
    if (serving)
        return serveCommand(argc, argv, args.mid(1));
    if (args.value(0) == QLatin1String("passwd"))
        return passwdCommand(args.mid(1));
    if (args.value(0) == QLatin1String("user"))
        return userCommand(args.mid(1));
    if (args.value(0) == QLatin1String("machine"))
        return machineCommand(args.mid(1));
    FleetOptions o;
    int status = 0;
    if (!o.parse(false, args, &status))
        return status;
    QCoreApplication app(argc, argv); // the MQTT client's event loop
    MqttClient::Options &options = o.mqtt;
    options.clientId = "knitfleet-" + QByteArray::number(qint64(::getpid()));

    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
    FleetWatch watch(options);
    if (o.events)
        watch.setEventStream(stdout);
    watch.start();
    const QString url = options.url.text();

    if (o.once) {
        if (!watch.waitSubscribed(kSubscribeMs)) {
            QString why;
            watch.link(&why);
            std::fprintf(stderr, "knitfleet: no subscription at %s within %d s: %s\n", qPrintable(url), kSubscribeMs / 1000,
                         qPrintable(why.isEmpty() ? QStringLiteral("no answer") : why));
            return EX_UNAVAILABLE;
        }
        watch.waitQuiet(kQuietMs, kSettleMs);
        write(o.json ? watch.state().json(FleetWatch::nowMs()) + '\n' : table(watch, url, false));
        return 0;
    }
    const bool inPlace = ::isatty(STDOUT_FILENO) == 1;
    while (!g_stop) {
        if (o.json)
            write(watch.state().json(FleetWatch::nowMs()) + '\n');
        else if (!o.events)
            write(table(watch, url, inPlace) + (inPlace ? "" : "\n"));
        watch.pause(kMinRedrawMs);
        watch.waitChange(kRefreshMs - kMinRedrawMs);
    }
    return 0;
}
