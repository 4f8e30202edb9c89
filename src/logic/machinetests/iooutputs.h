#pragma once

#include <QByteArray>
#include <QString>

class MachineData;

// The twelve outputs of the input/output test as one table: each field's label, the digits it
// takes or the numbers it accepts, the texts it shows for the controller's values, and its
// hint. The test page and its key panel both read it, so a label on the panel always posts a
// key the page takes.
class IoOutputs
{
public:
    static constexpr int kRows = 4;
    static constexpr int kColumns = 3;
    static constexpr int kCount = kRows * kColumns;
    static constexpr int kStop = 3; // the carriage direction's "停止"

    struct Choice
    {
        int value;
        const char *text;
        bool key; // the digit of the value sends it (the roller direction only shows its stop)
    };
    struct Field
    {
        const char *label;
        const char *hint;
        int maxNumber; // a number field's largest value; -1 for a field of choices
        const Choice *choices;
        int choiceCount;
    };

    // Fields by test number (column + 3 x row); nullptr outside 0-11.
    static const Field *field(int number);
    static int testNumber(int row, int column) { return column + 3 * row; }
    // The output a field drives: row + 4 x column.
    static int outputIndex(int row, int column) { return row + 4 * column; }
    static bool isDirection(int row, int column) { return row == 3 && column == 1; }

    // The value a digit key sends on a field of choices; -1 when the field ignores it.
    static int digitValue(int number, int digit);
    // The value typed into a number field; false for no number or one above the field's range.
    static bool typedValue(int number, const QString &text, int *value);
    // A label, hint or choice of the table in the operator's language.
    static QString text(const char *source);
    // The text a value shows; current when the field has no text for it.
    static QString shown(int number, int value, const QString &current);
    // A report of the controller's test (12 bytes) taken into data's I/O test block: the
    // output index it set, -1 when it names none of the twelve.
    static int applyReport(MachineData &data, const QByteArray &report);
};
