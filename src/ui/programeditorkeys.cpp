#include "programeditorkeys.h"

namespace {

// A field that takes letters: its first function keys (from "A / F1") and the digits below
// `digits`, so that letters, digits and Enter fit the column of 13.
struct LetterField
{
    int code;
    int letters;
    int digits;
};

// Racking: A and B cycle its outer characters, 0-7 set the middle one.
const LetterField kLetterFields[] = {
    {ProgramEditorKeys::fieldCode(7, 2), 2, 8},
};

} // namespace

ProgramEditorKeys::ProgramEditorKeys(QWidget *parent, const char *name)
    : KeyColumn(parent, name)
{
}

PanelKeys ProgramEditorKeys::keys(int code)
{
    for (const LetterField &field : kLetterFields) {
        if (field.code != code)
            continue;
        PanelKeys keys;
        for (int i = 0; i < field.letters; ++i)
            keys.append({QStringLiteral("%1 / F%2").arg(QChar('A' + i)).arg(i + 1), Qt::Key_A + i});
        for (int d = 1; d < field.digits; ++d)
            keys.append(digitKeys().at(d - 1));
        keys.append({QStringLiteral("0"), Qt::Key_0});
        keys.append({tr("确   定"), Qt::Key_Enter});
        return keys;
    }
    return digitKeys() << PanelKey{tr("确   定"), defaultKey(11)};
}
