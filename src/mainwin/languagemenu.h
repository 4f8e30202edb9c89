#pragma once

#include "logic/mainwin/translations.h"
#include "ui/screenframe.h"

#include <QVector>

class ListMenu;

// The language menu (quick function 8 and the desktop picture's corner): the installed
// languages, each by its own name and never translated, the current one marked. A digit or
// Enter switches the panel at once and saves the choice; the menu stays open, now in the new
// language, until Escape.
class LanguageMenu : public ScreenFrame
{
    Q_OBJECT

public:
    explicit LanguageMenu(QWidget *parent = nullptr);

    ListMenu *menu() const { return menu_; }
    // The item text of a language: "1.中文", "2.English".
    static QString itemText(int index, const Translations::Installed &language);

public Q_SLOTS:
    void chooseItem(int column, int row);

protected:
    void changeEvent(QEvent *event) override;

private:
    void choose(int index);
    void retranslate();

    QVector<Translations::Installed> languages_;
    ListMenu *menu_;
};
