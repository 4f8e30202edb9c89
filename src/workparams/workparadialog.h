#pragma once

#include "ui/screenframe.h"

#include <functional>

class MachineData;
class BeepingTabWidget;
class WorkParamKeys;

// The frame of the work-parameter dialogs: pages in the tab bar "tbar" on keys A-F (and
// F1-F6), the key column that suits the page, and the "changed" flag a run raises when a
// page is about to change a value on the controller (the main window then saves the job's .wrk).
class WorkParaDialog : public ScreenFrame
{
    Q_OBJECT

public:
    // A tab's page and how it joins the dialog: help line, "changed", the clear button on the
    // page shown.
    struct Page
    {
        QWidget *widget;
        std::function<void(WorkParaDialog *dialog)> wire;
    };
    struct Tab
    {
        const char *label;
        std::function<Page(QWidget *parent)> make;
        int panelType; // 0: no key column
    };

    BeepingTabWidget *tabs() const { return tbar_; }
    WorkParamKeys *keyPanel() const { return panel_; }
    bool changed() const { return property("changed").toInt() == 1; }
    // The tab at index, when there is one. Invokable: the main window calls it by name.
    Q_INVOKABLE void showTab(int index);

public Q_SLOTS:
    void markChanged();
    void showFrameMessage(const QString &text) { setMessageLine(text); }
    void acceptChangeWish() {}
    void followTab(int page);
    void showTabA() { showTab(0); }
    void showTabB() { showTab(1); }
    void showTabC() { showTab(2); }
    void showTabD() { showTab(3); }
    void showTabE() { showTab(4); }
    void showTabF() { showTab(5); }

protected:
    WorkParaDialog(const QList<Tab> &tabs, QWidget *parent, const char *name);
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;
    // In another language: the tabs' labels.
    void changeEvent(QEvent *event) override;

private:
    QList<Tab> table_;
    BeepingTabWidget *tbar_;
    WorkParamKeys *panel_;
};

// The work parameters of the job: density, speed, rollers, carrier parking, replacement and
// piece expansion; built once by the main window and kept.
class JobParamsDialog : public WorkParaDialog
{
    Q_OBJECT
public:
    explicit JobParamsDialog(MachineData &machine, QWidget *parent = nullptr, const char *name = "para");
};

// The yarn feeders, on their own key (4).
class YarnFeederDialog : public WorkParaDialog
{
    Q_OBJECT
public:
    explicit YarnFeederDialog(MachineData &machine, QWidget *parent = nullptr, const char *name = "paraelse");
};
