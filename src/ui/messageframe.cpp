#include "messageframe.h"

#include "beepingbutton.h"
#include "panelfonts.h"
#include "panelpalettes.h"

#include <QLabel>

MessageFrame::MessageFrame(QWidget *parent, const char *name, bool modal)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QString::fromLatin1(name));
    setModal(modal);
    setGeometry(kGeometry);
    setFixedSize(kGeometry.size());
    setPalette(PanelPalettes().labelWhite());
    setAutoFillBackground(true);

    title_ = new QLabel(this);
    title_->setObjectName(QStringLiteral("title"));
    title_->setGeometry(0, 0, kGeometry.width(), 32);
    title_->setAlignment(Qt::AlignCenter);
    title_->setFont(PanelFonts::title());
    title_->setPalette(PanelPalettes().labelDark());
    title_->setAutoFillBackground(true);

    text_ = new QLabel(this);
    text_->setObjectName(QStringLiteral("Label"));
    text_->setGeometry(16, 44, kGeometry.width() - 32, 96);
    text_->setAlignment(Qt::AlignCenter);
    text_->setWordWrap(true);
    text_->setFont(PanelFonts::panel(16));

    ok_ = new BeepingButton(tr("确    定"), this, "Button_ok");
    ok_->resize(kButtonSize);
    ok_->setFont(PanelFonts::panel(16));
    ok_->setDefault(true);
    ok_->setFocus();
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
}

void MessageFrame::setTitle(const QString &text)
{
    title_->setText(text);
}

void MessageFrame::setText(const QString &text)
{
    text_->setText(text);
}
