#include "textinputdialog.h"

#include "buzzer.h"
#include "panelfonts.h"
#include "panelpalettes.h"

#include <QLineEdit>

TextInputDialog::TextInputDialog(QWidget *parent, const char *name, bool modal)
    : ScreenFrame(parent, name ? name : "textinputdialog", modal)
{
    edit_ = new QLineEdit(this);
    edit_->setObjectName(QStringLiteral("LineEdit"));
    edit_->setGeometry(40, 120, 560, 36);
    edit_->setFont(PanelFonts::edit());
    edit_->setPalette(PanelPalettes().labelWhite());
    edit_->setFocus();
    connect(edit_, &QLineEdit::returnPressed, this, &QDialog::accept);
    connect(edit_, &QLineEdit::textChanged, this, [] { buzzer(kKeyBeepMs); });
}

QString TextInputDialog::text() const
{
    const QString t = edit_->text();
    return t.isNull() ? QStringLiteral("") : t;
}

void TextInputDialog::clearPage()
{
    edit_->clear();
    ScreenFrame::clearPage();
}
