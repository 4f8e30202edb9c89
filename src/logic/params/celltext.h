#pragma once

#include "paramcell.h"

#include <QString>

extern const ChoiceSet kOnOff;        // 打开 / 关闭
extern const ChoiceSet kLock;         // 不锁定 / 左锁定 / 右锁定, typed as 不锁定 / 左系统 / 右系统
extern const ChoiceSet kSelectorType; // 单向 / 双向
extern const ChoiceSet kRackingType;  // 后摇 / 前摇
extern const ChoiceSet kBaseType;     // K型 / L型

// A cell's text and its stored value, both ways, with the cell's range; its help line and the
// key panel that suits it. Numbers are decimal; one beyond 16 bits is refused, never wrapped.
// bedWidth is the needle bed's width in the system block, the bound of kBedWidth cells.
class CellText
{
public:
    enum Status { Value, OutOfRange, UnknownChoice };
    struct Parsed
    {
        Status status = OutOfRange;
        unsigned short stored = 0;
    };

    static QString show(const ParamCell &cell, unsigned short stored);
    // The value to store for a number cell's text: a number within the cell's range (plus its
    // bias). A choice cell is not read back from its text: see choose.
    static Parsed parse(const ParamCell &cell, const QString &text, int bedWidth);
    // The value to store for a choice cell in the state choice (shownChoice, typedChoice);
    // UnknownChoice for -1, the state of "未知" and of a shown lock.
    static Parsed choose(const ParamCell &cell, int choice, int bedWidth);
    // The choice a cell stands for when it shows the stored value; -1 when Enter refuses it.
    static int shownChoice(const ParamCell &cell, unsigned short stored);
    // The choice the digit key puts into a choice cell; -1 when it puts none.
    static int typedChoice(const ParamCell &cell, int digit);
    // What the digit key writes into a choice cell; null when it writes nothing.
    static QString typed(const ParamCell &cell, int digit);
    // Whether "-" may be typed: only where a negative value can be right.
    static bool acceptsMinus(const ParamCell &cell);
    // Whether digits go into the cell's text.
    static bool typable(const ParamCell &cell);
    static int maxOf(const ParamCell &cell, int bedWidth);
    // The help line in the operator's language, the bed width after a range that ends there.
    static QString help(const ParamCell &cell, int bedWidth);
    // A label, help line or header of a parameter table (written in Chinese, marked in the
    // "ParamCell" context) in the operator's language.
    static QString translated(const QString &source);
    static int panel(const ParamCell &cell);

    // Decimal digits, with a leading "-" when signed is true; false for anything else or a
    // magnitude beyond 65535.
    static bool number(const QString &text, bool allowSign, int *value);

private:
    static Parsed inRange(const ParamCell &cell, int value, int bedWidth);
};
