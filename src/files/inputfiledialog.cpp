#include "inputfiledialog.h"

#include "fileoperatedialog.h"

#include "ui/operatordialogs.h"

#include <QFile>

inputfiledialog::inputfiledialog(const QString &destination, const QString &startDir, const QString &filter, QWidget *parent)
    : filedialog(startDir, filter, parent, "inputfiledialog")
    , destination_(destination)
{
    addEnterButton(QStringLiteral("导     入"), [this] { inputfile(); });
}

bool inputfiledialog::getopenfilefromusb(const QString &destination, const QString &caption, const QString &startDir,
                                         const QString &filter, QWidget *parent)
{
    inputfiledialog dialog(destination, startDir, filter, parent);
    dialog.setdialogtitle(caption);
    return dialog.exec() == QDialog::Accepted;
}

void inputfiledialog::inputfile()
{
    const NativeFs::Entry *e = currentfile();
    if (!e || e->dir)
        return;
    if (FileOperateDialog::copyNative(currentPath(), QFile::encodeName(destination_), this)) {
        accept();
        return;
    }
    DIAMESSAGE(this, QStringLiteral("导入文件失败 !"));
    reject();
}
