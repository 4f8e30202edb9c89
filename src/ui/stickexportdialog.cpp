#include "stickexportdialog.h"

#include "fileoperatedialog.h"

#include "logic/files/stickexport.h"
#include "ui/beepingcheckbox.h"
#include "ui/operatordialogs.h"

#include <QFile>

StickExportDialog::StickExportDialog(const QString &source, const QString &startDir, const QString &filter, QWidget *parent)
    : StickBrowser(startDir, filter, parent, "outputfiledialog")
    , source_(source)
{
    addEnterButton(tr("导     出"), [this] { exportFiles(); });
    asFiles_ = addCheckBox(tr("F7. 以文件形式导出"), QRect(130, 430, 150, 35), 7);
}

bool StickExportDialog::saveFileToStick(const QString &source, const QString &caption, const QString &startDir,
                                          const QString &filter, QWidget *parent)
{
    StickExportDialog dialog(source, startDir, filter, parent);
    dialog.setTitleLine(caption);
    return dialog.exec() == QDialog::Accepted;
}

void StickExportDialog::exportFiles()
{
    // The destination is the folder shown, selected entry or not: an empty stick takes exports too.
    StickExport exporter({[this](const QString &q) { return askYesNo(this, q); },
                          [this](const QString &t) { showMessage(this, t); },
                          [this](const QString &from, const QByteArray &to) {
                              return FileOperateDialog::copyNative(QFile::encodeName(from), to, this);
                          }});
    exporter.asFiles = asFiles_->isChecked();
    if (exporter.run(source_, currentDir()))
        accept();
    else
        listFiles();
}
