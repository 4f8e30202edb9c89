#include "updatefolderdialog.h"

#include "fileoperatedialog.h"

#include "logic/service/fullupdate.h"
#include "ui/operatordialogs.h"
#include "ui/transferdialog.h"

#include <QFile>
#include <QLabel>

UpdateFolderDialog::UpdateFolderDialog(const QString &target, const QString &startDir, const QString &filter, QWidget *parent)
    : StickBrowser(startDir, filter, parent, "choosedirdialog")
    , target_(target)
{
    addEnterButton(tr("升     级"), [this] { chooseFolder(); });
}

bool UpdateFolderDialog::chooseFolderFromStick(const QString &target, const QString &caption, const QString &startDir,
                                       const QString &filter, QWidget *parent)
{
    UpdateFolderDialog dialog(target, startDir, filter, parent);
    dialog.setTitleLine(caption);
    return dialog.exec() == QDialog::Accepted;
}

void UpdateFolderDialog::showStatus(const QString &text)
{
    setMessageLine(text);
    // The controller answers only once it has programmed: the line must be on the screen
    // before the wait, and stay drawn through it.
    msgLabel()->repaint();
}

void UpdateFolderDialog::chooseFolder()
{
    const NativeFs::Entry *e = currentEntry();
    if (!e || e->dir)
        return;
    FullUpdate update({[this](const QString &q) { return askYesNo(this, q); },
                       [this](const QString &t) { showMessage(this, t); },
                       [this](const QString &t) { showStatus(t); },
                       [this](const QByteArray &from, const QString &to) {
                           return FileOperateDialog::copyNative(from, QFile::encodeName(to), this);
                       }},
                      TransferDialog::withController());
    if (update.run(currentDir(), target_))
        accept();
}
