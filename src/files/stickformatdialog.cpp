#include "stickformatdialog.h"

#include "ui/operatordialogs.h"

StickFormatDialog::StickFormatDialog(QWidget *parent)
    : DiskFormatPage(parent, "StickFormatDialog", QStringLiteral("U Disk Format tools"), tr("U盘格式化工具"))
{
    addButton(tr("E. U盘格式化"), Qt::Key_E, [this] { ready(); });
}

void StickFormatDialog::ready()
{
    if (askYesNo(this, tr("警告: 格式化将删除U盘上的所有数据 !是否格式化 ?")))
        runChain(chain_.steps());
}
