#include "iooutputs.h"

#include "data/machinedata.h"
#include "link/testdatagram.h"

#include <QCoreApplication>

#include <iterator>

namespace {

using Field = IoOutputs::Field;
using Choice = IoOutputs::Choice;

const Choice kOnOff[] = {{1, QT_TRANSLATE_NOOP("IoOutputs", "打开"), true}, {2, QT_TRANSLATE_NOOP("IoOutputs", "关闭"), true}};
const Choice kRollerDirection[] = {{1, QT_TRANSLATE_NOOP("IoOutputs", "正转"), true}, {2, QT_TRANSLATE_NOOP("IoOutputs", "反转"), true}, {3, QT_TRANSLATE_NOOP("IoOutputs", "停止"), false}};
const Choice kRacking[] = {{1, "00", true}, {2, "R1", true}, {3, "R3", true}, {4, "L1", true}, {5, "L3", true}};
const Choice kDirection[] = {{1, QT_TRANSLATE_NOOP("IoOutputs", "向左"), true}, {2, QT_TRANSLATE_NOOP("IoOutputs", "向右"), true}, {3, QT_TRANSLATE_NOOP("IoOutputs", "停止"), true}};

const char kOnOffHint[] = QT_TRANSLATE_NOOP("IoOutputs", "操作说明:1 = 打开 2 = 关闭");
const char kNumberHint[] = QT_TRANSLATE_NOOP("IoOutputs", "操作说明:输入 0 - 99 的数字, 按确定键");

const Field kFields[IoOutputs::kCount] = {
    {QT_TRANSLATE_NOOP("IoOutputs", "红色指示灯.................."), QT_TRANSLATE_NOOP("IoOutputs", "操作说明:1 = 打开红色指示灯 2 = 关闭红色指示灯"), -1, kOnOff, 2},
    {QT_TRANSLATE_NOOP("IoOutputs", "绿色指示灯.................."), QT_TRANSLATE_NOOP("IoOutputs", "操作说明:1 = 打开绿色指示灯 2 = 关闭绿色指示灯"), -1, kOnOff, 2},
    {QT_TRANSLATE_NOOP("IoOutputs", "黄色指示灯.................."), QT_TRANSLATE_NOOP("IoOutputs", "操作说明:1 = 打开黄色指示灯 2 = 关闭黄色指示灯"), -1, kOnOff, 2},
    {QT_TRANSLATE_NOOP("IoOutputs", "其它测试......................"), kNumberHint, 99, nullptr, 0},
    {QT_TRANSLATE_NOOP("IoOutputs", "辅助罗拉......................"), kNumberHint, 99, nullptr, 0},
    {QT_TRANSLATE_NOOP("IoOutputs", "主罗拉.........................."), kNumberHint, 99, nullptr, 0},
    {QT_TRANSLATE_NOOP("IoOutputs", "主罗拉转向.................."), QT_TRANSLATE_NOOP("IoOutputs", "操作说明:1 = 正转 2 = 反转"), -1, kRollerDirection, 3},
    {QT_TRANSLATE_NOOP("IoOutputs", "摇床.............................."), QT_TRANSLATE_NOOP("IoOutputs", "操作说明:1 = 00 2 = R1 3 = R3 4 = L1 5 = L3"), -1, kRacking, 5},
    {QT_TRANSLATE_NOOP("IoOutputs", "翻针位.........................."), kOnOffHint, -1, kOnOff, 2},
    {QT_TRANSLATE_NOOP("IoOutputs", "撞击使能......................"), kOnOffHint, -1, kOnOff, 2},
    {QT_TRANSLATE_NOOP("IoOutputs", "方向.............................."), QT_TRANSLATE_NOOP("IoOutputs", "操作说明:1 = 向左 2 = 向右 3 = 停止"), -1, kDirection, 3},
    {QT_TRANSLATE_NOOP("IoOutputs", "速度.............................."), QT_TRANSLATE_NOOP("IoOutputs", "操作说明:输入 0 - 10 的数字, 按确定键"), 10, nullptr, 0},
};

} // namespace

const Field *IoOutputs::field(int number)
{
    return number >= 0 && number < int(std::size(kFields)) ? &kFields[number] : nullptr;
}

int IoOutputs::digitValue(int number, int digit)
{
    const Field *f = field(number);
    for (int i = 0; f && i < f->choiceCount; ++i) {
        if (f->choices[i].key && f->choices[i].value == digit)
            return digit;
    }
    return -1;
}

bool IoOutputs::typedValue(int number, const QString &text, int *value)
{
    const Field *f = field(number);
    if (!f || f->maxNumber < 0 || text.isEmpty())
        return false;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    const int v = text.toInt();
    if (v > f->maxNumber)
        return false;
    *value = v;
    return true;
}

QString IoOutputs::shown(int number, int value, const QString &current)
{
    const Field *f = field(number);
    if (!f)
        return current;
    if (f->maxNumber >= 0)
        return QString::number(value);
    for (int i = 0; i < f->choiceCount; ++i) {
        if (f->choices[i].value == value)
            return text(f->choices[i].text);
    }
    return current;
}

QString IoOutputs::text(const char *source)
{
    return QCoreApplication::translate("IoOutputs", source);
}

int IoOutputs::applyReport(MachineData &data, const QByteArray &report)
{
    if (report.size() < TestDatagram::kSize)
        return -1;
    const TestDatagram::Fields f = TestDatagram::fields(reinterpret_cast<const unsigned char *>(report.constData()));
    if (f.first >= kCount)
        return -1;
    data.ioTest().setWord(std::size_t(f.first), f.value);
    return f.first;
}
