#include "groupmap.h"

#include "telemetry/reasonlist.h"

#include <QFile>
#include <QRegularExpression>

bool GroupMap::parse(const QByteArray &text, GroupMap *out, QString *why)
{
    static const QRegularExpression rule(QStringLiteral("^([A-Za-z0-9_*?-]{1,64})\\s*=\\s*(.*?)\\s*$"));
    GroupMap map;
    const QList<QByteArray> lines = text.split('\n');
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = QString::fromUtf8(lines[i]).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const QRegularExpressionMatch m = rule.match(line);
        if (!m.hasMatch() || !ReasonList::goodText(m.captured(2), kMaxName) || map.rules_.size() >= kMaxRules) {
            *why = QStringLiteral("line %1: not GLOB = GROUP (a glob of letters, digits, - _ * ?; a group of 1 to 32 characters;"
                                  " at most 1000 lines)").arg(i + 1);
            return false;
        }
        map.rules_.append({m.captured(1), m.captured(2)});
    }
    *out = map;
    return true;
}

bool GroupMap::read(const QString &path, GroupMap *out, QString *why)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        *why = QStringLiteral("cannot read %1").arg(path);
        return false;
    }
    const QByteArray text = f.read(kMaxBytes + 1);
    if (text.size() > kMaxBytes) {
        *why = QStringLiteral("%1: over 64 KiB").arg(path);
        return false;
    }
    if (parse(text, out, why))
        return true;
    *why = path + QStringLiteral(": ") + *why;
    return false;
}

bool GroupMap::matches(const QString &glob, const QString &id)
{
    // Backtracking to the last star: linear in practice for ids of 32 characters.
    int g = 0, i = 0, star = -1, mark = 0;
    while (i < id.size()) {
        if (g < glob.size() && (glob[g] == QLatin1Char('?') || glob[g] == id[i])) {
            ++g;
            ++i;
        } else if (g < glob.size() && glob[g] == QLatin1Char('*')) {
            star = g++;
            mark = i;
        } else if (star >= 0) {
            g = star + 1;
            i = ++mark;
        } else {
            return false;
        }
    }
    while (g < glob.size() && glob[g] == QLatin1Char('*'))
        ++g;
    return g == glob.size();
}

QString GroupMap::group(const QString &machine) const
{
    const auto known = known_.constFind(machine);
    if (known != known_.constEnd())
        return *known;
    QString group;
    for (const auto &r : rules_) {
        if (matches(r.first, machine)) {
            group = r.second;
            break;
        }
    }
    if (group.isEmpty()) {
        const int dash = machine.lastIndexOf(QLatin1Char('-'));
        group = dash > 0 ? machine.left(dash) : machine;
    }
    if (known_.size() > 20000)
        known_.clear();
    known_.insert(machine, group);
    return group;
}
