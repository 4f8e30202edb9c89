#include "pagebuttons.h"

#include "ui/beepingbutton.h"
#include "ui/panelfonts.h"

#include <QHBoxLayout>

PageButtons::PageButtons(QWidget *parent, const char *name)
    : QWidget(parent)
    , name_(name)
{
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 4, 0, 0);
}

BeepingButton *PageButtons::add(const QString &text, std::function<void()> action)
{
    auto *button = new BeepingButton(text, this, name_.constData());
    button->setFocusPolicy(Qt::NoFocus);
    button->setAutoDefault(false);
    button->setFont(PanelFonts::panel());
    button->setMinimumHeight(36);
    layout()->addWidget(button);
    connect(button, &QPushButton::clicked, this, [action] { action(); });
    return button;
}
