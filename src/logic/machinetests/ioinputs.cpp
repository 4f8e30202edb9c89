#include "ioinputs.h"

#include <QCoreApplication>

namespace {

const char *const kNames[IoInputs::kCount] = {
    QT_TRANSLATE_NOOP("IoInputs", "主电机故障信号"), QT_TRANSLATE_NOOP("IoInputs", "主电机准备信号"), QT_TRANSLATE_NOOP("IoInputs", "摇床电机故障信号"), QT_TRANSLATE_NOOP("IoInputs", "摇床电机准备信号"), QT_TRANSLATE_NOOP("IoInputs", "拉杆启动信号"),
    QT_TRANSLATE_NOOP("IoInputs", "拉杆停止信号"), QT_TRANSLATE_NOOP("IoInputs", "拉杆慢动信号"), QT_TRANSLATE_NOOP("IoInputs", "紧急停止信号"), QT_TRANSLATE_NOOP("IoInputs", "机头左限位信号"), QT_TRANSLATE_NOOP("IoInputs", "机头右限位信号"),
    QT_TRANSLATE_NOOP("IoInputs", "摇床零位信号"), QT_TRANSLATE_NOOP("IoInputs", "摇床限位信号"), QT_TRANSLATE_NOOP("IoInputs", "左收线信号"), QT_TRANSLATE_NOOP("IoInputs", "右收线信号"), QT_TRANSLATE_NOOP("IoInputs", "天台断纱信号"),
    QT_TRANSLATE_NOOP("IoInputs", "左输纱器报警"), QT_TRANSLATE_NOOP("IoInputs", "右输纱器报警"), QT_TRANSLATE_NOOP("IoInputs", "卷布不良信号"), QT_TRANSLATE_NOOP("IoInputs", "落布不良信号"), QT_TRANSLATE_NOOP("IoInputs", "副拉布限位信号"),
    QT_TRANSLATE_NOOP("IoInputs", "针床撞击信号"), QT_TRANSLATE_NOOP("IoInputs", "摇床马达零位信号"), QT_TRANSLATE_NOOP("IoInputs", "后备电源故障信号"), QT_TRANSLATE_NOOP("IoInputs", "主电源掉电信号"), QT_TRANSLATE_NOOP("IoInputs", "转接板80V保险丝"),
    QT_TRANSLATE_NOOP("IoInputs", "针零位信号"),
};

} // namespace

QString IoInputs::name(int input)
{
    return input >= 0 && input < kCount ? QCoreApplication::translate("IoInputs", kNames[input]) : QString();
}

QString IoInputs::state(int input, int value)
{
    const bool reversed = input == 1 || input == 3;
    const bool closed = (value != 0) != reversed;
    return closed ? QStringLiteral("<font color = red>") + QCoreApplication::translate("IoInputs", "闭合")
                  : QStringLiteral("<font color = darkGreen>") + QCoreApplication::translate("IoInputs", "断开");
}

int IoInputs::keyCode(int key)
{
    // Special keys carry the 0x01000000 flag of today's key numbers; the page shows them
    // numbered from 0x1000 as the controller's manuals list them (Escape 4096, Enter 4101).
    return key >= Qt::Key_Escape && key <= Qt::Key_Escape + 0xffff ? key - Qt::Key_Escape + 0x1000 : key;
}
