#include "telemetryconfig.h"

#include "platform/panelpaths.h"
#include "platform/strictini.h"

#include <QFile>

QString TelemetryConfig::path()
{
    return PanelPaths::data(QStringLiteral("/telemetry.ini"));
}

bool TelemetryConfig::isMachineId(const QString &id)
{
    return !id.isEmpty() && id.size() <= kMaxMachineLength && StrictIni::plainAscii(id, QLatin1String("-_"));
}

namespace {

const char *const kKeys[] = {"url", "machine", "username", "password", "cafile", "interval_ms"};
const QString kSection = QStringLiteral("mqtt");

QStringList keyList()
{
    QStringList keys;
    for (const char *k : kKeys)
        keys.append(QLatin1String(k));
    return keys;
}

} // namespace

bool TelemetryConfig::load(TelemetryConfig *config, QString *why)
{
    return StrictIni::load(path(), kMaxFileBytes, kSection, keyList(),
                           [config](const StrictIni::Section &mqtt, QString *w) { return take(mqtt, config, w); }, why);
}

bool TelemetryConfig::parse(const QByteArray &text, TelemetryConfig *config, QString *why)
{
    StrictIni::Section mqtt;
    return StrictIni::read(text, kMaxFileBytes, kSection, keyList(), &mqtt, why) && take(mqtt, config, why);
}

bool TelemetryConfig::take(const StrictIni::Section &mqtt, TelemetryConfig *config, QString *why)
{
    if (!mqtt.contains(QStringLiteral("url")) || !mqtt.contains(QStringLiteral("machine"))) {
        *why = QStringLiteral("[mqtt] needs url and machine");
        return false;
    }
    TelemetryConfig c;
    for (const char *key : kKeys) {
        const auto it = mqtt.constFind(QLatin1String(key));
        if (it != mqtt.constEnd() && !c.set(QLatin1String(key), it->text, why)) {
            *why = QStringLiteral("line %1: %2").arg(it->line).arg(*why);
            return false;
        }
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
    if (key == QLatin1String("cafile"))
        return StrictIni::cafile(value, &cafile, why);
    if (key == QLatin1String("interval_ms")) {
        bool ok = false;
        intervalMs = value.toInt(&ok);
        if (ok && intervalMs >= kMinIntervalMs && intervalMs <= kMaxIntervalMs)
            return true;
        *why = QStringLiteral("interval_ms must be a number from %1 to %2").arg(kMinIntervalMs).arg(kMaxIntervalMs);
        return false;
    }
    return true; // the keys are kKeys
}
