#pragma once

#include <QCoreApplication>
#include <QString>

// The operator texts of the controller's alarms, by alarm type and code.
class AlarmTexts
{
    Q_DECLARE_TR_FUNCTIONS(AlarmTexts)

public:
    // The text of a known type 1-3 code; "报警" type " - " code for an unknown code of a known
    // type; "未知类型" type code (no separator) for any other type. Always the source text: the
    // alarm journal and the office's messages read the same from every machine.
    static QString alarmSource(unsigned char type, unsigned char code);
    // The same text in the panel's language, for the screen.
    static QString shown(unsigned char type, unsigned char code);
    // A journal's text in the panel's language while it is still the text of its code; as it
    // was logged otherwise (a text of an older table, a line written by hand).
    static QString shown(int type, int code, const QString &logged);
    // True when the pair has its own text in the tables.
    static bool isKnown(unsigned char type, unsigned char code);
    // The UPS power-loss alarm that also asks whether to shut down.
    static bool isUpsPowerLoss(unsigned char type, unsigned char code) { return type == 2 && code == 32; }

private:
    static QString text(unsigned char type, unsigned char code, QString (*in)(const char *));
};
