#include "transferdialog.h"

#include "ui/transferframe.h"

TransferDialog::TransferDialog(const QString &path, quint32 address, int mode, QWidget *parent,
                         const char *name, bool modal, Qt::WindowFlags flags)
    : QDialog(parent, flags)
{
    if (name)
        setObjectName(QString::fromLatin1(name));
    setModal(modal);
    setMinimumSize(360, 60);
    resize(360, 60);

    frame_ = new TransferFrame(this);
    connect(frame_, &TransferFrame::over, this, &TransferDialog::finishTransfer);
    frame_->start(path, address, mode);
}

TransferDialog::~TransferDialog() = default;

bool TransferDialog::putFile(const QString &path, quint32 address)
{
    return transfer(path, address, Upload);
}

bool TransferDialog::getFile(const QString &path, quint32 address)
{
    return transfer(path, address, Download);
}

FileTransfer TransferDialog::withController()
{
    return {[](const QString &path) { return putFile(path); }, [](const QString &path) { return getFile(path); }};
}

bool TransferDialog::transfer(const QString &path, quint32 address, int mode)
{
    TransferDialog dialog(path, address, mode);
    return dialog.run() == QDialog::Accepted;
}

LabelTftp *TransferDialog::labelTftp() const
{
    return frame_->line();
}

int TransferDialog::run()
{
    // A transfer that failed to start has ended before the dialog could be shown.
    if (!ended_)
        exec();
    return result();
}

void TransferDialog::finishTransfer(int code)
{
    ended_ = true;
    if (code == 0)
        accept();
    else
        reject();
}
