#include "celltext.h"

#include <QCoreApplication>

// The typed texts repeat the shown ones: marked once for translation. A cell is confirmed
// with the value its state stands for, never by reading its text back.
const ChoiceSet kOnOff = {{nullptr, QT_TRANSLATE_NOOP("CellText", "打开"), QT_TRANSLATE_NOOP("CellText", "关闭")},
                          {nullptr, "打开", "关闭"}, 1, 0b110};
//: A lock cell shows the stored state (不锁定 / 左锁定 / 右锁定) but is typed as 不锁定 / 左系统 /
//: 右系统; the two sets must differ. Eight characters at most, as every choice word. Enter on a
//: lock cell that shows a locked state is refused: the side must be typed.
const ChoiceSet kLock = {{QT_TRANSLATE_NOOP("CellText", "不锁定"), QT_TRANSLATE_NOOP("CellText", "左锁定"),
                          QT_TRANSLATE_NOOP("CellText", "右锁定")},
                         {"不锁定", QT_TRANSLATE_NOOP("CellText", "左系统"), QT_TRANSLATE_NOOP("CellText", "右系统")}, 5, 0b001};
const ChoiceSet kSelectorType = {{nullptr, QT_TRANSLATE_NOOP("CellText", "单向"), QT_TRANSLATE_NOOP("CellText", "双向")},
                                 {nullptr, "单向", "双向"}, 4, 0b110};
const ChoiceSet kRackingType = {{nullptr, QT_TRANSLATE_NOOP("CellText", "后摇"), QT_TRANSLATE_NOOP("CellText", "前摇")},
                                {nullptr, "后摇", "前摇"}, 2, 0b110};
const ChoiceSet kBaseType = {{nullptr, QT_TRANSLATE_NOOP("CellText", "K型"), QT_TRANSLATE_NOOP("CellText", "L型")},
                             {nullptr, "K型", "L型"}, 3, 0b110};

namespace {

const char kUnknown[] = QT_TRANSLATE_NOOP("CellText", "未知");

QString word(const char *source)
{
    return QCoreApplication::translate("CellText", source);
}

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

int CellText::maxOf(const ParamCell &cell, int bedWidth)
{
    return cell.max == kBedWidth ? bedWidth : cell.max;
}

QString CellText::show(const ParamCell &cell, unsigned short stored)
{
    switch (cell.kind) {
    case CellKind::Empty:
        return QString();
    case CellKind::Choice: {
        const char *text = stored < 3 && cell.choices ? cell.choices->shown[stored] : nullptr;
        return word(text ? text : kUnknown);
    }
    case CellKind::Signed:
    case CellKind::Taught:
        return QString::number(int(stored) - cell.bias);
    default:
        return QString::number(stored);
    }
}

CellText::Parsed CellText::parse(const ParamCell &cell, const QString &text, int bedWidth)
{
    int value = 0;
    if (cell.kind == CellKind::Choice)
        return {UnknownChoice, 0};
    if (cell.kind == CellKind::Empty || !number(text, isSigned(cell), &value))
        return {OutOfRange, 0};
    return inRange(cell, value, bedWidth);
}

CellText::Parsed CellText::choose(const ParamCell &cell, int choice, int bedWidth)
{
    if (cell.kind != CellKind::Choice || choice < 0)
        return {UnknownChoice, 0};
    return inRange(cell, choice, bedWidth);
}

CellText::Parsed CellText::inRange(const ParamCell &cell, int value, int bedWidth)
{
    if (value < cell.min || value > maxOf(cell, bedWidth))
        return {OutOfRange, 0};
    return {Value, static_cast<unsigned short>(value + cell.bias)};
}

int CellText::shownChoice(const ParamCell &cell, unsigned short stored)
{
    if (cell.kind != CellKind::Choice || !cell.choices || stored > 2 || !cell.choices->shown[stored])
        return -1;
    return (cell.choices->confirmable >> stored) & 1 ? stored : -1;
}

int CellText::typedChoice(const ParamCell &cell, int digit)
{
    if (cell.kind != CellKind::Choice || !cell.choices || digit < 0 || digit > 2 || !cell.choices->typed[digit])
        return -1;
    return digit;
}

QString CellText::typed(const ParamCell &cell, int digit)
{
    const int choice = typedChoice(cell, digit);
    return choice < 0 ? QString() : word(cell.choices->typed[choice]);
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

QString CellText::translated(const QString &source)
{
    return source.isEmpty() ? source : QCoreApplication::translate("ParamCell", source.toUtf8().constData());
}

QString CellText::help(const ParamCell &cell, int bedWidth)
{
    QString text = translated(cell.help);
    if (cell.max == kBedWidth)
        text += QString::number(bedWidth);
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
