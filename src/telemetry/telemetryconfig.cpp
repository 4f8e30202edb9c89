#include "telemetryconfig.h"

#include "platform/panelpaths.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStringList>

#include <algorithm>
#include <iterator>

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

namespace {

const char *const kKeys[] = {"url", "machine", "username", "password", "cafile", "interval_ms"};

// Why QSettings would read value as something else than written, or empty when it reads it as
// written: unquoted, it takes a backslash as an escape (one at the end of a line joins the next
// line on), splits at a comma, ends at a semicolon and reads a leading '@' as a typed value;
// quoted, it takes every backslash as an escape. The value itself is never quoted: it may be the
// password.
QString misread(const QString &value)
{
    const bool quoted = value.startsWith(QLatin1Char('"'));
    const QString inner = quoted ? value.mid(1, value.size() - 2) : value;
    if (quoted && (value.size() < 2 || !value.endsWith(QLatin1Char('"'))))
        return QStringLiteral("a value in double quotes must end with one");
    if (inner.startsWith(QLatin1Char('@')))
        return QStringLiteral("a value must not start with '@'");
    if (!quoted) {
        for (const char c : {'\\', '"', ',', ';'}) {
            if (inner.contains(QLatin1Char(c)))
                return QStringLiteral("a value holding %1 must be in double quotes").arg(QLatin1Char(c));
        }
        return QString();
    }
    for (qsizetype i = 0; i < inner.size(); ++i) {
        if (inner[i] == QLatin1Char('"'))
            return QStringLiteral("a \" within double quotes is written \\\"");
        if (inner[i] != QLatin1Char('\\'))
            continue;
        const QChar next = i + 1 < inner.size() ? inner[i + 1] : QChar();
        if (next != QLatin1Char('\\') && next != QLatin1Char('"'))
            return QStringLiteral("within double quotes a backslash is written \\\\");
        ++i;
    }
    return QString();
}

// A value misread() passed as it reads: quoted, without its quotes and with \\ and \" undone.
QString unquoted(const QString &value)
{
    if (!value.startsWith(QLatin1Char('"')))
        return value;
    QString out;
    for (qsizetype i = 1; i + 1 < value.size(); ++i) {
        if (value[i] == QLatin1Char('\\'))
            ++i;
        out += value[i];
    }
    return out;
}

} // namespace

bool TelemetryConfig::parse(const QByteArray &text, TelemetryConfig *config, QString *why)
{
    if (text.size() > kMaxFileBytes || !QByteArrayView(text).isValidUtf8() || text.contains('\0')) {
        *why = QStringLiteral("not a UTF-8 text file of at most %1 bytes").arg(kMaxFileBytes);
        return false;
    }
    // Each line is checked to read as QSettings would read it, then the values are taken as
    // checked: no temporary file to write (a full or read-only disk reads the same), and each
    // value comes from the one line that names it (the last of a repeated key).
    struct Entry
    {
        int line;
        QString value;
    };
    QHash<QString, Entry> mqtt; // [mqtt]'s keys
    bool inMqtt = false;
    const QStringList lines = QString::fromUtf8(text).split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed();
        const QString where = QStringLiteral("line %1: ").arg(i + 1);
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')) || line.startsWith(QLatin1Char(';')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            if (!line.endsWith(QLatin1Char(']')) || !BrokerUrl::plainAscii(line.mid(1, line.size() - 2), QLatin1String("-_."))) {
                *why = where + QStringLiteral("a section is [name], of letters, digits, '-', '_' or '.'");
                return false;
            }
            inMqtt = line == QLatin1String("[mqtt]");
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        const QString key = line.left(eq).trimmed();
        if (eq <= 0 || !BrokerUrl::plainAscii(key, QLatin1String("-_."))) {
            *why = where + QStringLiteral("expected key = value, the key of letters, digits, '-', '_' or '.'");
            return false;
        }
        const QString value = line.mid(eq + 1).trimmed();
        const QString bad = misread(value);
        const bool known = std::any_of(std::begin(kKeys), std::end(kKeys), [&key](const char *k) { return key == QLatin1String(k); });
        if (!bad.isEmpty() || (inMqtt && !known)) {
            *why = where + (bad.isEmpty() ? QStringLiteral("unknown key %1").arg(key.left(40)) : bad);
            return false;
        }
        if (inMqtt)
            mqtt.insert(key, {i + 1, unquoted(value)});
    }
    if (!mqtt.contains(QStringLiteral("url")) || !mqtt.contains(QStringLiteral("machine"))) {
        *why = QStringLiteral("[mqtt] needs url and machine");
        return false;
    }
    TelemetryConfig c;
    for (const char *key : kKeys) {
        const auto it = mqtt.constFind(QLatin1String(key));
        if (it != mqtt.constEnd() && !c.set(QLatin1String(key), it->value, why)) {
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
    return true; // the keys are kKeys
}
