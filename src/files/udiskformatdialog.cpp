#include "udiskformatdialog.h"

#include "ui/operatordialogs.h"

UDiskFormatDialog::UDiskFormatDialog(QWidget *parent)
    : DiskFormatPage(parent, "UDiskFormatDialog", QStringLiteral("U Disk Format tools"), tr("U盘格式化工具"))
{
    addButton(tr("E. U盘格式化"), Qt::Key_E, [this] { ready(); });
}

void UDiskFormatDialog::ready()
{
    if (askYesNo(this, tr("警告: 格式化将删除U盘上的所有数据 !是否格式化 ?")))
        runChain(chain_.steps());
}
