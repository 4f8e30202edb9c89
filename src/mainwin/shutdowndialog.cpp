#include "shutdowndialog.h"

#include "data/protocol.h"
#include "link/commands.h"
#include "logic/controllermessages.h"
#include "ui/operatordialogs.h"

#include <QString>

ShutdownDialog::Outcome ShutdownDialog::run(QWidget *parent)
{
    if (!DIAYESNO(parent, tr("确定要关闭控制系统吗 ?")))
        return Outcome::Declined;
    if (getmotostatus() != 0) {
        DIAMESSAGE(parent, ControllerMessages::refusal(tr("机头正在运行, 不能关机 ! ")));
        return Outcome::Running;
    }
    if (setparacom(Protocol::ActionCommand, Protocol::MachineObject, Protocol::ShutDown, 0) == Protocol::Answered) {
        DIAMESSAGE(parent, tr("正在关机, 请稍等 ... ... "));
        return Outcome::ShuttingDown;
    }
    DIAMESSAGE(parent, tr("不能关机, 请检查主控制器 !"));
    return Outcome::NotAnswered;
}
