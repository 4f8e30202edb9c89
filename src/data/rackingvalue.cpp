#include "rackingvalue.h"

namespace {

// Digits only, at most three of them (more can only be out of range), optionally after "-".
bool parseSigned(const QString &text, bool *negative, int *magnitude)
{
    QString t = text.trimmed();
    *negative = t.startsWith(QLatin1Char('-'));
    if (*negative)
        t.remove(0, 1);
    if (t.isEmpty())
        return false;
    for (const QChar c : t) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    *magnitude = t.size() > 3 ? 1000 : t.toInt();
    return true;
}

} // namespace

RackingValue::Result RackingValue::encode(const QString &coarse, const QString &fine, int step, unsigned short *stored)
{
    bool negative = false;
    int magnitude = 0;
    if (!parseSigned(coarse, &negative, &magnitude))
        return CoarseInvalid;
    if (step > 0) {
        if (!negative)
            ++magnitude;
        else if (magnitude == 0)
            negative = false; // "-0" + 1 turns positive
        else
            --magnitude;
    }
    bool fineNegative = false;
    int fineValue = 0;
    const bool fineOk = parseSigned(fine, &fineNegative, &fineValue);
    if (step < 0) {
        if (negative) {
            ++magnitude;
        } else if (magnitude > 0) {
            --magnitude;
        } else {
            // 0 - 1 keeps the fine part on the negative side: "-0" with a fine part, else "-1".
            negative = true;
            magnitude = fineOk && !fineNegative && fineValue > 0 ? 0 : 1;
        }
    }
    if (magnitude > kCoarseMax)
        return CoarseOutOfRange;
    if (!fineOk)
        return FineInvalid;
    if (fineNegative || fineValue > kFineMax)
        return FineOutOfRange;
    const int d = 10 * magnitude + fineValue;
    *stored = static_cast<unsigned short>(kZero + (negative ? -d : d));
    return Ok;
}

QString RackingValue::coarseText(unsigned short stored)
{
    const int d = int(stored) - kZero;
    const int coarse = d / 10; // toward zero
    if (d < 0 && coarse == 0)
        return QStringLiteral("-0");
    return QString::number(coarse);
}

int RackingValue::fine(unsigned short stored)
{
    const int d = int(stored) - kZero;
    return (d < 0 ? -d : d) % 10;
}

QString RackingValue::position(int row)
{
    if (row <= 0)
        return QStringLiteral("0");
    return (row <= 8 ? QStringLiteral("R") : QStringLiteral("L")) + QString::number(row <= 8 ? row : row - 8);
}
