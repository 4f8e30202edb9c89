#pragma once

#include "keycolumn.h"

// The key column of the program editor, by the field code the editor emits (group x 4 +
// index): function keys "A / F1" ... for the fields that take letters (the table in
// programeditorkeys.cpp, now the racking field alone), a numeric keypad with Enter for all others.
// The keypad has no "-" key: no editor field takes a sign, and "-" is the editor's
// system-exchange key, which a key beside a number must not trigger.
class ProgramEditorKeys : public KeyColumn
{
    Q_OBJECT

public:
    explicit ProgramEditorKeys(QWidget *parent = nullptr, const char *name = nullptr);

    static constexpr int fieldCode(int group, int index) { return group * 4 + index; }
    static PanelKeys keys(int code);

protected:
    PanelKeys keysFor(int code) const override { return keys(code); }
};
