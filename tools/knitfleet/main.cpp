// knitfleet: the office's view of the knitting floor. Subscribes to the panels' telemetry and
// shows one line per machine, refreshed in place; --once prints the table once, --json the
// merged state as one JSON document, --events one JSON line per message as it comes.
// `knitfleet serve` records the floor and serves the office dashboard (servecommand.h).
#include "fleettable.h"
#include "fleetwatch.h"
#include "servecommand.h"

#include "platform/sleeper.h"
#include "telemetry/brokerurl.h"
#include "telemetry/telemetryconfig.h"

#include <QDateTime>
#include <QFile>
#include <QStringList>

#include <csignal>
#include <cstdio>
#include <sys/ioctl.h>
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

int usage(const char *why)
{
    if (why)
        std::fprintf(stderr, "knitfleet: %s\n", why);
    std::fprintf(stderr, "usage: knitfleet [--url mqtt://127.0.0.1:1883] [--username NAME --password-file FILE]\n"
                         "                 [--cafile FILE] [--once] [--json] [--events]\n"
                         "       knitfleet serve --help\n");
    return 2;
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
    watch.link(&why);
    QStringList lines{QStringLiteral("knitfleet %1: %2 machine%3, %4 knitting, %5 with an alarm   %6")
                          .arg(url).arg(machines.size()).arg(machines.size() == 1 ? "" : "s").arg(knitting).arg(alarms)
                          .arg(QDateTime::currentDateTime().toString(QStringLiteral("HH:mm:ss"))),
                      why};
    const int rows = inPlace ? terminalRows() : 0;
    lines += FleetTable::lines(machines, FleetWatch::nowMs(), rows ? rows - 4 : 0);
    return (inPlace ? QByteArray("\x1b[H\x1b[2J") : QByteArray()) + lines.join(QLatin1Char('\n')).toUtf8() + '\n';
}

} // namespace

int main(int argc, char **argv)
{
    if (argc > 1 && QByteArray(argv[1]) == "serve") {
        QStringList args;
        for (int i = 2; i < argc; ++i)
            args << QString::fromLocal8Bit(argv[i]);
        return serveCommand(argc, argv, args);
    }
    QString urlText = QStringLiteral("mqtt://127.0.0.1:1883");
    QString passwordFile;
    MqttClient::Options options;
    bool once = false;
    bool json = false;
    bool events = false;
    for (int i = 1; i < argc; ++i) {
        const QString a = QString::fromLocal8Bit(argv[i]);
        const bool hasValue = i + 1 < argc;
        if (a == QLatin1String("--once")) {
            once = true;
        } else if (a == QLatin1String("--json")) {
            json = true;
        } else if (a == QLatin1String("--events")) {
            events = true;
        } else if (a == QLatin1String("--url") && hasValue) {
            urlText = QString::fromLocal8Bit(argv[++i]);
        } else if (a == QLatin1String("--username") && hasValue) {
            options.username = QByteArray(argv[++i]);
        } else if (a == QLatin1String("--password-file") && hasValue) {
            passwordFile = QString::fromLocal8Bit(argv[++i]);
        } else if (a == QLatin1String("--cafile") && hasValue) {
            options.cafile = QString::fromLocal8Bit(argv[++i]);
        } else if (a == QLatin1String("--help")) {
            return usage(nullptr);
        } else {
            return usage(qPrintable(QStringLiteral("unknown or incomplete option %1").arg(a.left(40))));
        }
    }
    QString why;
    if (!BrokerUrl::parse(urlText, &options.url, &why))
        return usage(qPrintable(why));
    if (!passwordFile.isEmpty()) {
        QFile f(passwordFile);
        if (!f.open(QIODevice::ReadOnly))
            return usage(qPrintable(QStringLiteral("cannot read the password file %1").arg(passwordFile)));
        options.password = f.read(TelemetryConfig::kMaxLoginLength + 1).split('\n').value(0).trimmed();
        if (options.username.isEmpty())
            return usage("a password needs a username");
    }
    options.clientId = "knitfleet-" + QByteArray::number(qint64(::getpid()));

    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
    FleetWatch watch(options);
    if (events)
        watch.setEventStream(stdout);
    watch.start();
    const QString url = options.url.text();

    if (once) {
        if (!watch.waitSubscribed(kSubscribeMs)) {
            watch.link(&why);
            std::fprintf(stderr, "knitfleet: no subscription at %s within %d s: %s\n", qPrintable(url), kSubscribeMs / 1000,
                         qPrintable(why.isEmpty() ? QStringLiteral("no answer") : why));
            return 1;
        }
        watch.waitQuiet(kQuietMs, kSettleMs);
        write(json ? watch.state().json(FleetWatch::nowMs()) + '\n' : table(watch, url, false));
        return 0;
    }
    const bool inPlace = ::isatty(STDOUT_FILENO) == 1;
    while (!g_stop) {
        if (json)
            write(watch.state().json(FleetWatch::nowMs()) + '\n');
        else if (!events)
            write(table(watch, url, inPlace) + (inPlace ? "" : "\n"));
        Sleeper::sleepMs(kMinRedrawMs);
        watch.waitChange(kRefreshMs - kMinRedrawMs);
    }
    return 0;
}
