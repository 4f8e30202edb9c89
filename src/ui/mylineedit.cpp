#include "mylineedit.h"

#include "buzzer.h"
#include "panelfonts.h"

MyLineEdit::MyLineEdit(QWidget *parent, const char *name)
    : QLineEdit(parent)
{
    if (name)
        setObjectName(QString::fromLatin1(name));
    setFont(PanelFonts::edit());
    connect(this, &QLineEdit::textEdited, this, [] { buzzer(kKeyBeepMs); });
}
