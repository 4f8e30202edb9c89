// CntEdit's keys: a touch or a key on a field, the arrows between fields, digits and letters
// typed into the field, and the page's buttons reached by their keys.
#include "cntedit.h"

#include "ui/beepingbutton.h"
#include "ui/buzzer.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace {

bool isDigit(int key)
{
    return key >= Qt::Key_0 && key <= Qt::Key_9;
}

} // namespace

bool CntEdit::eventFilter(QObject *watched, QEvent *event)
{
    auto *edit = qobject_cast<QLineEdit *>(watched);
    if (!edit)
        return ScreenFrame::eventFilter(watched, event);
    if (event->type() == QEvent::MouseButtonPress) {
        for (int g = 0; g < CntStore::kGroups; ++g) {
            for (int i = 0; i < CntStore::kIndices; ++i) {
                if (fields_[std::size_t(g)][std::size_t(i)] == edit) {
                    buzzer(kKeyBeepMs);
                    select(g, i);
                    openKeyPanel();
                }
            }
        }
        return true;
    }
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride)
        return false;
    auto *k = static_cast<QKeyEvent *>(event);
    // Escape is the page's close key; every other key is the page's to handle.
    if (k->key() == Qt::Key_Escape)
        return false;
    if (event->type() == QEvent::ShortcutOverride) {
        event->accept();
        return true;
    }
    if (key(k->key(), k->text()))
        buzzer(kKeyBeepMs);
    return true;
}

bool CntEdit::key(int key, const QString &text)
{
    for (BeepingButton *b : buttons_) {
        if (b->property("key").toInt() == key) {
            if (b->isEnabled())
                b->click();
            return false; // the button beeps itself
        }
    }
    switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
        move(key);
        return true;
    case Qt::Key_Backspace:
        selectField();
        return true;
    case Qt::Key_Enter:
        buzzer(kKeyBeepMs);
        messageEnterKey();
        return false;
    default:
        typeKey(key, text);
        return isDigit(key) || (key >= Qt::Key_A && key <= Qt::Key_F);
    }
}

void CntEdit::move(int key)
{
    const CntStore::Place to = CntStore::moved(group_, index_, key);
    select(to.group, to.index);
}

void CntEdit::typeKey(int key, const QString &text)
{
    QLineEdit *edit = fields_[std::size_t(group_)][std::size_t(index_)];
    const CntStore::Kind kind = store_.field(group_, index_).kind;
    if (kind == CntStore::Carriers) {
        if (key >= Qt::Key_1 && key <= Qt::Key_8)
            toggle(index_ == 0 ? 0 : 1, key - Qt::Key_1);
        return;
    }
    if (kind == CntStore::Bed) {
        edit->setText(CntStore::rackingKey(edit->text(), key));
        return;
    }
    const bool takesDigits = kind == CntStore::Density || group_ >= 7;
    if (takesDigits && isDigit(key))
        edit->insert(text.isEmpty() ? QString(QChar('0' + key - Qt::Key_0)) : text.left(1));
}
