#include "celltext.h"

#include "data/parablocks.h"
#include "data/protocol.h"

const ChoiceSet kOnOff = {{nullptr, "打开", "关闭"}, {nullptr, "打开", "关闭"}, 1};
const ChoiceSet kLock = {{"不锁定", "左锁定", "右锁定"}, {"不锁定", "左系统", "右系统"}, 5};
const ChoiceSet kSelectorType = {{nullptr, "单向", "双向"}, {nullptr, "单向", "双向"}, 4};
const ChoiceSet kRackingType = {{nullptr, "后摇", "前摇"}, {nullptr, "后摇", "前摇"}, 2};
const ChoiceSet kBaseType = {{nullptr, "K型", "L型"}, {nullptr, "K型", "L型"}, 3};

namespace {

const char kUnknown[] = "未知";

// Every text a choice cell can be confirmed with, and its value; the lock's shown texts are
// not among them, so Enter on a lock cell that shows its stored state is refused.
const struct
{
    const char *text;
    unsigned short value;
} kChoiceValues[] = {
    {"打开", 1}, {"正向", 1}, {"左系统", 1}, {"K型", 1}, {"单向", 1}, {"后摇", 1},
    {"关闭", 2}, {"反转", 2}, {"右系统", 2}, {"L型", 2}, {"双向", 2}, {"前摇", 2},
    {"不锁定", 0},
};

bool isSigned(const ParamCell &cell)
{
    return cell.kind == CellKind::Signed || cell.kind == CellKind::Taught;
}

} // namespace

bool CellText::number(const QString &text, bool allowSign, int *value)
{
    QString t = text.trimmed();
    const bool negative = allowSign && t.startsWith(QLatin1Char('-'));
    if (negative)
        t.remove(0, 1);
    if (t.isEmpty() || t.size() > 5)
        return false;
    for (const QChar c : t) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    const int magnitude = t.toInt();
    if (magnitude > 0xFFFF)
        return false;
    *value = negative ? -magnitude : magnitude;
    return true;
}

int CellText::maxOf(const ParamCell &cell)
{
    return cell.max == kBedWidth ? int(para_system.word(Protocol::BedWidthWord)) : cell.max;
}

QString CellText::show(const ParamCell &cell, unsigned short stored)
{
    switch (cell.kind) {
    case CellKind::Empty:
        return QString();
    case CellKind::Choice: {
        const char *text = stored < 3 && cell.choices ? cell.choices->shown[stored] : nullptr;
        return QString::fromUtf8(text ? text : kUnknown);
    }
    case CellKind::Signed:
    case CellKind::Taught:
        return QString::number(int(stored) - cell.bias);
    default:
        return QString::number(stored);
    }
}

CellText::Parsed CellText::parse(const ParamCell &cell, const QString &text)
{
    Parsed out;
    int value = 0;
    if (cell.kind == CellKind::Choice) {
        out.status = UnknownChoice;
        for (const auto &c : kChoiceValues) {
            if (text == QString::fromUtf8(c.text)) {
                value = c.value;
                out.status = Value;
            }
        }
        if (out.status == UnknownChoice)
            return out;
    } else if (cell.kind == CellKind::Empty || !number(text, isSigned(cell), &value)) {
        out.status = OutOfRange;
        return out;
    }
    if (value < cell.min || value > maxOf(cell)) {
        out.status = OutOfRange;
        return out;
    }
    out.status = Value;
    out.stored = static_cast<unsigned short>(value + cell.bias);
    return out;
}

QString CellText::typed(const ParamCell &cell, int digit)
{
    if (cell.kind != CellKind::Choice || !cell.choices || digit < 0 || digit > 2 || !cell.choices->typed[digit])
        return QString();
    return QString::fromUtf8(cell.choices->typed[digit]);
}

bool CellText::acceptsMinus(const ParamCell &cell)
{
    return isSigned(cell) && cell.min < 0;
}

bool CellText::typable(const ParamCell &cell)
{
    switch (cell.kind) {
    case CellKind::Number:
    case CellKind::Signed:
    case CellKind::Taught:
    case CellKind::Belt:
        return true;
    default:
        return false;
    }
}

QString CellText::help(const ParamCell &cell)
{
    QString text = cell.help;
    if (cell.max == kBedWidth)
        text += QString::number(para_system.word(Protocol::BedWidthWord));
    return text;
}

int CellText::panel(const ParamCell &cell)
{
    switch (cell.kind) {
    case CellKind::Choice:
        return cell.choices ? cell.choices->panel : 255;
    case CellKind::Taught:
        return 241;
    case CellKind::Belt:
        return 240;
    case CellKind::Question:
        return 6;
    case CellKind::Racking:
        return 254;
    case CellKind::Signed:
        return cell.min < 0 ? 7 : 255;
    default:
        return 255;
    }
}
