#include "servecommand.h"

#include "dashboard/dashboard.h"
#include "dashboard/serveoptions.h"

#include "telemetry/mqttclient.h"

#ifdef KNIT_SERVE
#include "dashboardserver.h"
#endif

#include <QCoreApplication>
#include <QDateTime>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <unistd.h>

#ifdef KNIT_SERVE
namespace {

volatile std::sig_atomic_t g_stop = 0;

void onSignal(int)
{
    g_stop = 1;
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
    return 2;
#else
    QCoreApplication app(argc, argv);
    ServeOptions o;
    QString why;
    if (args.contains(QStringLiteral("--help"))) {
        std::fprintf(stderr, "%s", ServeOptions::usage());
        return 2;
    }
    if (!ServeOptions::parse(args, &o, &why)) {
        std::fprintf(stderr, "knitfleet: %s\n%s", qPrintable(why), ServeOptions::usage());
        return 2;
    }
    AuthFile auth;
    if (!o.authFile.isEmpty() && !auth.read(o.authFile, &why)) {
        std::fprintf(stderr, "knitfleet: %s\n", qPrintable(why));
        return 2;
    }
    Dashboard dashboard(o.dashboard);
    if (!dashboard.open(&why)) {
        std::fprintf(stderr, "knitfleet: %s\n", qPrintable(why));
        return 1;
    }
    DashboardServer server(&dashboard);
    server.setAuth(auth);
    if (!server.serve(o.listen, o.port, o.cert, o.key, &why)) {
        std::fprintf(stderr, "knitfleet: %s\n", qPrintable(why));
        return 1;
    }
    dashboard.start();

    // The broker's messages arrive on the client's thread and are taken on this one, in order.
    MqttClient::Options mqtt = o.mqtt;
    mqtt.clientId = "knitfleet-serve-" + QByteArray::number(qint64(::getpid()));
    mqtt.subscriptions = {"knit/+/state", "knit/+/status", "knit/+/alarm"};
    MqttClient::Hooks hooks;
    hooks.message = [&dashboard](const QByteArray &topic, const QByteArray &payload, bool retained) {
        const qint64 received = QDateTime::currentMSecsSinceEpoch();
        QMetaObject::invokeMethod(&dashboard, [&dashboard, topic, payload, retained, received] {
            dashboard.take(topic, payload, retained, received);
        }, Qt::QueuedConnection);
    };
    hooks.link = [url = o.mqtt.url.text()](LinkState, const QString &text) {
        std::fprintf(stderr, "knitfleet: %s: %s\n", qPrintable(url), qPrintable(text));
    };
    MqttClient client(mqtt, hooks);
    client.start();
    std::printf("knitfleet: serving http%s://%s:%d/, recording to %s\n", o.cert.isEmpty() ? "" : "s",
                qPrintable(o.listen.toString()), server.serverPorts().value(0), qPrintable(o.dashboard.db.text()));
    std::fflush(stdout);

    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
    QTimer stop;
    QObject::connect(&stop, &QTimer::timeout, &app, [&app] {
        if (g_stop)
            app.quit();
    });
    stop.start(100);
    app.exec();
    client.stop();
    // What arrived before the signal is written if the database lets it.
    QCoreApplication::processEvents();
    dashboard.flush();
    return 0;
#endif
}
