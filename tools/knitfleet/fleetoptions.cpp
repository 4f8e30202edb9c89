#include "fleetoptions.h"

#include "toolcommandline.h"

#include "telemetry/telemetryconfig.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

const char kTableSummary[] =
    "Shows one line per knitting machine from the panels' MQTT telemetry, refreshed in place.\n"
    "knitfleet serve --help: the office dashboard's options.";
const char kServeSummary[] = "Records the floor in SQL and serves the live office dashboard.";

QString readable(const QString &path)
{
    const QFileInfo f(path);
    return f.isFile() && f.isReadable() ? QString() : QStringLiteral("cannot read %1").arg(path);
}

} // namespace

bool FleetOptions::parse(bool serving, const QStringList &args, int *status)
{
    ToolCommandLine cl(serving ? QStringLiteral("knitfleet serve") : QStringLiteral("knitfleet"),
                       QString::fromUtf8(serving ? kServeSummary : kTableSummary));
    QCommandLineParser &p = cl.parser();
    p.addOptions({
        {QStringLiteral("url"),
         QStringLiteral("The broker, mqtt://HOST[:PORT] or mqtts://HOST[:PORT] (default: telemetry.ini's under KNIT_ROOT, "
                        "else mqtt://127.0.0.1:1883)."),
         QStringLiteral("URL")},
        {QStringLiteral("username"), QStringLiteral("The broker login's user name."), QStringLiteral("NAME")},
        {QStringLiteral("password-file"), QStringLiteral("A file whose first line is the broker login's password."),
         QStringLiteral("FILE")},
        {QStringLiteral("cafile"), QStringLiteral("The CA certificate to trust for an mqtts:// broker."), QStringLiteral("FILE")},
    });
    if (serving) {
        p.addOptions({
            {QStringLiteral("db"), QStringLiteral("An SQLite file or postgresql://[USER@][HOST][:PORT]/NAME (default %1).")
                                       .arg(DbTarget::defaultPath()),
             QStringLiteral("DATABASE")},
            {QStringLiteral("listen"), QStringLiteral("Where the pages are served (default 127.0.0.1:8080)."),
             QStringLiteral("ADDRESS:PORT")},
            {QStringLiteral("shifts"), QStringLiteral("The shifts' start times, local (default 08:00,20:00)."),
             QStringLiteral("HH:MM,...")},
            {QStringLiteral("sample-s"), QStringLiteral("Seconds between samples of an unchanged machine, 1 to 3600 (default 10)."),
             QStringLiteral("N")},
            {QStringLiteral("keep-days"), QStringLiteral("Days samples are kept, 1 to 3650 (default 30)."), QStringLiteral("N")},
            {QStringLiteral("stale-s"), QStringLiteral("A machine silent longer is greyed, 1 to 86400 (default 10)."),
             QStringLiteral("N")},
            {QStringLiteral("server-name"), QStringLiteral("A name the office reaches the server by (repeatable); requests "
                                                           "for other names are refused."),
             QStringLiteral("NAME")},
            {QStringLiteral("auth-file"), QStringLiteral("The logins (user:argon2id lines, made by knitfleet passwd FILE USER): "
                                                         "HTTP basic authentication on every request."),
             QStringLiteral("FILE")},
            {QStringLiteral("session-idle-s"), QStringLiteral("A login's session ends unused this long, 1 to 604800 (default "
                                                              "28800, 8 h)."),
             QStringLiteral("N")},
            {QStringLiteral("insecure-http"), QStringLiteral("Serve plain HTTP off loopback: logins and data cross the network "
                                                             "readable.")},
            {QStringLiteral("cert"), QStringLiteral("The certificate to serve HTTPS with (with --key)."), QStringLiteral("FILE")},
            {QStringLiteral("key"), QStringLiteral("The certificate's private key (with --cert)."), QStringLiteral("FILE")},
            {QStringLiteral("groups"), QStringLiteral("The halls of the floor view: GLOB = GROUP lines (default: the id before its "
                                                      "last '-')."),
             QStringLiteral("FILE")},
            {QStringLiteral("alerts"), QStringLiteral("The alert rules (JSON), read at start and on SIGHUP."), QStringLiteral("FILE")},
            {QStringLiteral("require-approval"), QStringLiteral("A job version reaches the machines only once a supervisor other "
                                                                "than its uploader approves it.")},
        });
    } else {
        p.addOptions({
            {QStringLiteral("once"), QStringLiteral("Waits for the retained messages, prints the table once and exits.")},
            {QStringLiteral("json"), QStringLiteral("The merged state as JSON instead of the table.")},
            {QStringLiteral("events"), QStringLiteral("One JSON line per message as it arrives.")},
        });
    }
    if (!cl.parse(args, status))
        return false;
    if (!p.positionalArguments().isEmpty()) {
        *status = cl.usageError(QStringLiteral("unexpected argument '%1'").arg(p.positionalArguments().first().left(40)));
        return false;
    }
    if (!serving) {
        once = p.isSet(QStringLiteral("once"));
        json = p.isSet(QStringLiteral("json"));
        events = p.isSet(QStringLiteral("events"));
    }
    return readBroker(cl, status) && (!serving || readServe(cl, status));
}

