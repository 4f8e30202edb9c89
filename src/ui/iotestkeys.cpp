#include "iotestkeys.h"

#include "logic/machinetests/iooutputs.h"

IoTestKeys::IoTestKeys(QWidget *parent, const char *name)
    : KeyColumn(parent, name)
{
}

PanelKeys IoTestKeys::keys(int number)
{
    const IoOutputs::Field *field = IoOutputs::field(number);
    if (!field)
        return {};
    // A number field types digits, restores its value (Backspace) and sends it (Enter).
    if (field->maxNumber >= 0)
        return digitKeys() << PanelKey{tr("取 消"), Qt::Key_Backspace}
                           << PanelKey{tr("确 定"), Qt::Key_Enter};
    // A field of choices: each value the page sends for a digit, labelled as the field shows it.
    PanelKeys keys;
    for (int i = 0; i < field->choiceCount; ++i) {
        const IoOutputs::Choice &c = field->choices[i];
        if (c.key)
            keys.append({IoOutputs::text(c.text), Qt::Key_0 + c.value});
    }
    return keys;
}
