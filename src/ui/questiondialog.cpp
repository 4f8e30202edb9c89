#include "questiondialog.h"

#include "beepingbutton.h"
#include "panelfonts.h"

QuestionDialog::QuestionDialog(QWidget *parent, const char *name, bool modal)
    : MessageFrame(parent, name ? name : "questiondialog", modal)
{
    okButton()->move(60, kButtonY);
    quit_ = new BeepingButton(tr("取  消"), this, "Button_quit");
    quit_->setGeometry(QRect(QPoint(220, kButtonY), kButtonSize));
    quit_->setFont(PanelFonts::panel(16));
    quit_->setAutoDefault(false);
    connect(quit_, &QPushButton::clicked, this, &QDialog::reject);
}
