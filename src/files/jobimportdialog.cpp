#include "jobimportdialog.h"

#include "ui/fileoperatedialog.h"

#include "logic/files/filetexts.h"
#include "logic/files/libraryfetch.h"
#include "logic/files/libraryjobimport.h"
#include "logic/files/stickjobimport.h"
#include "ui/beepingcheckbox.h"
#include "ui/beepinglistview.h"
#include "ui/operatordialogs.h"

#include <QDateTime>
#include <QFile>

namespace {

//: While a job comes from the office's library: the share done, and the key that stops it.
const char kFetching[] = QT_TRANSLATE_NOOP("JobImportDialog", "正在从网络硬盘下载 ...... %1% (按ESC取消)");

StickJobImport::Hooks hooksFor(QWidget *page)
{
    return {[page](const QString &q) { return askYesNo(page, q); }, [page](const QString &t) { showMessage(page, t); },
            [page](const QByteArray &from, const QString &to) { return FileOperateDialog::copyNative(from, QFile::encodeName(to), page); }};
}

} // namespace

JobImportDialog::JobImportDialog(const QString &root, const QString &startDir, QWidget *parent)
    : StickBrowser(startDir, QString(), parent, "inputdirdialog")
    , root_(root)
    , library_(new LibraryFetch(this))
{
    addEnterButton(tr("导     入"), [this] { importFolder(); });
    work_ = addCheckBox(tr("F7. 导入工作参数"), QRect(130, 430, 120, 35), 7);
    picture_ = addCheckBox(tr("F8. 导入运行图片"), QRect(280, 430, 120, 35), 8);
    addNetworkKey([this] { toggleLibrary(); });
    connect(library_, &LibraryFetch::progress, this, [this](int percent) { showWaiting(tr(kFetching).arg(percent)); });
}

QString JobImportDialog::openFolderFromStick(const QString &root, const QString &caption, const QString &startDir,
                                          const QString &, QWidget *parent)
{
    JobImportDialog dialog(root, startDir, parent);
    dialog.setTitleLine(caption);
    return dialog.exec() == QDialog::Accepted ? dialog.imported() : QString();
}

void JobImportDialog::reject()
{
    // Esc while the library works stops it; the page stays.
    if (library_->running())
        library_->cancel();
    else
        StickBrowser::reject();
}

void JobImportDialog::toggleLibrary()
{
    if (library_->running())
        return;
    if (!showingStick()) {
        listFiles();
        return;
    }
    const QString unavailable = LibraryFetch::unavailable();
    if (!unavailable.isEmpty()) {
        showMessage(this, unavailable);
        return;
    }
    setProperty("busy", true);
    showWaiting(tr("正在读取网络硬盘, 请等待 ......"));
    QString message;
    const bool ok = library_->list(&jobs_, &message);
    showWaiting(QString());
    setProperty("busy", false);
    if (!ok) {
        showMessage(this, message);
        return;
    }
    QList<QStringList> rows;
    for (const LibraryListing::Job &job : jobs_)
        rows.append({job.name, QStringLiteral("v%1").arg(job.version), QString::number(job.rows), FileTexts::sizeString(job.size),
                     FileTexts::dateString(QDateTime::fromString(job.uploaded, Qt::ISODate).toLocalTime())});
    //: Title line while the office library's jobs are listed: how many.
    showRows(tr("网络硬盘 : %1 个编织文件").arg(jobs_.size()), {tr("名  称"), tr("版  本"), tr("行  数"), tr("大  小"), tr("时  间")},
             rows);
    const int widths[] = {110, 45, 50, 65};
    for (int c = 0; c < 4; ++c)
        list()->setColumnWidth(c, widths[c]);
}

void JobImportDialog::importFromLibrary()
{
    const QTreeWidgetItem *item = list()->currentItem();
    const int i = item && item->isSelected() ? item->data(0, Qt::UserRole).toInt() : -1;
    if (i < 0 || i >= jobs_.size())
        return;
    showWaiting(tr(kFetching).arg(0));
    imported_ = LibraryJobImport(root_, hooksFor(this), library_).run(jobs_.at(i));
    showWaiting(QString());
    if (!imported_.isEmpty())
        accept();
}

void JobImportDialog::importFolder()
{
    if (!showingStick()) {
        importFromLibrary();
        return;
    }
    const NativeFs::Entry *e = currentEntry();
    if (!e)
        return;
    StickJobImport job(root_, hooksFor(this));
    job.importWork = work_->isChecked();
    job.importPicture = picture_->isChecked();
    imported_ = job.run(currentDir(), e->name);
    if (imported_.isEmpty())
        return;
    LibraryJobImport::stickImported(root_, imported_);
    accept();
}
