#include "alertrules.h"

#include "groupmap.h"
#include "telemetry/reasonlist.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QUrl>

#include <cmath>

namespace {

const char *const kWhen[] = {"stop", "alarm", "offline", "availability"};

bool whole(const QJsonObject &o, const char *key, int low, int high, int *out)
{
    const QJsonValue v = o.value(QLatin1String(key));
    if (v.isUndefined())
        return true;
    const double d = v.toDouble(-1);
    if (!v.isDouble() || d != std::floor(d) || d < low || d > high)
        return false;
    *out = int(d);
    return true;
}

bool glob(const QString &g)
{
    static const QRegularExpression shape(QStringLiteral("^[A-Za-z0-9_*?-]{1,64}$"));
    return shape.match(g).hasMatch();
}

bool address(const QString &a)
{
    static const QRegularExpression shape(QStringLiteral("^[^@\\s<>,;\"]{1,64}@[A-Za-z0-9.-]{1,190}$"));
    return shape.match(a).hasMatch();
}

// A list of texts each `good` takes, or one text where single is allowed.
bool texts(const QJsonValue &v, bool single, bool (*good)(const QString &), QStringList *out)
{
    QStringList list;
    if (single && v.isString()) {
        list.append(v.toString());
    } else if (v.isArray() && v.toArray().size() <= AlertRules::kMaxList) {
        for (const QJsonValue &e : v.toArray())
            list.append(e.isString() ? e.toString() : QString());
    } else {
        return false;
    }
    for (const QString &s : std::as_const(list))
        if (!good(s))
            return false;
    *out = list;
    return true;
}

bool firstLine(const QString &path, QByteArray *out, QString *why)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        *why = QStringLiteral("cannot read %1").arg(path);
        return false;
    }
    *out = f.read(4096).split('\n').value(0).trimmed();
    return true;
}

bool readRule(const QJsonObject &o, AlertRules::Rule *r, QString *why)
{
    r->name = o.value(QLatin1String("name")).toString();
    if (!ReasonList::goodText(r->name, 32))
        return (*why = QStringLiteral("a rule needs a name of 1 to 32 characters"), false);
    const QString when = o.value(QLatin1String("when")).toString();
    int kind = -1;
    for (int i = 0; i < 4; ++i)
        kind = when == QLatin1String(kWhen[i]) ? i : kind;
    r->when = AlertRules::When(kind);
    const QString prefix = QStringLiteral("rule %1: ").arg(r->name);
    const QJsonValue below = o.value(QLatin1String("below_pct"));
    r->belowPct = below.toDouble(-1);
    const QJsonValue types = o.value(QLatin1String("types"));
    const QJsonValue machines = o.value(QLatin1String("machines"));
    const QJsonValue email = o.value(QLatin1String("email"));
    const QUrl hook(o.value(QLatin1String("webhook")).toString());
    r->webhook = o.value(QLatin1String("webhook")).toString();
    r->secretFile = o.value(QLatin1String("secret_file")).toString();
    if (kind < 0)
        return (*why = prefix + QStringLiteral("when must be stop, alarm, offline or availability"), false);
    if (!whole(o, "after_s", 0, 7 * 86400, &r->afterS) || !whole(o, "cooldown_s", 0, 7 * 86400, &r->cooldownS))
        return (*why = prefix + QStringLiteral("after_s and cooldown_s must be whole seconds up to a week"), false);
    if ((r->when == AlertRules::When::Availability) != below.isDouble() || (below.isDouble() && (r->belowPct <= 0 || r->belowPct > 100)))
        return (*why = prefix + QStringLiteral("below_pct (1 to 100) goes with availability, and only there"), false);
    for (const QJsonValue &t : types.toArray())
        r->types.append(t.isDouble() && t.toDouble() == std::floor(t.toDouble()) && t.toDouble() >= 0 && t.toDouble() < 1e9 ? t.toInt()
                                                                                                                      : -1);
    if (!types.isUndefined()
        && (r->when != AlertRules::When::Alarm || !types.isArray() || r->types.contains(-1) || r->types.size() > AlertRules::kMaxList))
        return (*why = prefix + QStringLiteral("types is a list of alarm types, for when alarm"), false);
    if (!machines.isUndefined() && !texts(machines, true, glob, &r->machines))
        return (*why = prefix + QStringLiteral("machines is a glob or a list of globs of letters, digits, - _ * ?"), false);
    if (!email.isUndefined() && !texts(email, false, address, &r->email))
        return (*why = prefix + QStringLiteral("email is a list of addresses"), false);
    if (!r->webhook.isEmpty() && (r->webhook.size() > 2048 || !hook.isValid() || hook.host().isEmpty()
                                  || (hook.scheme() != QLatin1String("http") && hook.scheme() != QLatin1String("https"))))
        return (*why = prefix + QStringLiteral("webhook must be an http:// or https:// URL"), false);
    if (r->webhook.isEmpty() && r->email.isEmpty())
        return (*why = prefix + QStringLiteral("needs a webhook or an email list"), false);
    if (!r->secretFile.isEmpty() && r->webhook.isEmpty())
        return (*why = prefix + QStringLiteral("secret_file goes with a webhook"), false);
    return true;
}

} // namespace

