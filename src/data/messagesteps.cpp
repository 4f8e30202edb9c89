#include "messagesteps.h"

namespace {

using Action = MessageSteps::Action;
using Kind = MessageSteps::Kind;

struct Rule
{
    QString when;
    Kind kind;
    QString text;
};

Action firstMatch(const QString &message1, std::initializer_list<Rule> rules, Action otherwise)
{
    for (const Rule &rule : rules) {
        if (message1 == rule.when)
            return {rule.kind, rule.text};
    }
    return otherwise;
}

} // namespace

// The sources of the texts: the sequence is kept in them, the message line shows them translated
// (context "MessageSteps").
QString MessageSteps::zeroArmed() { return QString::fromUtf8(QT_TRANSLATE_NOOP("MessageSteps", "启动拉杆,开始归零. ")); }
QString MessageSteps::zeroing() { return QString::fromUtf8(QT_TRANSLATE_NOOP("MessageSteps", "系统归零, 请等待. ")); }
QString MessageSteps::skipZeroArmed() { return QString::fromUtf8(QT_TRANSLATE_NOOP("MessageSteps", "启动拉杆,开始跳行归零. ")); }
QString MessageSteps::skipZeroing() { return QString::fromUtf8(QT_TRANSLATE_NOOP("MessageSteps", "正在跳行归零,请等待. ")); }
QString MessageSteps::skipArmed() { return QString::fromUtf8(QT_TRANSLATE_NOOP("MessageSteps", "启动拉杆, 开始跳行. ")); }
QString MessageSteps::skipping() { return QString::fromUtf8(QT_TRANSLATE_NOOP("MessageSteps", "正在跳行,请等待. ")); }

MessageSteps::Action MessageSteps::step(Report report, const QString &message1)
{
    switch (report) {
    case Report::ZeroingStarted:
        return firstMatch(message1,
                          {{zeroArmed(), Kind::Show, zeroing()},
                           {zeroing(), Kind::Show, zeroing()},
                           {skipZeroArmed(), Kind::Set, skipArmed()},
                           {skipZeroing(), Kind::Set, skipZeroing()}},
                          {Kind::Show, zeroing()});
    case Report::Started:
        return firstMatch(message1,
                          {{zeroArmed(), Kind::Show, zeroing()},
                           {skipArmed(), Kind::Set, skipping()},
                           {skipZeroArmed(), Kind::Set, skipZeroing()}},
                          {});
    case Report::Stopped:
        return firstMatch(message1,
                          {{zeroing(), Kind::Show, zeroArmed()},
                           {skipping(), Kind::Set, skipArmed()},
                           {skipZeroing(), Kind::Set, skipZeroArmed()}},
                          {});
    case Report::ZeroingFinished:
        return firstMatch(message1,
                          {{zeroing(), Kind::Cancel, QString()},
                           {zeroArmed(), Kind::Cancel, QString()},
                           {skipZeroArmed(), Kind::Set, skipArmed()},
                           {skipZeroing(), Kind::Set, skipArmed()}},
                          {});
    }
    return {};
}
