#include "servecommand.h"

#include "fleetoptions.h"

#include "dashboard/dashboard.h"

#include "telemetry/mqttclient.h"
#include "telemetry/outbox.h"

#ifdef KNIT_SERVE
#include "accountbook.h"
#include "dashboardserver.h"
#include "mailsender.h"
#include "webhooksender.h"
#endif

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QTimer>

#include <csignal>
#ifdef KNIT_SERVE
#include <sodium.h>
#endif
#include <cstdio>
#include <sysexits.h>
#include <unistd.h>

#ifdef KNIT_SERVE
namespace {

volatile std::sig_atomic_t g_stop = 0;
volatile std::sig_atomic_t g_reread = 0;

void onSignal(int)
{
    g_stop = 1;
}

void onHangUp(int)
{
    g_reread = 1;
}

// The alerts file again: a bad one leaves the rules as they were.
void rereadAlerts(Dashboard &dashboard, const QString &path)
{
    AlertRules rules;
    QString why;
    if (path.isEmpty())
        return;
    if (!AlertRules::read(path, &rules, &why)) {
        std::fprintf(stderr, "knitfleet serve: SIGHUP: %s; the alert rules stay as they were\n", qPrintable(why));
        return;
    }
    dashboard.alerts().setRules(rules);
    std::fprintf(stderr, "knitfleet serve: SIGHUP: %d alert rules read from %s\n", int(rules.rules.size()), qPrintable(path));
}

// An alert goes out by the rule's webhook and its mail, where the rule has them.
void sendAlerts(Dashboard &dashboard, WebhookSender &webhooks, MailSender &mail)
{
    dashboard.alerts().setSend([&](const AlertRules::Rule &rule, const AlertEngine::Event &e) {
        if (!rule.webhook.isEmpty())
            webhooks.send(rule, e);
        if (!rule.email.isEmpty())
            mail.send(dashboard.alerts().rules().smtp, rule, e);
    });
}

// The broker's messages are read on this thread's event loop and taken as they come, in order.
MqttClient::Options mqttOptions(const MqttClient::Options &given)
{
    MqttClient::Options mqtt = given;
    mqtt.clientId = "knitfleet-serve-" + QByteArray::number(qint64(::getpid()));
    // Events at QoS 1; the retained states and statuses, thousands a second, at QoS 0 (a
    // broker's default window of 20 unacknowledged messages left them seconds behind on a busy
    // computer, and past its queue it drops them).
    mqtt.subscriptions = {"knit/+/alarm", "knit/+/stop", "knit/+/config", "knit/+/job"};
    mqtt.latestSubscriptions = {"knit/+/state", "knit/+/status"};
    return mqtt;
}

// Each message into the dashboard with the time it came; the link's changes on standard error.
MqttClient::Hooks dashboardHooks(Dashboard &dashboard, const QString &url)
{
    MqttClient::Hooks hooks;
    hooks.message = [&dashboard](const QByteArray &topic, const QByteArray &payload, bool retained) {
        dashboard.take(topic, payload, retained, QDateTime::currentMSecsSinceEpoch());
    };
    hooks.link = [url](LinkState, const QString &text) {
        std::fprintf(stderr, "knitfleet: %s: %s\n", qPrintable(url), qPrintable(text));
    };
    return hooks;
}

// SIGINT and SIGTERM end the event loop, SIGHUP reads the alerts file again: the handlers only
// raise flags, which timer looks at on the event loop.
void watchSignals(QTimer &timer, QCoreApplication &app, Dashboard &dashboard, const QString &alertsFile)
{
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
    std::signal(SIGHUP, onHangUp);
    QObject::connect(&timer, &QTimer::timeout, &app, [&app, &dashboard, alertsFile] {
        if (g_stop)
            app.quit();
        if (g_reread) {
            g_reread = 0;
            rereadAlerts(dashboard, alertsFile);
        }
    });
    timer.start(100);
}

} // namespace
#endif

