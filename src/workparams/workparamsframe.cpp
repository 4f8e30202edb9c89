#include "workparamsframe.h"

#include "workgrid.h"

#include "ui/beepingtabwidget.h"
#include "ui/panelfonts.h"
#include "ui/workparamkeys.h"

#include <QKeyEvent>

WorkParamsFrame::WorkParamsFrame(const QList<Tab> &tabs, QWidget *parent, const char *name)
    : ScreenFrame(parent, name)
    , table_(tabs)
    , tbar_(new BeepingTabWidget(this, "tbar"))
    , panel_(new WorkParamKeys(this, "workparamkeys"))
{
    setTitleLine(QStringLiteral("Clothing Parameter Setting"));
    setProperty("changed", 0);
    tbar_->setGeometry(10, 55, 620, 365);
    tbar_->setFont(PanelFonts::panel());
    for (const Tab &tab : tabs) {
        const Page page = tab.make(tbar_);
        tbar_->addTab(page.widget, tr(tab.label));
        page.wire(this);
    }
    // Beside the cells, over the empty right of the grid pages, inside the tab frame.
    panel_->setGeometry(520, 100, 104, 3 * 40);
    panel_->raise();
    connect(tbar_, &QTabWidget::currentChanged, this, &WorkParamsFrame::followTab);
    followTab(0);
}

void WorkParamsFrame::showEvent(QShowEvent *event)
{
    // Each run reports what it changed itself.
    setProperty("changed", 0);
    ScreenFrame::showEvent(event);
}

void WorkParamsFrame::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        for (int i = 0; i < int(table_.size()); ++i)
            tbar_->setTabText(i, tr(table_[i].label));
    }
    ScreenFrame::changeEvent(event);
}

WorkParamsFrame::Page WorkParamsFrame::gridPage(MachineData &machine, const WorkPage &page, QWidget *parent)
{
    return wired(new WorkGrid(machine, page, parent));
}

bool WorkParamsFrame::showsPage(const QWidget *page) const
{
    return tbar_->currentWidget() == page;
}

void WorkParamsFrame::markChanged()
{
    setProperty("changed", 1);
}

void WorkParamsFrame::followTab(int page)
{
    // Read by the main window as the dialog closes, so the next one opens here.
    setProperty("tab", page);
    const int type = table_.value(page).panelType;
    panel_->showKeysFor(type);
    panel_->setVisible(type != 0);
}

void WorkParamsFrame::showTab(int index)
{
    if (index < table_.size() && tbar_->currentIndex() != index)
        tbar_->setCurrentIndex(index);
}

void WorkParamsFrame::keyPressEvent(QKeyEvent *event)
{
    const int key = WorkGrid::keypadKey(event->key());
    if (key >= Qt::Key_A && key <= Qt::Key_F) {
        showTab(key - Qt::Key_A);
        return;
    }
    ScreenFrame::keyPressEvent(event);
}
