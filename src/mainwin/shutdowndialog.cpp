#include "shutdowndialog.h"

#include "data/protocol.h"
#include "logic/controller/controllercommands.h"
#include "logic/controller/controllermessages.h"
#include "ui/operatordialogs.h"

#include <QString>

ShutdownDialog::Outcome ShutdownDialog::run(QWidget *parent)
{
    if (!askYesNo(parent, tr("确定要关闭控制系统吗 ?")))
        return Outcome::Declined;
    if (!ControllerCommands::stopped()) {
        showMessage(parent, ControllerMessages::refusal(tr("机头正在运行, 不能关机 ! ")));
        return Outcome::Running;
    }
    if (ControllerCommands::action(Protocol::ShutDown, 0)) {
        showMessage(parent, tr("正在关机, 请稍等 ... ... "));
        return Outcome::ShuttingDown;
    }
    showMessage(parent, tr("不能关机, 请检查主控制器 !"));
    return Outcome::NotAnswered;
}
