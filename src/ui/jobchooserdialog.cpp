#include "jobchooserdialog.h"

#include "joblistview.h"
#include "pagekeys.h"

#include "data/machinedata.h"
#include "data/protocol.h"
#include "ui/beepingbutton.h"
#include "ui/keytable.h"
#include "ui/panelpalettes.h"

JobChooserDialog::JobChooserDialog(const MachineData &machine, QWidget *parent, const char *name)
    : ScreenFrame(parent, name ? name : "jobchooserdialog")
{
    setTitleLine(QStringLiteral("Hard Disk File List"));
    setMessageLine(tr("选择要导入的工作参数, 按 < 导入 > ."));
    auto *body = new QWidget(this);
    body->setGeometry(0, 45, 640, 435);
    list_ = new JobListView(body);
    list_->setGeometry(10, 10, 540, 354);
    list_->setSortByTime(machine.panelSettings().word(Protocol::SortByTimeWord) == 1);
    list_->refill();
    new PageKeys(body, QRect(561, 10, 48, 354), 84, 90);
    auto *import = new BeepingButton(tr("导    入"), body, "Benter");
    import->setGeometry(510, 375, 100, 35);
    import->setFocusPolicy(Qt::NoFocus);
    import->setPalette(PanelPalettes().buttonDark());
    connect(import, &QPushButton::clicked, this, &QDialog::accept);
    KeyTable::install(this, {{{Qt::Key_Enter, Qt::Key_Return}, [this] { accept(); }}});
    list_->setFocus();
}

QString JobChooserDialog::chooseJob(const MachineData &machine, const QString &caption, QWidget *parent)
{
    JobChooserDialog dialog(machine, parent);
    dialog.setWindowTitle(caption);
    if (dialog.exec() != QDialog::Accepted || dialog.list()->topLevelItemCount() == 0)
        return QString();
    return dialog.list()->currentName();
}
