#include "fileoperate.h"

#include "ui/labeltftp.h"

#include <QFrame>
#include <QLabel>

fileoperate::fileoperate(const QString &path, const QHostAddress &address, int mode, QWidget *parent,
                         const char *name, bool modal, Qt::WindowFlags flags)
    : QDialog(parent, flags)
{
    if (name)
        setObjectName(QString::fromLatin1(name));
    setModal(modal);
    setMinimumSize(360, 60);
    resize(360, 60);

    frame_ = new QFrame(this);
    frame_->setObjectName(QStringLiteral("frame"));
    frame_->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    frame_->setLineWidth(1);
    frame_->setAutoFillBackground(true);
    frame_->setGeometry(0, 0, 360, 60);

    title_ = new QLabel(frame_);
    title_->setObjectName(QStringLiteral("title"));
    title_->setGeometry(0, 0, 360, 20);
    title_->setAlignment(Qt::AlignCenter);
    title_->setTextFormat(Qt::RichText);
    title_->setAutoFillBackground(true);

    tftp_ = new LabelTftp(frame_, "LabelTftp");
    tftp_->setGeometry(5, 25, 350, 25);
    connect(tftp_, &LabelTftp::over, this, &fileoperate::slot_over);

    if (mode == Upload) {
        settitle(tr("上 传 文 件"));
        tftp_->openputfile(path, address);
    } else {
        settitle(tr("下 载 文 件"));
        tftp_->opengetfile(path, address);
    }
}

fileoperate::~fileoperate() = default;

bool fileoperate::tftpputfile(const QString &path, const QHostAddress &address)
{
    return transfer(path, address, Upload);
}

bool fileoperate::tftpgetfile(const QString &path, const QHostAddress &address)
{
    return transfer(path, address, Download);
}

FileTransfer fileoperate::withController()
{
    return {[](const QString &path) { return tftpputfile(path); }, [](const QString &path) { return tftpgetfile(path); }};
}

bool fileoperate::transfer(const QString &path, const QHostAddress &address, int mode)
{
    fileoperate dialog(path, address, mode);
    return dialog.run() == QDialog::Accepted;
}

void fileoperate::settitle(const QString &text)
{
    title_->setText(QStringLiteral("<font color = darkRed >") + text);
}

int fileoperate::run()
{
    // A transfer that failed to start has ended before the dialog could be shown.
    if (!ended_)
        exec();
    return result();
}

void fileoperate::slot_over(int code)
{
    ended_ = true;
    if (code == 0)
        accept();
    else
        reject();
}
