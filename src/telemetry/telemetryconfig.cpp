#include "telemetryconfig.h"

#include "platform/panelpaths.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

QString TelemetryConfig::path()
{
    return PanelPaths::data(QStringLiteral("/telemetry.ini"));
}

bool TelemetryConfig::isMachineId(const QString &id)
{
    return !id.isEmpty() && id.size() <= kMaxMachineLength && BrokerUrl::plainAscii(id, QLatin1String("-_"));
}

bool TelemetryConfig::load(TelemetryConfig *config, QString *why)
{
    QFile f(path());
    if (!f.exists()) {
        *why = QStringLiteral("no %1").arg(path());
        return false;
    }
    if (!f.open(QIODevice::ReadOnly)) {
        *why = QStringLiteral("cannot read %1: %2").arg(path(), f.errorString());
        return false;
    }
    const QByteArray text = f.read(kMaxFileBytes + 1);
    if (text.size() > kMaxFileBytes) {
        *why = QStringLiteral("%1 is larger than %2 bytes").arg(path()).arg(kMaxFileBytes);
        return false;
    }
    if (!parse(text, config, why)) {
        *why = QStringLiteral("%1: %2").arg(path(), *why);
        return false;
    }
    return true;
}

bool TelemetryConfig::parse(const QByteArray &text, TelemetryConfig *config, QString *why)
{
    if (text.size() > kMaxFileBytes || !QByteArrayView(text).isValidUtf8() || text.contains('\0')) {
        *why = QStringLiteral("not a UTF-8 text file of at most %1 bytes").arg(kMaxFileBytes);
        return false;
    }
    TelemetryConfig c;
    bool inMqtt = false;
    bool haveUrl = false;
    const QStringList lines = QString::fromUtf8(text).split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')) || line.startsWith(QLatin1Char(';')))
            continue;
        const QString where = QStringLiteral("line %1: ").arg(i + 1);
        if (line.startsWith(QLatin1Char('['))) {
            if (!line.endsWith(QLatin1Char(']'))) {
                *why = where + QStringLiteral("a section name must end with ]");
                return false;
            }
            inMqtt = line == QLatin1String("[mqtt]");
            continue;
        }
        const int eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0) {
            *why = where + QStringLiteral("expected key = value");
            return false;
        }
        if (!inMqtt)
            continue;
        const QString key = line.left(eq).trimmed();
        if (!c.set(key, line.mid(eq + 1).trimmed(), why)) {
            *why = where + *why;
            return false;
        }
        haveUrl = haveUrl || key == QLatin1String("url");
    }
    if (!haveUrl || c.machine.isEmpty()) {
        *why = QStringLiteral("[mqtt] needs url and machine");
        return false;
    }
    if (!c.password.isEmpty() && c.username.isEmpty()) {
        *why = QStringLiteral("a password needs a username");
        return false;
    }
    if (!c.cafile.isEmpty() && !c.url.tls) {
        *why = QStringLiteral("cafile is for mqtts:// urls");
        return false;
    }
    *config = c;
    return true;
}

bool TelemetryConfig::set(const QString &key, const QString &value, QString *why)
{
    if (key == QLatin1String("url"))
        return BrokerUrl::parse(value, &url, why);
    if (key == QLatin1String("machine")) {
        machine = value;
        if (isMachineId(value))
            return true;
        *why = QStringLiteral("machine must be 1 to %1 letters, digits, '-' or '_'").arg(kMaxMachineLength);
        return false;
    }
    if (key == QLatin1String("username") || key == QLatin1String("password")) {
        // The value is never quoted back: it may be the password.
        if (value.toUtf8().size() > kMaxLoginLength) {
            *why = QStringLiteral("%1 is longer than %2 bytes").arg(key).arg(kMaxLoginLength);
            return false;
        }
        (key == QLatin1String("username") ? username : password) = value.toUtf8();
        return true;
    }
    if (key == QLatin1String("cafile")) {
        if (value.isEmpty())
            return true;
        // A panel path; a relative one lies beside telemetry.ini.
        cafile = value.startsWith(QLatin1Char('/')) ? PanelPaths::resolve(value) : PanelPaths::data(QLatin1Char('/') + value);
        if (QFileInfo(cafile).isReadable())
            return true;
        *why = QStringLiteral("cafile %1 cannot be read").arg(cafile);
        return false;
    }
    if (key == QLatin1String("interval_ms")) {
        bool ok = false;
        intervalMs = value.toInt(&ok);
        if (ok && intervalMs >= kMinIntervalMs && intervalMs <= kMaxIntervalMs)
            return true;
        *why = QStringLiteral("interval_ms must be a number from %1 to %2").arg(kMinIntervalMs).arg(kMaxIntervalMs);
        return false;
    }
    *why = QStringLiteral("unknown key %1").arg(key.left(40));
    return false;
}
