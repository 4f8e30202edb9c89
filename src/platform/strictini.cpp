#include "strictini.h"

#include "panelpaths.h"

#include <QFile>
#include <QFileInfo>

namespace {

// Why QSettings would read value as something else than written, or empty when it reads it as
// written: unquoted, it takes a backslash as an escape (one at the end of a line joins the next
// line on), splits at a comma, ends at a semicolon and reads a leading '@' as a typed value;
// quoted, it takes every backslash as an escape. The value itself is never quoted: it may be a
// password or a token.
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

bool StrictIni::plainAscii(const QString &text, QLatin1String extra)
{
    for (const QChar c : text) {
        const bool ok = (c >= QLatin1Char('a') && c <= QLatin1Char('z')) || (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
                        || (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || extra.contains(c);
        if (!ok)
            return false;
    }
    return true;
}

bool StrictIni::read(const QByteArray &text, int maxBytes, const QString &section, const QStringList &keys, Section *out,
                     QString *why)
{
    if (text.size() > maxBytes || !QByteArrayView(text).isValidUtf8() || text.contains('\0')) {
        *why = QStringLiteral("not a UTF-8 text file of at most %1 bytes").arg(maxBytes);
        return false;
    }
    const QString header = QLatin1Char('[') + section + QLatin1Char(']');
    Section found;
    bool inside = false;
    const QStringList lines = QString::fromUtf8(text).split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed();
        const QString where = QStringLiteral("line %1: ").arg(i + 1);
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')) || line.startsWith(QLatin1Char(';')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            if (!line.endsWith(QLatin1Char(']')) || !plainAscii(line.mid(1, line.size() - 2), QLatin1String("-_."))) {
                *why = where + QStringLiteral("a section is [name], of letters, digits, '-', '_' or '.'");
                return false;
            }
            inside = line == header;
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        const QString key = line.left(eq).trimmed();
        if (eq <= 0 || !plainAscii(key, QLatin1String("-_."))) {
            *why = where + QStringLiteral("expected key = value, the key of letters, digits, '-', '_' or '.'");
            return false;
        }
        const QString value = line.mid(eq + 1).trimmed();
        const QString bad = misread(value);
        if (!bad.isEmpty() || (inside && !keys.contains(key))) {
            *why = where + (bad.isEmpty() ? QStringLiteral("unknown key %1").arg(key.left(40)) : bad);
            return false;
        }
        if (inside)
            found.insert(key, {i + 1, unquoted(value)});
    }
    *out = found;
    return true;
}

bool StrictIni::load(const QString &path, int maxBytes, const QString &section, const QStringList &keys, Section *out,
                     QString *why)
{
    QFile f(path);
    if (!f.exists()) {
        *why = QStringLiteral("no %1").arg(path);
        return false;
    }
    if (!f.open(QIODevice::ReadOnly)) {
        *why = QStringLiteral("cannot read %1: %2").arg(path, f.errorString());
        return false;
    }
    const QByteArray text = f.read(maxBytes + 1);
    if (text.size() > maxBytes) {
        *why = QStringLiteral("%1 is larger than %2 bytes").arg(path).arg(maxBytes);
        return false;
    }
    if (!read(text, maxBytes, section, keys, out, why)) {
        *why = QStringLiteral("%1: %2").arg(path, *why);
        return false;
    }
    return true;
}

bool StrictIni::load(const QString &path, int maxBytes, const QString &section, const QStringList &keys,
                     const std::function<bool(const Section &, QString *)> &take, QString *why)
{
    Section found;
    if (!load(path, maxBytes, section, keys, &found, why))
        return false;
    if (take(found, why))
        return true;
    *why = QStringLiteral("%1: %2").arg(path, *why);
    return false;
}

bool StrictIni::cafile(const QString &value, QString *path, QString *why)
{
    if (value.isEmpty())
        return true;
    *path = value.startsWith(QLatin1Char('/')) ? PanelPaths::resolve(value) : PanelPaths::data(QLatin1Char('/') + value);
    if (QFileInfo(*path).isReadable())
        return true;
    *why = QStringLiteral("cafile %1 cannot be read").arg(*path);
    return false;
}
