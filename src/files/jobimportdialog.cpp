#include "jobimportdialog.h"

#include "ui/fileoperatedialog.h"

#include "logic/files/stickjobimport.h"
#include "ui/beepingcheckbox.h"
#include "ui/operatordialogs.h"

#include <QFile>

JobImportDialog::JobImportDialog(const QString &root, const QString &startDir, QWidget *parent)
    : StickBrowser(startDir, QString(), parent, "inputdirdialog")
    , root_(root)
{
    addEnterButton(tr("导     入"), [this] { inputdir(); });
    work_ = addCheckBox(tr("F7. 导入工作参数"), QRect(130, 430, 120, 35), 7);
    picture_ = addCheckBox(tr("F8. 导入运行图片"), QRect(280, 430, 120, 35), 8);
}

QString JobImportDialog::getopendirfromusb(const QString &root, const QString &caption, const QString &startDir,
                                          const QString &, QWidget *parent)
{
    JobImportDialog dialog(root, startDir, parent);
    dialog.setdialogtitle(caption);
    return dialog.exec() == QDialog::Accepted ? dialog.imported() : QString();
}

void JobImportDialog::inputdir()
{
    const NativeFs::Entry *e = currentfile();
    if (!e)
        return;
    StickJobImport job(root_, {[this](const QString &q) { return askYesNo(this, q); },
                               [this](const QString &t) { showMessage(this, t); },
                               [this](const QByteArray &from, const QString &to) {
                                   return FileOperateDialog::copyNative(from, QFile::encodeName(to), this);
                               }});
    job.importWork = work_->isChecked();
    job.importPicture = picture_->isChecked();
    imported_ = job.run(currentdir(), e->name);
    if (!imported_.isEmpty())
        accept();
}
