#include "celledit.h"

#include "buzzer.h"
#include "panelfonts.h"

CellEdit::CellEdit(QWidget *parent, const char *name)
    : QLineEdit(parent)
{
    if (name)
        setObjectName(QString::fromLatin1(name));
    setFont(PanelFonts::edit());
    connect(this, &QLineEdit::textEdited, this, [] { buzzer(kKeyBeepMs); });
}
