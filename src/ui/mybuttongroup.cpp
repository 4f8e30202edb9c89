#include "mybuttongroup.h"

#include "buzzer.h"

#include <QAbstractButton>
#include <QButtonGroup>

MyButtonGroup::MyButtonGroup(QWidget *parent, const char *name)
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

void MyButtonGroup::insert(QAbstractButton *button, int id)
{
    group_->addButton(button, id);
}

QAbstractButton *MyButtonGroup::find(int id) const
{
    return group_->button(id);
}
