#include "reasonlist.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cmath>

namespace {

const ReasonList::Reason kOther{0, QStringLiteral("其它"), QStringLiteral("Other"), false};

bool wholeIn(const QJsonValue &v, int low, int high, int *out)
{
    const double d = v.toDouble(-1);
    if (!v.isDouble() || d != std::floor(d) || d < low || d > high)
        return false;
    *out = int(d);
    return true;
}

} // namespace

ReasonList::ReasonList()
    : reasons_{{1, QStringLiteral("换纱"), QStringLiteral("Yarn change"), false},
               {2, QStringLiteral("等纱"), QStringLiteral("Waiting for yarn"), false},
               {3, QStringLiteral("换针/沉降片"), QStringLiteral("Needle/sinker"), false},
               {4, QStringLiteral("机械故障"), QStringLiteral("Mechanical fault"), false},
               {5, QStringLiteral("电气故障"), QStringLiteral("Electrical fault"), false},
               {6, QStringLiteral("清洁"), QStringLiteral("Cleaning"), true},
               {7, QStringLiteral("休息"), QStringLiteral("Break"), true},
               {8, QStringLiteral("无订单"), QStringLiteral("No order"), true},
               {9, QStringLiteral("保养"), QStringLiteral("Maintenance"), true},
               kOther}
{
}

bool ReasonList::goodText(const QString &text, int max)
{
    const QList<uint> ucs = text.toUcs4();
    return !ucs.isEmpty() && ucs.size() <= max && std::none_of(ucs.begin(), ucs.end(), [](uint c) {
        const QChar::Category k = QChar::category(char32_t(c));
        return k == QChar::Other_Control || k == QChar::Other_Format || k == QChar::Separator_Line
               || k == QChar::Separator_Paragraph;
    });
}

bool ReasonList::parse(const QByteArray &json, ReasonList *out, QString *why)
{
    QJsonParseError error{};
    const QJsonDocument doc = json.size() <= kMaxBytes ? QJsonDocument::fromJson(json, &error) : QJsonDocument();
    const QJsonObject o = doc.object();
    ReasonList list;
    if (!doc.isObject())
        return (*why = QStringLiteral("not a JSON object of at most 4 KiB"), false);
    const QJsonValue ask = o.value(QLatin1String("ask_after_s"));
    if (!ask.isUndefined() && !(wholeIn(ask, 0, 0, &list.askAfterS_) || wholeIn(ask, kMinAskS, kMaxAskS, &list.askAfterS_)))
        return (*why = QStringLiteral("ask_after_s must be 0 or 10 to 86400"), false);
    const QJsonValue given = o.value(QLatin1String("reasons"));
    if (given.isUndefined()) {
        *out = list;
        return true;
    }
    const QJsonArray array = given.toArray();
    // 1 to 9 and 0: ten keys, so at most nine reasons besides "other".
    if (!given.isArray() || array.size() > kMaxReasons + 1)
        return (*why = QStringLiteral("reasons must be a list of at most 9 besides code 0"), false);
    list.reasons_.clear();
    for (const QJsonValue &v : array) {
        const QJsonObject r = v.toObject();
        Reason reason;
        reason.zh = r.value(QLatin1String("zh")).toString();
        reason.en = r.value(QLatin1String("en")).toString();
        const QJsonValue planned = r.value(QLatin1String("planned"));
        reason.planned = planned.toBool();
        if (!wholeIn(r.value(QLatin1String("code")), 0, 9, &reason.code) || !(planned.isUndefined() || planned.isBool()))
            return (*why = QStringLiteral("a reason needs a code 0 to 9 and planned true or false"), false);
        if (list.find(reason.code))
            return (*why = QStringLiteral("code %1 is listed twice").arg(reason.code), false);
        if (!goodText(reason.zh, kMaxText) || !goodText(reason.en, kMaxText))
            return (*why = QStringLiteral("code %1: texts must be 1 to 16 characters, no control characters").arg(reason.code), false);
        list.reasons_.append(reason);
    }
    if (!list.find(0))
        list.reasons_.append(kOther);
    *out = list;
    return true;
}

const ReasonList::Reason *ReasonList::find(int code) const
{
    const auto it = std::find_if(reasons_.begin(), reasons_.end(), [code](const Reason &r) { return r.code == code; });
    return it == reasons_.end() ? nullptr : &*it;
}
