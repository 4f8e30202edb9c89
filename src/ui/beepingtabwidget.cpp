#include "beepingtabwidget.h"

#include "buzzer.h"

BeepingTabWidget::BeepingTabWidget(QWidget *parent, const char *name)
    : QTabWidget(parent)
{
    if (name)
        setObjectName(QString::fromLatin1(name));
    connect(this, &QTabWidget::currentChanged, this, [] { buzzer(kKeyBeepMs); });
}
