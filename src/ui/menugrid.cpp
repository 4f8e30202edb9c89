#include "menugrid.h"

#include "buzzer.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPushButton>
#include <QShortcut>

MenuGrid::MenuGrid(QWidget *parent, const char *name, const ItemFactory &makeItem)
    : BeepingButtonGroup(parent, name)
{
    const QRect last = itemRect(kColumns - 1, kRows - 1);
    resize(last.right() + 11, last.bottom() + 11);
    for (int c = 0; c < kColumns; ++c) {
        for (int r = 0; r < kRows; ++r) {
            QPushButton *b = makeItem(this);
            b->setObjectName(QStringLiteral("Bmenu"));
            b->setGeometry(itemRect(c, r));
            b->setFocusPolicy(Qt::StrongFocus);
            items_[c * kRows + r] = b;
            insert(b, c * kRows + r);
        }
    }
    connect(this, &BeepingButtonGroup::released, this, [this](int id) {
        if (id >= 0 && id < int(items_.size()) && !sources_[std::size_t(id)].isEmpty())
            Q_EMIT itemChosen(id / kRows, id % kRows);
    });
    // The keypad's arrow and Enter keys; shortcuts reach the menu before the focused button.
    bindKey(Qt::Key_Left, &MenuGrid::moveLeft);
    bindKey(Qt::Key_Right, &MenuGrid::moveRight);
    bindKey(Qt::Key_Up, &MenuGrid::moveUp);
    bindKey(Qt::Key_Down, &MenuGrid::moveDown);
    bindKey(Qt::Key_Enter, &MenuGrid::enterFocused);
    bindKey(Qt::Key_Return, &MenuGrid::enterFocused);
    items_[0]->setFocus();
}

void MenuGrid::bindKey(int key, void (MenuGrid::*slot)())
{
    auto *shortcut = new QShortcut(QKeySequence(key), this);
    shortcut->setContext(Qt::WidgetWithChildrenShortcut);
    connect(shortcut, &QShortcut::activated, this, [this, slot] {
        buzzer(kKeyBeepMs);
        (this->*slot)();
    });
}

QRect MenuGrid::itemRect(int column, int row)
{
    return QRect(QPoint(10 + 305 * column, 10 + 50 * row), QPoint(304 + 305 * column, 54 + 50 * row));
}

QPushButton *MenuGrid::item(int column, int row) const
{
    if (column < 0 || column >= kColumns || row < 0 || row >= kRows)
        return nullptr;
    return items_[column * kRows + row];
}

void MenuGrid::setItem(int column, int row, const QString &text, const QIcon &icon, int accelerator)
{
    QPushButton *b = item(column, row);
    if (!b)
        return;
    const auto index = std::size_t(column * kRows + row);
    sources_[index] = text;
    notes_[index] = nullptr;
    arguments_[index].reset();
    b->setText(shown(index));
    b->setIcon(icon);
    b->setShortcut(accelerator ? QKeySequence(accelerator) : QKeySequence());
}

void MenuGrid::setContext(const char *context)
{
    context_ = context;
}

void MenuGrid::setNote(int column, int row, const char *note)
{
    if (item(column, row)) {
        const auto index = std::size_t(column * kRows + row);
        notes_[index] = note;
        relabel(index);
    }
}

void MenuGrid::setArgument(int column, int row, const QString &argument)
{
    if (item(column, row)) {
        const auto index = std::size_t(column * kRows + row);
        arguments_[index] = argument;
        relabel(index);
    }
}

QString MenuGrid::withArgument(const QString &text, std::size_t index) const
{
    return arguments_[index] ? text.arg(*arguments_[index]) : text;
}

void MenuGrid::relabel(std::size_t index)
{
    // A button's new text replaces its shortcut with the text's mnemonic: the item's key is
    // kept.
    QPushButton *b = items_[index];
    const QKeySequence key = b->shortcut();
    b->setText(shown(index));
    b->setShortcut(key);
}

QString MenuGrid::shown(std::size_t index) const
{
    const QString &source = sources_[index];
    const QString text = withArgument(context_ && !source.isEmpty()
        ? QCoreApplication::translate(context_, source.toUtf8().constData()) : source, index);
    if (!notes_[index])
        return text;
    return text + (context_ ? QCoreApplication::translate(context_, notes_[index]) : QString::fromUtf8(notes_[index]));
}

void MenuGrid::changeEvent(QEvent *event)
{
    // Only the labels change: the focus and what each item reports stay as they were.
    if (event->type() == QEvent::LanguageChange) {
        for (std::size_t i = 0; i < items_.size(); ++i)
            relabel(i);
    }
    BeepingButtonGroup::changeEvent(event);
}

bool MenuGrid::focused(int &column, int &row) const
{
    for (column = 0; column < kColumns; ++column) {
        for (row = 0; row < kRows; ++row) {
            if (item(column, row)->hasFocus())
                return true;
        }
    }
    return false;
}

void MenuGrid::moveFocus(int column, int row)
{
    if (QPushButton *b = item(column, row))
        b->setFocus(Qt::OtherFocusReason);
}

void MenuGrid::moveUp()
{
    int c, r;
    if (focused(c, r) && r > 0)
        moveFocus(c, r - 1);
}

void MenuGrid::moveDown()
{
    int c, r;
    if (focused(c, r) && r < kRows - 1)
        moveFocus(c, r + 1);
}

void MenuGrid::moveLeft()
{
    int c, r;
    if (focused(c, r) && c == 1)
        moveFocus(0, r);
}

void MenuGrid::moveRight()
{
    int c, r;
    if (focused(c, r) && c == 0)
        moveFocus(1, r);
}

void MenuGrid::enterFocused()
{
    int c, r;
    if (focused(c, r) && !sources_[std::size_t(c * kRows + r)].isEmpty())
        Q_EMIT itemChosen(c, r);
}
