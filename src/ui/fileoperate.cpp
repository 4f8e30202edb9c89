#include "fileoperate.h"

#include "ui/transferframe.h"

fileoperate::fileoperate(const QString &path, quint32 address, int mode, QWidget *parent,
                         const char *name, bool modal, Qt::WindowFlags flags)
    : QDialog(parent, flags)
{
    if (name)
        setObjectName(QString::fromLatin1(name));
    setModal(modal);
    setMinimumSize(360, 60);
    resize(360, 60);

    frame_ = new TransferFrame(this);
    connect(frame_, &TransferFrame::over, this, &fileoperate::finishTransfer);
    frame_->start(path, address, mode);
}

fileoperate::~fileoperate() = default;

bool fileoperate::tftpputfile(const QString &path, quint32 address)
{
    return transfer(path, address, Upload);
}

bool fileoperate::tftpgetfile(const QString &path, quint32 address)
{
    return transfer(path, address, Download);
}

FileTransfer fileoperate::withController()
{
    return {[](const QString &path) { return tftpputfile(path); }, [](const QString &path) { return tftpgetfile(path); }};
}

bool fileoperate::transfer(const QString &path, quint32 address, int mode)
{
    fileoperate dialog(path, address, mode);
    return dialog.run() == QDialog::Accepted;
}

LabelTftp *fileoperate::labelTftp() const
{
    return frame_->line();
}

int fileoperate::run()
{
    // A transfer that failed to start has ended before the dialog could be shown.
    if (!ended_)
        exec();
    return result();
}

void fileoperate::finishTransfer(int code)
{
    ended_ = true;
    if (code == 0)
        accept();
    else
        reject();
}
