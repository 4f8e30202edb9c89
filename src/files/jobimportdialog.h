#pragma once

#include "ui/stickbrowser.h"

#include "data/librarylisting.h"

class LibraryFetch;

// The stick browser that imports a whole knitting job: the operator picks any file of the job
// and presses "导     入" (Enter). "F7. 导入工作参数" (F7) takes the stick's work parameters
// too, "F8. 导入运行图片" (F8) its pattern picture. Every file of the folder is listed.
// "F5.网络硬盘" lists the office library's newest version of each job instead; Enter then
// fetches and imports the chosen one (its work parameters with it), Esc stops a fetch, and F5
// again shows the stick.
class JobImportDialog : public StickBrowser
{
    Q_OBJECT

public:
    JobImportDialog(const QString &root, const QString &startDir, QWidget *parent = nullptr);

    // Runs the dialog with the caption as title; the imported job's name, or empty. The
    // filter is not applied: a job is found from any of its files.
    static QString openFolderFromStick(const QString &root, const QString &caption, const QString &startDir,
                                     const QString &filter, QWidget *parent);

    QString imported() const { return imported_; }

public Q_SLOTS:
    void importFolder();
    void reject() override;

private:
    void toggleLibrary();
    void importFromLibrary();

    QString root_;
    QString imported_;
    BeepingCheckBox *work_;
    BeepingCheckBox *picture_;
    LibraryFetch *library_;
    QList<LibraryListing::Job> jobs_;
};