bool FleetOptions::readBroker(const ToolCommandLine &cl, int *status)
{
    const QCommandLineParser &p = cl.parser();
    QString why;
    if (p.isSet(QStringLiteral("url"))) {
        if (!BrokerUrl::parse(p.value(QStringLiteral("url")), &mqtt.url, &why))
            return (*status = cl.usageError(QStringLiteral("--url: %1").arg(why)), false);
    } else {
        // The demo's and a panel's broker; a missing or bad file leaves the local default.
        TelemetryConfig panel;
        if (TelemetryConfig::load(&panel, &why))
            mqtt.url = panel.url;
        else
            BrokerUrl::parse(QStringLiteral("mqtt://127.0.0.1:%1").arg(BrokerUrl::kPlainPort), &mqtt.url, &why);
    }
    mqtt.username = p.value(QStringLiteral("username")).toUtf8();
    mqtt.cafile = p.value(QStringLiteral("cafile"));
    if (!mqtt.cafile.isEmpty() && !(why = readable(mqtt.cafile)).isEmpty())
        return (*status = cl.fail(EX_NOINPUT, why), false);
    const QString passwordFile = p.value(QStringLiteral("password-file"));
    if (passwordFile.isEmpty())
        return true;
    if (mqtt.username.isEmpty())
        return (*status = cl.usageError(QStringLiteral("--password-file needs --username")), false);
    QFile f(passwordFile);
    if (!f.open(QIODevice::ReadOnly))
        return (*status = cl.fail(EX_NOINPUT, QStringLiteral("cannot read the password file %1").arg(passwordFile)), false);
    mqtt.password = f.read(TelemetryConfig::kMaxLoginLength + 1).split('\n').value(0).trimmed();
    return true;
}

bool FleetOptions::readServe(const ToolCommandLine &cl, int *status)
{
    const QCommandLineParser &p = cl.parser();
    Dashboard::Options &d = serve.dashboard;
    if (!cl.number(QStringLiteral("sample-s"), 1, 3600, &d.sampleS, status)
        || !cl.number(QStringLiteral("keep-days"), 1, 3650, &d.keepDays, status)
        || !cl.number(QStringLiteral("stale-s"), 1, 86400, &d.staleS, status)
        || !cl.number(QStringLiteral("session-idle-s"), 1, 604800, &serve.sessionIdleS, status))
        return false;
    QString why;
    if (p.isSet(QStringLiteral("shifts")) && !ShiftPlan::parse(p.value(QStringLiteral("shifts")), &d.shifts, &why))
        return (*status = cl.usageError(why), false);
    const QString db = p.isSet(QStringLiteral("db")) ? p.value(QStringLiteral("db")) : DbTarget::defaultPath();
    if (!DbTarget::parse(db, &d.db, &why))
        return (*status = cl.usageError(QStringLiteral("--db: %1").arg(why)), false);
    const QString listen = p.isSet(QStringLiteral("listen")) ? p.value(QStringLiteral("listen")) : QStringLiteral("127.0.0.1:8080");
    const int colon = listen.lastIndexOf(QLatin1Char(':'));
    QString host = listen.left(colon);
    if (host.startsWith(QLatin1Char('[')) && host.endsWith(QLatin1Char(']')))
        host = host.mid(1, host.size() - 2);
    serve.listen = host == QLatin1String("localhost") ? QHostAddress(QHostAddress::LocalHost) : QHostAddress(host);
    bool portOk = false;
    serve.port = listen.mid(colon + 1).toInt(&portOk);
    if (colon < 0 || serve.listen.isNull() || !portOk || serve.port < 0 || serve.port > 65535)
        return (*status = cl.usageError(QStringLiteral("--listen %1: not an address:port").arg(listen.left(60))), false);
    serve.authFile = p.value(QStringLiteral("auth-file"));
    serve.cert = p.value(QStringLiteral("cert"));
    serve.key = p.value(QStringLiteral("key"));
    serve.insecureHttp = p.isSet(QStringLiteral("insecure-http"));
    serve.alertsFile = p.value(QStringLiteral("alerts"));
    serve.requireApproval = p.isSet(QStringLiteral("require-approval"));
    if (p.isSet(QStringLiteral("groups")) && !GroupMap::read(p.value(QStringLiteral("groups")), &d.groups, &why))
        return (*status = cl.fail(EX_DATAERR, QStringLiteral("--groups %1").arg(why)), false);
    serve.serverNames = p.values(QStringLiteral("server-name"));
    static const QRegularExpression hostName(QStringLiteral("^[A-Za-z0-9]([A-Za-z0-9.-]{0,252})$"));
    for (const QString &name : std::as_const(serve.serverNames))
        if (!hostName.match(name).hasMatch() && QHostAddress(name).isNull())
            return (*status = cl.usageError(QStringLiteral("--server-name %1: not a host name or address").arg(name.left(60))), false);
    if (serve.cert.isEmpty() != serve.key.isEmpty())
        return (*status = cl.usageError(QStringLiteral("--cert and --key go together")), false);
    if (!serve.listen.isLoopback() && serve.cert.isEmpty() && !serve.insecureHttp)
        return (*status = cl.fail(kRefusedListen, QStringLiteral("--listen %1 is not loopback: it needs --cert FILE --key FILE "
                                                                 "(or --insecure-http)").arg(listen)),
                false);
    for (const QString &file : {serve.authFile, serve.cert, serve.key}) {
        if (!file.isEmpty() && !(why = readable(file)).isEmpty())
            return (*status = cl.fail(EX_NOINPUT, why), false);
    }
    return true;
}
