#include "stickimportdialog.h"

#include "fileoperatedialog.h"

#include "ui/operatordialogs.h"

#include <QFile>

StickImportDialog::StickImportDialog(const QString &destination, const QString &startDir, const QString &filter, QWidget *parent)
    : StickBrowser(startDir, filter, parent, "inputfiledialog")
    , destination_(destination)
{
    addEnterButton(tr("导     入"), [this] { importFiles(); });
}

bool StickImportDialog::openFileFromStick(const QString &destination, const QString &caption, const QString &startDir,
                                         const QString &filter, QWidget *parent)
{
    QByteArray chosen;
    return openFileFromStick(destination, caption, startDir, filter, parent, &chosen);
}

bool StickImportDialog::openFileFromStick(const QString &destination, const QString &caption, const QString &startDir,
                                         const QString &filter, QWidget *parent, QByteArray *chosen)
{
    StickImportDialog dialog(destination, startDir, filter, parent);
    dialog.setTitleLine(caption);
    const bool copied = dialog.exec() == QDialog::Accepted;
    *chosen = copied ? dialog.chosen_ : QByteArray();
    return copied;
}

void StickImportDialog::importFiles()
{
    const NativeFs::Entry *e = currentEntry();
    if (!e || e->dir)
        return;
    if (FileOperateDialog::copyNative(currentPath(), QFile::encodeName(destination_), this)) {
        chosen_ = currentPath();
        accept();
        return;
    }
    showMessage(this, tr("导入文件失败 !"));
    reject();
}
