#include "flashdiskformatdialog.h"

#include "ui/operatordialogs.h"

FlashDiskFormatDialog::FlashDiskFormatDialog(QWidget *parent)
    : DiskFormatPage(parent, "FlashDiskFormatDialog", QStringLiteral("Hard Disk Format tools"), tr("电子硬盘格式化工具"))
{
    addButton(tr("E.硬盘格式化"), Qt::Key_E, [this] { ready(); });
    addButton(tr("M.硬盘修复"), Qt::Key_M, [this] { repairDisk(); });
}

void FlashDiskFormatDialog::ready()
{
    if (askYesNo(this, tr("警告: 格式化将删除电子硬盘上的所有数据 !是否格式化 ?")))
        runChain(chain_.steps());
}

void FlashDiskFormatDialog::repairDisk()
{
    if (askYesNo(this, tr("是否修复电子硬盘上的文件 ?")))
        runChain(chain_.repairSteps());
}