int serveCommand(int argc, char **argv, const QStringList &args)
{
#ifndef KNIT_SERVE
    Q_UNUSED(argc);
    Q_UNUSED(argv);
    Q_UNUSED(args);
    std::fprintf(stderr, "knitfleet: serve is not built in (it needs qt6-httpserver-dev, qt6-websockets-dev and libjs-chart.js)\n");
    return EX_UNAVAILABLE;
#else
    QCoreApplication app(argc, argv);
    FleetOptions options;
    int status = 0;
    if (!options.parse(true, args, &status))
        return status;
    const ServeOptions &o = options.serve;
    auto fail = [](int code, const QString &why) {
        std::fprintf(stderr, "knitfleet serve: %s\n", qPrintable(why));
        return code;
    };
    QString why;
    // Sessions, CSRF tokens and password checks draw on libsodium from the start.
    if (sodium_init() < 0)
        return fail(EX_SOFTWARE, QStringLiteral("libsodium does not start"));
    AuthFile auth;
    if (!o.authFile.isEmpty() && !auth.read(o.authFile, &why))
        return fail(EX_DATAERR, why);
    const QString folder = QFileInfo(o.dashboard.db.path).absolutePath();
    if (!o.dashboard.db.path.isEmpty() && (!QDir().mkpath(folder) || !QFileInfo(folder).isWritable()))
        return fail(EX_CANTCREAT, QStringLiteral("cannot make or write %1").arg(folder));
    AlertRules rules;
    if (!o.alertsFile.isEmpty() && !AlertRules::read(o.alertsFile, &rules, &why))
        return fail(EX_DATAERR, QStringLiteral("--alerts %1").arg(why));
    Dashboard dashboard(o.dashboard);
    if (!dashboard.open(&why))
        return fail(dashboard.db().refused() ? EX_DATAERR : EX_UNAVAILABLE, why);
    dashboard.alerts().setRules(rules);
    AccountBook accounts(o.dashboard.db);
    if (!accounts.load(&why))
        return fail(EX_UNAVAILABLE, QStringLiteral("cannot read the accounts: %1").arg(why));
    if (!o.listen.isLoopback() && auth.isEmpty() && !accounts.loginNeeded())
        return fail(FleetOptions::kRefusedListen, QStringLiteral("--listen %1 is not loopback: it needs accounts (knitfleet user add) "
                                                                 "or --auth-file FILE").arg(o.listen.toString()));
    accounts.start();
    WebhookSender webhooks(&dashboard.alerts());
    MailSender mail(&dashboard.alerts());
    sendAlerts(dashboard, webhooks, mail);
    // The machines' job offers, retained: the broker keeps each for its panel, so one made
    // while the link was down goes out on the next connection and none needs sending again.
    Outbox offers;
    DashboardServer server(&dashboard, auth, &accounts, qint64(o.sessionIdleS) * 1000, o.serverNames);
    server.library().setApprovalNeeded(o.requireApproval);
    server.offers().setOutbox(&offers);
    if (!server.serve(o.listen, o.port, o.cert, o.key, &why))
        return fail(EX_UNAVAILABLE, why);
    if (o.insecureHttp && !o.listen.isLoopback() && o.cert.isEmpty())
        std::fprintf(stderr, "knitfleet serve: --insecure-http: logins and data cross the network to %s in clear text\n",
                     qPrintable(o.listen.toString()));
    dashboard.start();

    MqttClient client(mqttOptions(options.mqtt), dashboardHooks(dashboard, options.mqtt.url.text()), &offers);
    client.start();
    std::printf("knitfleet: serving http%s://%s:%d/, recording to %s\n", o.cert.isEmpty() ? "" : "s",
                qPrintable(o.listen.toString()), server.serverPorts().value(0), qPrintable(o.dashboard.db.text()));
    std::fflush(stdout);

    QTimer signalWatch;
    watchSignals(signalWatch, app, dashboard, o.alertsFile);
    app.exec();
    client.stop();
    // What arrived before the signal is written if the database lets it.
    QCoreApplication::processEvents();
    dashboard.flush();
    return 0;
#endif
}
