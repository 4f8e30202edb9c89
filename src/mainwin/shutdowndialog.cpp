#include "shutdowndialog.h"

#include "link/commands.h"
#include "logic/controllermessages.h"
#include "ui/operatordialogs.h"

#include <QString>

namespace {
constexpr unsigned char kAction = 0x2A;
constexpr unsigned short kShutDown = 32;
}

ShutdownDialog::Outcome ShutdownDialog::run(QWidget *parent)
{
    if (!DIAYESNO(parent, QStringLiteral("确定要关闭控制系统吗 ?")))
        return Outcome::Declined;
    if (getmotostatus() != 0) {
        DIAMESSAGE(parent, ControllerMessages::refusal("机头正在运行, 不能关机 ! "));
        return Outcome::Running;
    }
    if (setparacom(kAction, 1, kShutDown, 0) == 1) {
        DIAMESSAGE(parent, QStringLiteral("正在关机, 请稍等 ... ... "));
        return Outcome::ShuttingDown;
    }
    DIAMESSAGE(parent, QStringLiteral("不能关机, 请检查主控制器 !"));
    return Outcome::NotAnswered;
}
