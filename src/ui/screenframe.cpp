#include "screenframe.h"

#include "beepingbutton.h"
#include "panelfonts.h"
#include "panelpalettes.h"

#include <QLabel>

namespace {

QLabel *darkLabel(QWidget *parent, const char *name, const QRect &rect)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(rect);
    label->setAutoFillBackground(true);
    label->setPalette(PanelPalettes().labelDark());
    return label;
}

BeepingButton *darkButton(QWidget *parent, const char *name, const QString &text, const QRect &rect, int key)
{
    auto *button = new BeepingButton(text, parent, name);
    button->setGeometry(rect);
    button->setPalette(PanelPalettes().labelDark());
    button->setFont(PanelFonts::title());
    button->setShortcut(QKeySequence(key));
    button->setFocusPolicy(Qt::NoFocus);
    button->setAutoDefault(false);
    return button;
}

} // namespace

ScreenFrame::ScreenFrame(QWidget *parent, const char *name, bool modal, Qt::WindowFlags flags, unsigned char mode)
    : QDialog(parent, flags)
    , mode_(mode)
{
    setObjectName(name ? QString::fromLatin1(name) : QStringLiteral("screenframe"));
    setModal(modal);
    setGeometry(0, 0, 640, 480);
    setFixedSize(640, 480);
    setPalette(PanelPalettes().labelWhite());
    setAutoFillBackground(true);

    ltitle_ = darkLabel(this, "ltitle", QRect(0, 0, 540, 28));
    ltitle_->setFont(PanelFonts::title());
    edit_msg_ = darkLabel(this, "edit_msg", QRect(0, 28, 540, 17));
    edit_msg_->setFont(PanelFonts::panel());
    close_ = darkButton(this, "Bclose", QStringLiteral("X"), QRect(540, 0, 45, 45), Qt::Key_Escape);
    filler_ = darkLabel(this, "lfiller", QRect(585, 0, 10, 45));
    clear_ = darkButton(this, "Bclear", QStringLiteral("C"), QRect(595, 0, 45, 45), Qt::Key_Backspace);

    connect(close_, &QPushButton::clicked, this, &ScreenFrame::closePage);
    connect(clear_, &QPushButton::clicked, this, &ScreenFrame::clearPage);
}

void ScreenFrame::setTitleLine(const QString &text)
{
    ltitle_->setText(text);
}

void ScreenFrame::setMessageLine(const QString &text)
{
    edit_msg_->setText(text);
}

void ScreenFrame::closePage()
{
    Q_EMIT closeRequested();
    reject();
}

void ScreenFrame::clearPage()
{
    Q_EMIT clearRequested();
}
