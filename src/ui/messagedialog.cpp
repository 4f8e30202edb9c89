#include "messagedialog.h"

#include "beepingbutton.h"

MessageDialog::MessageDialog(QWidget *parent, const char *name, bool modal)
    : MessageFrame(parent, name ? name : "messagedialog", modal)
{
    okButton()->move((kGeometry.width() - kButtonSize.width()) / 2, kButtonY);
}
