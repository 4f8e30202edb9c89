#pragma once

#include "carrierremap.h"
#include "cntrow.h"
#include "cntrowtexts.h"

#include <QPair>
#include <QString>
#include <QVector>

// Turns a program row into the display texts of its fields, with the shared codecs.
class RowCodecRow
{
public:
    static void decode(const CntRow &row, const CarrierRemap &remap, CntRowTexts *out);
    // The texts as "name", "value" pairs in row order, names as in CntRow.
    static QVector<QPair<QString, QString>> fields(const CntRowTexts &texts);
};
