#include "serveoptions.h"

#include "telemetry/telemetryconfig.h"

#include <QFile>

namespace {

bool number(const QString &text, int min, int max, int *out)
{
    bool ok = false;
    const int v = text.toInt(&ok);
    if (ok && v >= min && v <= max)
        *out = v;
    return ok && v >= min && v <= max;
}

} // namespace

const char *ServeOptions::usage()
{
    return "usage: knitfleet serve [--url mqtt://127.0.0.1:1883] [--username NAME --password-file FILE] [--cafile FILE]\n"
           "                       [--db FILE|postgresql://[user@][host][:port]/name] [--sample-s 10] [--keep-days 30]\n"
           "                       [--shifts 08:00,20:00] [--stale-s 10] [--listen 127.0.0.1:8080]\n"
           "                       [--auth-file FILE] [--cert FILE --key FILE]\n";
}

bool ServeOptions::parse(const QStringList &args, ServeOptions *o, QString *why)
{
    QString url = QStringLiteral("mqtt://127.0.0.1:1883");
    QString db = DbTarget::defaultPath();
    QString listen = QStringLiteral("127.0.0.1:8080");
    QString passwordFile;
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        if (i + 1 >= args.size() || !a.startsWith(QLatin1String("--"))) {
            *why = QStringLiteral("unknown or incomplete option %1").arg(a.left(40));
            return false;
        }
        const QString v = args[++i];
        bool ok = true;
        if (a == QLatin1String("--url"))
            url = v;
        else if (a == QLatin1String("--username"))
            o->mqtt.username = v.toUtf8();
        else if (a == QLatin1String("--password-file"))
            passwordFile = v;
        else if (a == QLatin1String("--cafile"))
            o->mqtt.cafile = v;
        else if (a == QLatin1String("--db"))
            db = v;
        else if (a == QLatin1String("--sample-s"))
            ok = number(v, 1, 3600, &o->dashboard.sampleS);
        else if (a == QLatin1String("--keep-days"))
            ok = number(v, 1, 3650, &o->dashboard.keepDays);
        else if (a == QLatin1String("--stale-s"))
            ok = number(v, 1, 86400, &o->dashboard.staleS);
        else if (a == QLatin1String("--shifts"))
            ok = ShiftPlan::parse(v, &o->dashboard.shifts, why);
        else if (a == QLatin1String("--listen"))
            listen = v;
        else if (a == QLatin1String("--auth-file"))
            o->authFile = v;
        else if (a == QLatin1String("--cert"))
            o->cert = v;
        else if (a == QLatin1String("--key"))
            o->key = v;
        else
            ok = (*why = QStringLiteral("unknown option %1").arg(a.left(40)), false);
        if (!ok) {
            if (why->isEmpty())
                *why = QStringLiteral("%1: %2 is out of range").arg(a, v.left(20));
            return false;
        }
    }
    if (!BrokerUrl::parse(url, &o->mqtt.url, why) || !DbTarget::parse(db, &o->dashboard.db, why))
        return false;
    if (!passwordFile.isEmpty()) {
        QFile f(passwordFile);
        if (!f.open(QIODevice::ReadOnly))
            return (*why = QStringLiteral("cannot read the password file %1").arg(passwordFile), false);
        o->mqtt.password = f.read(TelemetryConfig::kMaxLoginLength + 1).split('\n').value(0).trimmed();
        if (o->mqtt.username.isEmpty())
            return (*why = QStringLiteral("a password needs a username"), false);
    }
    const int colon = listen.lastIndexOf(QLatin1Char(':'));
    QString host = listen.left(colon);
    if (host.startsWith(QLatin1Char('[')) && host.endsWith(QLatin1Char(']')))
        host = host.mid(1, host.size() - 2);
    o->listen = host == QLatin1String("localhost") ? QHostAddress(QHostAddress::LocalHost) : QHostAddress(host);
    if (colon < 0 || o->listen.isNull() || !number(listen.mid(colon + 1), 0, 65535, &o->port))
        return (*why = QStringLiteral("--listen %1: not an address:port").arg(listen.left(60)), false);
    if (!o->listen.isLoopback() && o->authFile.isEmpty())
        return (*why = QStringLiteral("--listen %1 is not loopback: it needs --auth-file FILE").arg(listen), false);
    if (o->cert.isEmpty() != o->key.isEmpty())
        return (*why = QStringLiteral("--cert and --key go together"), false);
    return true;
}
