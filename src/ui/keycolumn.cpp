#include "keycolumn.h"

#include "ui/keyinjection.h"
#include "ui/panelfonts.h"
#include "ui/panelkeybutton.h"

#include <QEvent>
#include <QVBoxLayout>

KeyColumn::KeyColumn(QWidget *parent, const char *name)
    : BeepingButtonGroup(parent, name)
{
    setFrameShape(QFrame::NoFrame);
    // The buttons beep on their own release; the group's beep would double it.
    setBeeping(false);
    QFont font = PanelFonts::panel(24);
    font.setBold(true);
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    // Twelve keys of 40 pixels take the screen's whole height: no pixel to spare between them.
    column->setSpacing(0);
    for (int id = 0; id < kButtons; ++id) {
        auto *button = new PanelKeyButton(this, "Bmenu");
        button->setFont(font);
        button->setMinimumHeight(kKeyHeight);
        button->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
        button->hide();
        column->addWidget(button);
        insert(button, id);
        buttons_[id] = button;
    }
    // Hidden buttons take no room, so the shown ones stay together at the top.
    column->addStretch(1);
    connect(this, &BeepingButtonGroup::released, this, &KeyColumn::postKey);
}

int KeyColumn::defaultKey(int id)
{
    static const int keys[kButtons] = {Qt::Key_1, Qt::Key_2, Qt::Key_3, Qt::Key_4, Qt::Key_5,
                                       Qt::Key_6, Qt::Key_7, Qt::Key_8, Qt::Key_9, Qt::Key_0,
                                       Qt::Key_Minus, Qt::Key_Enter, Qt::Key_M};
    return id >= 0 && id < kButtons ? keys[id] : 0;
}

PanelKeys KeyColumn::digitKeys()
{
    PanelKeys keys;
    for (int id = 0; id < 10; ++id)
        keys.append({QString(QChar(defaultKey(id))), defaultKey(id)});
    return keys;
}

PanelKeyButton *KeyColumn::button(int id) const
{
    return id >= 0 && id < kButtons ? buttons_[id] : nullptr;
}

void KeyColumn::showKeysFor(int code)
{
    code_ = code;
    shown_ = keysFor(code).mid(0, kButtons);
    for (int id = 0; id < kButtons; ++id) {
        const bool shown = id < shown_.size();
        buttons_[id]->setText(shown ? shown_[id].label : QString());
        buttons_[id]->setVisible(shown);
    }
}

void KeyColumn::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange && code_ >= 0)
        showKeysFor(code_);
    BeepingButtonGroup::changeEvent(event);
}

void KeyColumn::postKey(int id)
{
    if (id >= 0 && id < shown_.size())
        KeyInjection::post(shown_[id].key);
}
