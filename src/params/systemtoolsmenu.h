#pragma once

#include "ui/screenframe.h"

#include <QList>

class MachineData;
class ListMenu;
class QShortcut;
class QuickPages;

// The system tools menu: a common page and a more page behind a password. An item opens its
// page in the controller's parameter update of the page's object code, or turns the menu's
// page; every item is one row of the menu's table, in the order the choice is tested.
class SystemToolsMenu : public ScreenFrame
{
    Q_OBJECT

public:
    enum Page { Common, More };
    // One item of the menu's table (systemtoolsmenu.cpp).
    struct Item;

    // pages: the pages of other screens the menu opens (history, service pages, formatting,
    // touch calibration).
    SystemToolsMenu(MachineData &machine, const QuickPages &pages, QWidget *parent = nullptr, const char *name = "systemtoolsmenu");

    Page page() const { return page_; }
    ListMenu *menu() const { return menu_; }

public Q_SLOTS:
    void chooseItem(int column, int row);
    // The more page's items 6 and 8.
    void touchCalibration();
    void factoryConfiguration();

private:
    void fill(Page page);
    bool passwordGiven(const char *prompt);
    void openFrame(const Item &item);

    MachineData &machine_;
    const QuickPages &pages_;
    ListMenu *menu_;
    Page page_ = Common;
    QList<QShortcut *> functionKeys_;
};
