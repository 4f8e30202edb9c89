#include "keyinjection.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

bool KeyInjection::injectable(int key)
{
    // A-H because the main screen's picture keys run to H; the key panels use A-F and M.
    if ((key >= Qt::Key_0 && key <= Qt::Key_9) || (key >= Qt::Key_A && key <= Qt::Key_H))
        return true;
    switch (key) {
    case Qt::Key_Minus:
    case Qt::Key_Enter:
    case Qt::Key_M:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Backspace:
        return true;
    default:
        return false;
    }
}

QString KeyInjection::text(int key)
{
    if (key == Qt::Key_Enter)
        return QStringLiteral("\r");
    // Qt's codes for digits, letters and "-" are their ASCII characters.
    if ((key >= Qt::Key_0 && key <= Qt::Key_9) || (key >= Qt::Key_A && key <= Qt::Key_H) || key == Qt::Key_M
        || key == Qt::Key_Minus)
        return QString(QChar(key));
    return QString();
}

bool KeyInjection::post(int key)
{
    if (!injectable(key))
        return false;
    QWidget *target = QApplication::focusWidget();
    if (!target)
        return false;
    // The keypad's Enter is told from Return by its modifier, as the real keypad sends it.
    const Qt::KeyboardModifiers modifiers = key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier;
    const QString chars = text(key);
    QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyPress, key, modifiers, chars));
    QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyRelease, key, modifiers, chars));
    return true;
}
