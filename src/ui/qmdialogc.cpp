#include "qmdialogc.h"

#include "mybutton.h"

QMDialogC::QMDialogC(QWidget *parent, const char *name, bool modal)
    : MessageFrame(parent, name ? name : "QMDialogC", modal)
{
    okButton()->move((kGeometry.width() - kButtonSize.width()) / 2, kButtonY);
}
