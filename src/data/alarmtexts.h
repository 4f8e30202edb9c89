#pragma once

#include <QString>

// The operator texts of the controller's alarms, by alarm type and code.
class AlarmTexts
{
public:
    // The text of a known type 1-3 code; "报警" type " - " code for an unknown code of a known
    // type; "未知类型" type code (no separator) for any other type.
    static QString errorcode(unsigned char type, unsigned char code);
    // True when the pair has its own text in the tables.
    static bool isKnown(unsigned char type, unsigned char code);
    // The UPS power-loss alarm that also asks whether to shut down.
    static bool isUpsPowerLoss(unsigned char type, unsigned char code) { return type == 2 && code == 32; }
};
