#include "multibutton.h"

#include <QApplication>
#include <QKeyEvent>

multibutton::multibutton(QWidget *parent, const char *name, int key)
    : QPanelButton(parent, name)
    , key_(key)
{
    connect(this, &QPushButton::released, this, [this] { inject(); });
}

bool multibutton::inject() const
{
    QString text;
    switch (key_) {
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Backspace:
        break;
    case Qt::Key_M:
        text = QStringLiteral("M");
        break;
    default:
        return false;
    }
    QWidget *target = QApplication::focusWidget();
    if (!target)
        return false;
    QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyPress, key_, Qt::NoModifier, text));
    QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyRelease, key_, Qt::NoModifier, text));
    return true;
}
