#pragma once

#include "beepingbuttongroup.h"

#include <QIcon>

#include <array>
#include <functional>
#include <optional>

class QPushButton;

// The two-column menu both ListMenu and MarkableListMenu are: 2 x 8 items named "Bmenu", keypad arrows
// moving the focus between them and Enter or a click reporting the chosen item by its cell, so
// the menu's owner dispatches on where an item is, whatever text or language it shows. A cell
// without an item reports nothing.
class MenuGrid : public BeepingButtonGroup
{
    Q_OBJECT

public:
    static constexpr int kColumns = 2;
    static constexpr int kRows = 8;

    static QRect itemRect(int column, int row);

    // Out-of-range cells are ignored; the accelerator 0 sets none.
    void setItem(int column, int row, const QString &text, const QIcon &icon = QIcon(), int accelerator = 0);
    QPushButton *item(int column, int row) const; // nullptr out of range
    // A note shown after an item's text ("(  需修复  )"), translated as the text is; not part
    // of what the item reports. nullptr: none.
    void setNote(int column, int row, const char *note);
    // The value (a version) put in place of an item's "%1", after translating: the item shows
    // and reports its text with the value in place.
    void setArgument(int column, int row, const QString &argument);
    // The translation context of the items' texts (the owner's QT_TRANSLATE_NOOP table): items
    // show their text translated in it, and are relabelled when the language changes. Without
    // one (the default) an item shows its text as it is given.
    void setContext(const char *context);

public Q_SLOTS:
    void moveUp();
    void moveDown();
    void moveLeft();
    void moveRight();
    void enterFocused();

Q_SIGNALS:
    void itemChosen(int column, int row);

protected:
    void changeEvent(QEvent *event) override;

    using ItemFactory = std::function<QPushButton *(QWidget *parent)>;
    MenuGrid(QWidget *parent, const char *name, const ItemFactory &makeItem);

private:
    bool focused(int &column, int &row) const;
    void moveFocus(int column, int row); // beeps like every handled key
    void bindKey(int key, void (MenuGrid::*slot)());
    QString shown(std::size_t index) const;
    void relabel(std::size_t index); // the item's text shown anew, its key kept
    QString withArgument(const QString &text, std::size_t index) const;

    std::array<QPushButton *, kColumns * kRows> items_{};
    std::array<QString, kColumns * kRows> sources_{};
    std::array<const char *, kColumns * kRows> notes_{};
    std::array<std::optional<QString>, kColumns * kRows> arguments_{}; // none: no "%1"
    const char *context_ = nullptr;
};
