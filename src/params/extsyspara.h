#pragma once

#include "ui/mydialog.h"

#include <QList>

class MachineData;
class MyMenu;
class QShortcut;

// The system tools menu: a common page and a more page behind a password. An item opens its
// page in the controller's parameter update of the page's object code, or turns the menu's
// page; every item is one row of the menu's table, in the order the choice is tested.
class extsyspara : public MyDialog
{
    Q_OBJECT

public:
    enum Page { Common, More };
    // One item of the menu's table (extsyspara.cpp).
    struct Item;

    explicit extsyspara(MachineData &machine, QWidget *parent = nullptr, const char *name = "extsyspara");

    Page page() const { return page_; }

public Q_SLOTS:
    void slot_press(const QString &text);
    // Passes the desktop settings' change on to the main window.
    void slot_desktop_change(const QString &path);
    // The more page's items 5, 6 and 8.
    void desktopSettings();
    void touchCalibration();
    void factoryConfiguration();

Q_SIGNALS:
    void signal_desktop_updata(const QString &path);

private:
    void fill(Page page);
    bool passwordGiven(const char *prompt);
    void openFrame(const Item &item);

    MachineData &machine_;
    MyMenu *menu_;
    Page page_ = Common;
    QList<QShortcut *> functionKeys_;
};