const char *AlertRules::whenName(When when)
{
    return kWhen[int(when)];
}

bool AlertRules::parse(const QByteArray &json, AlertRules *out, QString *why)
{
    const QJsonDocument doc = json.size() <= kMaxBytes ? QJsonDocument::fromJson(json) : QJsonDocument();
    const QJsonObject o = doc.object();
    const QJsonArray rules = o.value(QLatin1String("rules")).toArray();
    if (!doc.isObject() || !o.value(QLatin1String("rules")).isArray() || rules.size() > kMaxRules)
        return (*why = QStringLiteral("not a JSON object of at most 64 KiB with a list of at most 100 rules"), false);
    AlertRules a;
    const QJsonObject smtp = o.value(QLatin1String("smtp")).toObject();
    a.smtp.url = smtp.value(QLatin1String("url")).toString();
    a.smtp.from = smtp.value(QLatin1String("from")).toString();
    a.smtp.username = smtp.value(QLatin1String("username")).toString();
    a.smtp.passwordFile = smtp.value(QLatin1String("password_file")).toString();
    a.smtp.cafile = smtp.value(QLatin1String("cafile")).toString();
    const QUrl url(a.smtp.url);
    if (!smtp.isEmpty() && (!url.isValid() || url.host().isEmpty() || !url.userInfo().isEmpty() || !address(a.smtp.from)
                            || (url.scheme() != QLatin1String("smtp") && url.scheme() != QLatin1String("smtps"))))
        return (*why = QStringLiteral("smtp needs a url smtp://host[:port] or smtps://host[:port] (no login in it) and a from"
                                      " address"),
                false);
    if (!a.smtp.passwordFile.isEmpty() && a.smtp.username.isEmpty())
        return (*why = QStringLiteral("smtp: password_file needs a username"), false);
    for (const QJsonValue &v : rules) {
        Rule r;
        if (!readRule(v.toObject(), &r, why))
            return false;
        for (const Rule &other : std::as_const(a.rules))
            if (other.name == r.name)
                return (*why = QStringLiteral("rule %1 is named twice").arg(r.name), false);
        if (!r.email.isEmpty() && a.smtp.url.isEmpty())
            return (*why = QStringLiteral("rule %1 sends e-mail: smtp is needed").arg(r.name), false);
        a.rules.append(r);
    }
    *out = a;
    return true;
}

bool AlertRules::read(const QString &path, AlertRules *out, QString *why)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return (*why = QStringLiteral("cannot read %1").arg(path), false);
    AlertRules a;
    if (!parse(f.read(kMaxBytes + 1), &a, why)) {
        *why = path + QStringLiteral(": ") + *why;
        return false;
    }
    if (!a.smtp.passwordFile.isEmpty() && !firstLine(a.smtp.passwordFile, &a.smtp.password, why))
        return false;
    for (Rule &r : a.rules)
        if (!r.secretFile.isEmpty() && !firstLine(r.secretFile, &r.secret, why))
            return false;
    *out = a;
    return true;
}

bool AlertRules::appliesTo(const Rule &rule, const QString &machine) const
{
    for (const QString &glob : rule.machines)
        if (GroupMap::matches(glob, machine))
            return true;
    return false;
}
