#include "workentry.h"

#include "data/machinedata.h"
#include "data/worklayout.h"
#include "link/commands.h"
#include "logic/controller/controllermessages.h"
#include "logic/controller/updatebracket.h"
#include "logic/params/celltext.h"
#include "logic/params/parammessages.h"

namespace {

void keep(MachineData &data, int group, int address, unsigned short value)
{
    if (group == WorkEntry::kSystemGroup)
        data.system().setWord(std::size_t(address), value);
    else if (const int word = WorkLayout::word(group, address); word >= 0)
        data.work().setWord(std::size_t(word), value);
}

} // namespace

bool WorkEntry::parse(const QString &text, int min, int max, unsigned short *value)
{
    int v = 0;
    if (!CellText::number(text, false, &v) || v < min || v > max)
        return false;
    *value = static_cast<unsigned short>(v);
    return true;
}

WorkEntry::Result WorkEntry::send(MachineData &data, int group, const QList<int> &addresses, unsigned short value,
                                  const std::function<void()> &opened)
{
    if (queryCarriageStatus() != 0)
        return Running;
    const UpdateBracket bracket(group);
    if (!bracket.open())
        return OpenRefused;
    if (opened)
        opened();
    bool refused = false;
    for (const int address : addresses) {
        if (!bracket.set(static_cast<unsigned short>(address), value)) {
            refused = true;
            break;
        }
        keep(data, group, address, value);
    }
    const bool closed = bracket.closeRetrying();
    return refused ? Refused : closed ? Stored : CloseRefused;
}

QString WorkEntry::message(Result result)
{
    switch (result) {
    case Stored:
        return QString();
    case OutOfRange:
        return ParamMessages::text(ParamMessages::kOutOfRange);
    case Running:
        return ControllerMessages::refusal(ParamMessages::text(ParamMessages::kRunning));
    case OpenRefused:
        return QCoreApplication::translate("WorkEntry", "进入设置界面失败, 请重试 !");
    case Refused:
    case CloseRefused:
        break;
    }
    return ParamMessages::text(ParamMessages::kRetry);
}
