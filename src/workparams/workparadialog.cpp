#include "workparadialog.h"

#include "dialogpieceexpand.h"
#include "dialogreplacemouth.h"
#include "workgrid.h"

#include "ui/multipanel.h"
#include "ui/mytabwidget.h"
#include "ui/panelfonts.h"

#include <QKeyEvent>

namespace {

QWidget *grid(const WorkPage &page, QWidget *parent)
{
    return new WorkGrid(page, parent);
}

} // namespace

WorkParaDialog::WorkParaDialog(const QList<Tab> &tabs, QWidget *parent, const char *name)
    : MyDialog(parent, name)
    , table_(tabs)
    , tbar_(new MyTabWidget(this, "tbar"))
    , panel_(new multipanel(this, "multipanel"))
{
    setdialogtitle(QStringLiteral("Clothing Parameter Setting"));
    setProperty("changed", 0);
    tbar_->setGeometry(10, 55, 620, 365);
    tbar_->setFont(PanelFonts::panel());
    for (const Tab &tab : tabs) {
        QWidget *page = tab.make(tbar_);
        tbar_->addTab(page, QString::fromUtf8(tab.label));
        connect(page, SIGNAL(signal_paintmsg(QString)), this, SLOT(slot_paintmsg(QString)));
        connect(page, SIGNAL(signal_parachange()), this, SLOT(slot_parachange()));
        connect(page, SIGNAL(signal_wantchange()), this, SLOT(slot_wantchange()));
    }
    // Beside the cells, over the empty right of the grid pages.
    panel_->setGeometry(528, 100, 104, 3 * 40);
    panel_->raise();
    // The clear button acts on the page shown; each page kind has clear_press.
    connect(this, &MyDialog::signal_clear, this, [this] { QMetaObject::invokeMethod(tbar_->currentWidget(), "clear_press"); });
    connect(tbar_, &QTabWidget::currentChanged, this, &WorkParaDialog::slot_currentchange);
    slot_currentchange(0);
}

void WorkParaDialog::showEvent(QShowEvent *event)
{
    // Each run reports what it changed itself.
    setProperty("changed", 0);
    MyDialog::showEvent(event);
}

void WorkParaDialog::slot_parachange()
{
    setProperty("changed", 1);
}

void WorkParaDialog::slot_currentchange(int page)
{
    const int type = table_.value(page).panelType;
    panel_->slot_testtype(type);
    panel_->setVisible(type != 0);
}

void WorkParaDialog::showTab(int index)
{
    if (index < table_.size() && tbar_->currentIndex() != index)
        tbar_->setCurrentIndex(index);
}

void WorkParaDialog::keyPressEvent(QKeyEvent *event)
{
    const int key = WorkGrid::keypadKey(event->key());
    if (key >= Qt::Key_A && key <= Qt::Key_F) {
        showTab(key - Qt::Key_A);
        return;
    }
    MyDialog::keyPressEvent(event);
}

para::para(QWidget *parent, const char *name)
    : WorkParaDialog({{"F1.密度设置", [](QWidget *p) { return grid(WorkPage::density(), p); }, multipanel::kPagedType},
                      {"F2.速度设置", [](QWidget *p) { return grid(WorkPage::speed(), p); }, multipanel::kPagedType},
                      {"F3.罗拉设置", [](QWidget *p) { return grid(WorkPage::rora(), p); }, multipanel::kPagedType},
                      {"F4.纱嘴停放", [](QWidget *p) { return grid(WorkPage::mouth(), p); }, multipanel::kParkingType},
                      {"F5.纱嘴替换", [](QWidget *p) { return new dialogreplacemouth(p); }, 0},
                      {"F6.片展开设置", [](QWidget *p) { return new dialogpieceexpand(p); }, 0}},
                     parent, name)
{
}

paraelse::paraelse(QWidget *parent, const char *name)
    : WorkParaDialog({{"F1.送纱器设置", [](QWidget *p) { return grid(WorkPage::songsha(), p); }, multipanel::kPagedType}}, parent, name)
{
}
