#include "beepingbuttongroup.h"

#include "buzzer.h"

#include <QAbstractButton>
#include <QButtonGroup>

BeepingButtonGroup::BeepingButtonGroup(QWidget *parent, const char *name)
    : QFrame(parent)
    , group_(new QButtonGroup(this))
{
    if (name)
        setObjectName(QString::fromLatin1(name));
    group_->setExclusive(false);
    connect(group_, &QButtonGroup::idReleased, this, [this](int id) {
        if (beeping_)
            buzzer(kKeyBeepMs);
        Q_EMIT released(id);
    });
}

void BeepingButtonGroup::insert(QAbstractButton *button, int id)
{
    group_->addButton(button, id);
}

QAbstractButton *BeepingButtonGroup::find(int id) const
{
    return group_->button(id);
}
