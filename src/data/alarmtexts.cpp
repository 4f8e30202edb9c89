#include "alarmtexts.h"

#include <QCoreApplication>

namespace {

struct AlarmText
{
    unsigned char code;
    const char *text;
};

const AlarmText kType1[] = {
    {0, QT_TRANSLATE_NOOP("AlarmTexts", "从控制器动作等待 !")},
    {1, QT_TRANSLATE_NOOP("AlarmTexts", "纱嘴未下落, 请按F6键切换 ! ")},
    {4, QT_TRANSLATE_NOOP("AlarmTexts", "主从控制器通信失败, 请检查通信线路 ! ")},
    {5, QT_TRANSLATE_NOOP("AlarmTexts", "编织宽度超过针床总针数, 请查看片展开设置 ! ")},
    {6, QT_TRANSLATE_NOOP("AlarmTexts", "没有编织文件, 请选择编织文件 ! ")},
    {7, QT_TRANSLATE_NOOP("AlarmTexts", "无法识别编织文件, 请检查编织文件 ! ")},
    {16, QT_TRANSLATE_NOOP("AlarmTexts", "单片停车, 启动拉杆继续编织 ! ")},
    {17, QT_TRANSLATE_NOOP("AlarmTexts", "设定件数已经完成, 请重新设定件数 !")},
    {18, QT_TRANSLATE_NOOP("AlarmTexts", "指定行停车 !")},
};

const AlarmText kType2[] = {
    {1, QT_TRANSLATE_NOOP("AlarmTexts", "机头左限位报警 ! ")},
    {2, QT_TRANSLATE_NOOP("AlarmTexts", "机头右限位报警 ! ")},
    {3, QT_TRANSLATE_NOOP("AlarmTexts", "机头零位传感器报警 ! ")},
    {5, QT_TRANSLATE_NOOP("AlarmTexts", "摇床限位报警 ! ")},
    {6, QT_TRANSLATE_NOOP("AlarmTexts", "主伺服故障报警 ! ")},
    {7, QT_TRANSLATE_NOOP("AlarmTexts", "摇床伺服故障报警 ! ")},
    {8, QT_TRANSLATE_NOOP("AlarmTexts", "副落布不良报警 ! ")},
    {16, QT_TRANSLATE_NOOP("AlarmTexts", "落布不良报警 ! ")},
    {17, QT_TRANSLATE_NOOP("AlarmTexts", "卷布不良报警 ! ")},
    {18, QT_TRANSLATE_NOOP("AlarmTexts", "右收线断纱报警 ! ")},
    {19, QT_TRANSLATE_NOOP("AlarmTexts", "左收线断纱报警 ! ")},
    {20, QT_TRANSLATE_NOOP("AlarmTexts", "右输纱器报警 ! ")},
    {21, QT_TRANSLATE_NOOP("AlarmTexts", "左输纱器报警 ! ")},
    {22, QT_TRANSLATE_NOOP("AlarmTexts", "天线台断纱报警 ! ")},
    {23, QT_TRANSLATE_NOOP("AlarmTexts", "撞针报警 ! ")},
    {32, QT_TRANSLATE_NOOP("AlarmTexts", "UPS断电报警 ! ")},
    {33, QT_TRANSLATE_NOOP("AlarmTexts", "主12V断电报警 ! ")},
    {34, QT_TRANSLATE_NOOP("AlarmTexts", "主24V断电报警 ! ")},
    {35, QT_TRANSLATE_NOOP("AlarmTexts", "主80V断电报警 ! ")},
    {36, QT_TRANSLATE_NOOP("AlarmTexts", "急停按钮保护报警 ! ")},
    {37, QT_TRANSLATE_NOOP("AlarmTexts", "UPS故障报警 ! ")},
};

const AlarmText kType3[] = {
    {17, QT_TRANSLATE_NOOP("AlarmTexts", "机头F4保险丝报警 ! ")},
    {18, QT_TRANSLATE_NOOP("AlarmTexts", "机头F5保险丝报警 ! ")},
    {19, QT_TRANSLATE_NOOP("AlarmTexts", "机头F1保险丝报警 ! ")},
    {20, QT_TRANSLATE_NOOP("AlarmTexts", "机头F6保险丝报警 ! ")},
    {21, QT_TRANSLATE_NOOP("AlarmTexts", "机头F3保险丝报警 ! ")},
    {22, QT_TRANSLATE_NOOP("AlarmTexts", "机头F2保险丝报警 ! ")},
    {23, QT_TRANSLATE_NOOP("AlarmTexts", "机头探针( 浮纱 )报警 ! ")},
    {33, QT_TRANSLATE_NOOP("AlarmTexts", "左系统前 1 密度电机报警 ! ")},
    {34, QT_TRANSLATE_NOOP("AlarmTexts", "左系统前 2 密度电机报警 ! ")},
    {35, QT_TRANSLATE_NOOP("AlarmTexts", "左系统后 1 密度电机报警 ! ")},
    {36, QT_TRANSLATE_NOOP("AlarmTexts", "左系统后 2 密度电机报警 ! ")},
    {37, QT_TRANSLATE_NOOP("AlarmTexts", "右系统前 1 密度电机报警 ! ")},
    {38, QT_TRANSLATE_NOOP("AlarmTexts", "右系统前 2 密度电机报警 ! ")},
    {39, QT_TRANSLATE_NOOP("AlarmTexts", "右系统后 1 密度电机报警 ! ")},
    {40, QT_TRANSLATE_NOOP("AlarmTexts", "右系统后 2 密度电机报警 ! ")},
    {49, QT_TRANSLATE_NOOP("AlarmTexts", "沉降马达故障报警 ! ")},
    {50, QT_TRANSLATE_NOOP("AlarmTexts", "沉降马达故障报警 ! ")},
    {51, QT_TRANSLATE_NOOP("AlarmTexts", "沉降马达故障报警 ! ")},
    {52, QT_TRANSLATE_NOOP("AlarmTexts", "沉降马达故障报警 ! ")},
    {53, QT_TRANSLATE_NOOP("AlarmTexts", "沉降马达故障报警 ! ")},
    {54, QT_TRANSLATE_NOOP("AlarmTexts", "沉降马达故障报警 ! ")},
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

QString AlarmTexts::alarmSource(unsigned char type, unsigned char code)
{
    return text(type, code, [](const char *source) { return QString::fromUtf8(source); });
}

QString AlarmTexts::shown(unsigned char type, unsigned char code)
{
    return text(type, code, [](const char *source) { return tr(source); });
}

QString AlarmTexts::shown(int type, int code, const QString &logged)
{
    const auto t = static_cast<unsigned char>(type);
    const auto c = static_cast<unsigned char>(code);
    return t == type && c == code && alarmSource(t, c) == logged ? shown(t, c) : logged;
}

QString AlarmTexts::text(unsigned char type, unsigned char code, QString (*in)(const char *))
{
    if (type < 1 || type > 3) {
        //: An alarm of a type the panel does not know: %1 the type, %2 the code, written together
        return in(QT_TRANSLATE_NOOP("AlarmTexts", "未知类型%1%2")).arg(int(type)).arg(int(code));
    }
    if (const char *known = lookup(type, code))
        return in(known);
    //: An alarm without its own text: %1 the type, %2 the code
    return in(QT_TRANSLATE_NOOP("AlarmTexts", "报警%1 - %2")).arg(int(type)).arg(int(code));
}

bool AlarmTexts::isKnown(unsigned char type, unsigned char code)
{
    return lookup(type, code) != nullptr;
}
