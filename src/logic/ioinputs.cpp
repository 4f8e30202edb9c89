#include "ioinputs.h"

namespace {

const char *const kNames[IoInputs::kCount] = {
    "主电机故障信号", "主电机准备信号", "摇床电机故障信号", "摇床电机准备信号", "拉杆启动信号",
    "拉杆停止信号", "拉杆慢动信号", "紧急停止信号", "机头左限位信号", "机头右限位信号",
    "摇床零位信号", "摇床限位信号", "左收线信号", "右收线信号", "天台断纱信号",
    "左输纱器报警", "右输纱器报警", "卷布不良信号", "落布不良信号", "副拉布限位信号",
    "针床撞击信号", "摇床马达零位信号", "后备电源故障信号", "主电源掉电信号", "转接板80V保险丝",
    "针零位信号",
};

} // namespace

QString IoInputs::name(int input)
{
    return input >= 0 && input < kCount ? QString::fromUtf8(kNames[input]) : QString();
}

QString IoInputs::state(int input, int value)
{
    const bool reversed = input == 1 || input == 3;
    const bool closed = (value != 0) != reversed;
    return closed ? QStringLiteral("<font color = red>闭合") : QStringLiteral("<font color = darkGreen>断开");
}
