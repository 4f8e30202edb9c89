#pragma once

#include <QString>

// The racking table's stored form 1000 + d and the coarse and fine values the operator sees:
// d = 10 * coarse + fine, the coarse part a sign and a magnitude, so "-0" with fine 3 is -3.
class RackingValue
{
public:
    static constexpr int kZero = 1000;
    static constexpr int kCoarseMax = 99;
    static constexpr int kFineMax = 9;

    // The racking table in the system block: 3 columns of 17 positions (0, R1-R8, L1-L8), 18 words a
    // column from word 84; group 8 takes a position's value at its index, moves the racking to
    // it at 256 + index, and takes one value for a whole column at 513 + column.
    static constexpr int kColumns = 3;
    static constexpr int kPositions = 17;
    static constexpr int kFirstWord = 84;
    static constexpr int kColumnWords = 18;
    static constexpr int kMoveIndex = 256;
    static constexpr int kColumnIndex = 513;
    static int index(int column, int row) { return kColumnWords * column + row; }
    static int word(int column, int row) { return kFirstWord + index(column, row); }
    // "0", "R1" ... "R8", "L1" ... "L8"
    static QString position(int row);

    // What a pair of texts gives; the four failures keep the order they are checked in.
    enum Result { Ok, CoarseInvalid, CoarseOutOfRange, FineInvalid, FineOutOfRange };

    // The coarse text ("-0" counts as negative) moved by step (-1, 0 or +1) with the sign
    // rule, and the fine text: *stored is 1000 + d when the result is Ok.
    static Result encode(const QString &coarse, const QString &fine, int step, unsigned short *stored);

    // The coarse text of a stored value ("-0" for d from -1 to -9) and its fine value.
    static QString coarseText(unsigned short stored);
    static int fine(unsigned short stored);
};
