#include "choosedirdialog.h"

#include "fileoperatedialog.h"

#include "logic/service/fullupdate.h"
#include "ui/fileoperate.h"
#include "ui/operatordialogs.h"

#include <QFile>
#include <QLabel>

choosedirdialog::choosedirdialog(const QString &target, const QString &startDir, const QString &filter, QWidget *parent)
    : filedialog(startDir, filter, parent, "choosedirdialog")
    , target_(target)
{
    addEnterButton(tr("升     级"), [this] { choosedir(); });
}

bool choosedirdialog::choosedirfromusb(const QString &target, const QString &caption, const QString &startDir,
                                       const QString &filter, QWidget *parent)
{
    choosedirdialog dialog(target, startDir, filter, parent);
    dialog.setdialogtitle(caption);
    return dialog.exec() == QDialog::Accepted;
}

void choosedirdialog::showStatus(const QString &text)
{
    setdialogmsg(text);
    // The controller answers only once it has programmed: the line must be on the screen
    // before the wait, and stay drawn through it.
    msgLabel()->repaint();
}

void choosedirdialog::choosedir()
{
    const NativeFs::Entry *e = currentfile();
    if (!e || e->dir)
        return;
    FullUpdate update({[this](const QString &q) { return DIAYESNO(this, q); },
                       [this](const QString &t) { showMessage(this, t); },
                       [this](const QString &t) { showStatus(t); },
                       [this](const QByteArray &from, const QString &to) {
                           return FileOperateDialog::copyNative(from, QFile::encodeName(to), this);
                       }},
                      fileoperate::withController());
    if (update.run(currentdir(), target_))
        accept();
}
