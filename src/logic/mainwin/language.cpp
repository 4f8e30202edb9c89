#include "language.h"

#include "platform/atomicfile.h"
#include "platform/panelpaths.h"

#include <QFile>
#include <QStringList>

#include <cstdio>
#include <utility>

const char *const Language::kChinese = "zh_CN";

namespace {

const QLatin1String kSection("[panel]");
const QLatin1String kKey("language");

void tell(const QString &why)
{
    std::fprintf(stderr, "knitpanel: %s: %s, the panel speaks Chinese\n",
                 Language::settingsPath().toLocal8Bit().constData(), why.toLocal8Bit().constData());
}

bool isSection(const QString &line)
{
    return line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'));
}

// The key of a "key = value" line, or an empty string.
QString keyOf(const QString &line)
{
    const int eq = line.indexOf(QLatin1Char('='));
    return eq > 0 ? line.left(eq).trimmed() : QString();
}

} // namespace

QString Language::settingsPath()
{
    return PanelPaths::data(QStringLiteral("/panel.ini"));
}

bool Language::isCode(const QString &code)
{
    // "xx", "xxx", "xx_YY" or "xxx_YY", checked by hand: a regular expression here would bring
    // the pattern engine into every start-up (about half a MiB resident).
    auto letters = [&code](qsizetype from, qsizetype count, char first, char last) {
        for (qsizetype i = from; i < from + count; ++i)
            if (code[i] < QLatin1Char(first) || code[i] > QLatin1Char(last))
                return false;
        return true;
    };
    const qsizetype bar = code.indexOf(QLatin1Char('_'));
    const qsizetype language = bar < 0 ? code.size() : bar;
    if (language < 2 || language > 3 || !letters(0, language, 'a', 'z'))
        return false;
    return bar < 0 || (code.size() == bar + 3 && letters(bar + 1, 2, 'A', 'Z'));
}

QString Language::parse(const QByteArray &text, QString *why)
{
    if (text.size() > kMaxFileBytes || !QByteArrayView(text).isValidUtf8() || text.contains('\0')) {
        *why = QStringLiteral("not a text file of at most %1 bytes").arg(kMaxFileBytes);
        return QString::fromLatin1(kChinese);
    }
    bool inPanel = false;
    QString code = QString::fromLatin1(kChinese);
    const QStringList lines = QString::fromUtf8(text).split(QLatin1Char('\n'));
    for (const QString &raw : lines) {
        const QString line = raw.trimmed();
        if (isSection(line)) {
            inPanel = line == kSection;
            continue;
        }
        if (!inPanel || keyOf(line) != kKey)
            continue;
        const QString value = line.mid(line.indexOf(QLatin1Char('=')) + 1).trimmed();
        if (!isCode(value)) {
            *why = QStringLiteral("\"%1\" is no language code").arg(value.left(40));
            return QString::fromLatin1(kChinese);
        }
        code = value;
    }
    return code;
}

QByteArray Language::withLanguage(const QByteArray &text, const QString &code)
{
    const QString entry = QStringLiteral("%1=%2").arg(kKey, code);
    QStringList lines = QString::fromUtf8(text).split(QLatin1Char('\n'));
    while (!lines.isEmpty() && lines.last().trimmed().isEmpty())
        lines.removeLast();
    QStringList out;
    bool inPanel = false;
    bool written = false;
    for (const QString &line : std::as_const(lines)) {
        const QString t = line.trimmed();
        if (isSection(t)) {
            if (inPanel && !written) {
                out.append(entry);
                written = true;
            }
            inPanel = t == kSection;
        } else if (inPanel && keyOf(t) == kKey) {
            // The one language line takes the place of the first; any further one goes.
            if (!written)
                out.append(entry);
            written = true;
            continue;
        }
        out.append(line);
    }
    if (!written) {
        if (!inPanel)
            out.append(QString(kSection));
        out.append(entry);
    }
    return (out.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8();
}

QString Language::load()
{
    QFile f(settingsPath());
    if (!f.exists())
        return QString::fromLatin1(kChinese);
    if (!f.open(QIODevice::ReadOnly)) {
        tell(QStringLiteral("cannot be read (%1)").arg(f.errorString()));
        return QString::fromLatin1(kChinese);
    }
    QString why;
    const QString code = parse(f.read(kMaxFileBytes + 1), &why);
    if (!why.isEmpty())
        tell(why);
    return code;
}

bool Language::save(const QString &code, QString *why)
{
    QString reason;
    if (!isCode(code)) {
        reason = QStringLiteral("\"%1\" is no language code").arg(code.left(40));
    } else {
        QByteArray old;
        QFile f(settingsPath());
        if (f.open(QIODevice::ReadOnly)) {
            old = f.read(kMaxFileBytes + 1);
            QString bad;
            parse(old, &bad);
            if (!bad.isEmpty())
                old.clear(); // not ours to keep: written afresh
        }
        if (AtomicFile::save(settingsPath(), withLanguage(old, code), &reason))
            return true;
    }
    if (why)
        *why = reason;
    return false;
}
