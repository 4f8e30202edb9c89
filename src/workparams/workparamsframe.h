#pragma once

#include "ui/screenframe.h"

#include <functional>

class MachineData;
class BeepingTabWidget;
class WorkParamKeys;
struct WorkPage;

// The frame of the work-parameter dialogs: pages in the tab bar "tbar" on keys A-F (and
// F1-F6), the key column that suits the page, and the "changed" flag a run raises when a
// page is about to change a value on the controller (the main window then saves the job's .wrk).
class WorkParamsFrame : public ScreenFrame
{
    Q_OBJECT

public:
    // A tab's page and how it joins the dialog: help line, "changed", the clear button on the
    // page shown.
    struct Page
    {
        QWidget *widget;
        std::function<void(WorkParamsFrame *dialog)> wire;
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
    WorkParamsFrame(const QList<Tab> &tabs, QWidget *parent, const char *name);
    // A page joined to the dialog: its help line, its "changed" flag, and the clear button
    // while its tab is shown.
    template <typename Widget>
    static Page wired(Widget *page)
    {
        return {page, [page](WorkParamsFrame *dialog) {
                    connect(page, &Widget::messageChanged, dialog, &WorkParamsFrame::showFrameMessage);
                    connect(page, &Widget::parametersChanged, dialog, &WorkParamsFrame::markChanged);
                    connect(page, &Widget::changeWanted, dialog, &WorkParamsFrame::acceptChangeWish);
                    connect(dialog, &ScreenFrame::clearRequested, page, [dialog, page] {
                        if (dialog->showsPage(page))
                            page->clearKey();
                    });
                }};
    }
    // The grid of one work-parameter page, wired.
    static Page gridPage(MachineData &machine, const WorkPage &page, QWidget *parent);
    bool showsPage(const QWidget *page) const; // its tab is the current one
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;
    // In another language: the tabs' labels.
    void changeEvent(QEvent *event) override;

private:
    QList<Tab> table_;
    BeepingTabWidget *tbar_;
    WorkParamKeys *panel_;
};
