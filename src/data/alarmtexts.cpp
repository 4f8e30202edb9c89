#include "alarmtexts.h"

namespace {

struct AlarmText
{
    unsigned char code;
    const char *text;
};

const AlarmText kType1[] = {
    {0, "从控制器动作等待 !"},
    {1, "纱嘴未下落, 请按F6键切换 ! "},
    {4, "主从控制器通信失败, 请检查通信线路 ! "},
    {5, "编织宽度超过针床总针数, 请查看片展开设置 ! "},
    {6, "没有编织文件, 请选择编织文件 ! "},
    {7, "无法识别编织文件, 请检查编织文件 ! "},
    {16, "单片停车, 启动拉杆继续编织 ! "},
    {17, "设定件数已经完成, 请重新设定件数 !"},
    {18, "指定行停车 !"},
};

const AlarmText kType2[] = {
    {1, "机头左限位报警 ! "},
    {2, "机头右限位报警 ! "},
    {3, "机头零位传感器报警 ! "},
    {5, "摇床限位报警 ! "},
    {6, "主伺服故障报警 ! "},
    {7, "摇床伺服故障报警 ! "},
    {8, "副落布不良报警 ! "},
    {16, "落布不良报警 ! "},
    {17, "卷布不良报警 ! "},
    {18, "右收线断纱报警 ! "},
    {19, "左收线断纱报警 ! "},
    {20, "右输纱器报警 ! "},
    {21, "左输纱器报警 ! "},
    {22, "天线台断纱报警 ! "},
    {23, "撞针报警 ! "},
    {32, "UPS断电报警 ! "},
    {33, "主12V断电报警 ! "},
    {34, "主24V断电报警 ! "},
    {35, "主80V断电报警 ! "},
    {36, "急停按钮保护报警 ! "},
    {37, "UPS故障报警 ! "},
};

const AlarmText kType3[] = {
    {17, "机头F4保险丝报警 ! "},
    {18, "机头F5保险丝报警 ! "},
    {19, "机头F1保险丝报警 ! "},
    {20, "机头F6保险丝报警 ! "},
    {21, "机头F3保险丝报警 ! "},
    {22, "机头F2保险丝报警 ! "},
    {23, "机头探针( 浮纱 )报警 ! "},
    {33, "左系统前 1 密度电机报警 ! "},
    {34, "左系统前 2 密度电机报警 ! "},
    {35, "左系统后 1 密度电机报警 ! "},
    {36, "左系统后 2 密度电机报警 ! "},
    {37, "右系统前 1 密度电机报警 ! "},
    {38, "右系统前 2 密度电机报警 ! "},
    {39, "右系统后 1 密度电机报警 ! "},
    {40, "右系统后 2 密度电机报警 ! "},
    {49, "沉降马达故障报警 ! "},
    {50, "沉降马达故障报警 ! "},
    {51, "沉降马达故障报警 ! "},
    {52, "沉降马达故障报警 ! "},
    {53, "沉降马达故障报警 ! "},
    {54, "沉降马达故障报警 ! "},
};

template <std::size_t N>
const char *find(const AlarmText (&table)[N], unsigned char code)
{
    for (const AlarmText &entry : table) {
        if (entry.code == code)
            return entry.text;
    }
    return nullptr;
}

const char *lookup(unsigned char type, unsigned char code)
{
    switch (type) {
    case 1: return find(kType1, code);
    case 2: return find(kType2, code);
    case 3: return find(kType3, code);
    default: return nullptr;
    }
}

} // namespace

QString AlarmTexts::errorcode(unsigned char type, unsigned char code)
{
    if (type < 1 || type > 3)
        return QStringLiteral("未知类型") + QString::number(type) + QString::number(code);
    if (const char *text = lookup(type, code))
        return QString::fromUtf8(text);
    return QStringLiteral("报警") + QString::number(type) + QStringLiteral(" - ") + QString::number(code);
}

bool AlarmTexts::isKnown(unsigned char type, unsigned char code)
{
    return lookup(type, code) != nullptr;
}
