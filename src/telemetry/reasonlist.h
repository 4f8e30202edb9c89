#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// The stop reasons a panel offers, as its stops.json holds them and the office publishes them
// retained on knit/<machine>/config: {"ask_after_s":180,"reasons":[{"code","zh","en","planned"}]}.
// Keys left out keep their defaults; code 0 ("other", unplanned) is always there. A list is
// taken whole or refused whole with the reason why, so the last good one stays in force.
class ReasonList
{
public:
    static constexpr int kMaxReasons = 9;
    static constexpr int kMaxText = 16;
    static constexpr int kDefaultAskS = 180;
    static constexpr int kMinAskS = 10;
    static constexpr int kMaxAskS = 86400;
    static constexpr int kMaxBytes = 4096;

    struct Reason
    {
        int code = 0;
        QString zh;
        QString en;
        bool planned = false;
    };

    ReasonList(); // the default list
    // False with why (for the state's config_error) when the list breaks a rule.
    static bool parse(const QByteArray &json, ReasonList *out, QString *why);
    // A text a reason may show: 1 to max characters, none of them a control or format character.
    static bool goodText(const QString &text, int max);
    const Reason *find(int code) const;
    int askAfterS() const { return askAfterS_; }
    const QList<Reason> &reasons() const { return reasons_; }

private:
    int askAfterS_ = kDefaultAskS;
    QList<Reason> reasons_;
};
