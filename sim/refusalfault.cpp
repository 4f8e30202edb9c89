#include "refusalfault.h"

#include "controlserver.h"

#include "data/protocol.h"
#include "link/commanddatagram.h"

namespace {

constexpr int kMaxAfter = 1000000;

// Numbers as C writes them: 0x22 or 34.
bool number(const QString &text, int limit, int *out)
{
    bool ok = false;
    const int v = text.toInt(&ok, 0);
    if (!ok || v < 0 || v > limit)
        return false;
    *out = v;
    return true;
}

} // namespace

bool RefusalFault::handle(const QByteArray &d, QByteArray *answer)
{
    if (d.size() != CommandDatagram::kSize || quint8(d[1]) != Protocol::ParameterForm[0])
        return false;
    for (Rule &rule : rules_) {
        if (quint8(d[0]) != rule.command || quint8(d[Protocol::ObjectByte]) != rule.group)
            continue;
        if (rule.answered < rule.after) {
            ++rule.answered;
            return false;
        }
        answer->clear();
        return true;
    }
    return false;
}

void RefusalFault::registerCommands(ControlServer &control)
{
    control.registerCommand(QStringLiteral("fault refuse"), [this](const QStringList &args) {
        Rule rule{0, 0, 0};
        if (args.size() < 2 || args.size() > 3 || !number(args[0], 0xff, &rule.command)
            || !number(args[1], 0xff, &rule.group) || (args.size() == 3 && !number(args[2], kMaxAfter, &rule.after)))
            return ControlReply::fail(QStringLiteral("usage: fault refuse CMD GROUP [AFTER]"));
        rules_.append(rule);
        return ControlReply::ok();
    });
    control.registerCommand(QStringLiteral("fault clear"), [this](const QStringList &) {
        rules_.clear();
        return ControlReply::ok();
    });
    control.registerCommand(QStringLiteral("state"), [this](const QStringList &) {
        QStringList lines;
        for (const Rule &r : rules_)
            lines << QStringLiteral("refuse 0x%1 %2 after %3 answered %4").arg(r.command, 0, 16).arg(r.group).arg(r.after).arg(r.answered);
        return ControlReply::ok(lines);
    });
}
