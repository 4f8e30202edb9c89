#include "fileoperatedialog.h"

#include "data/jobname.h"
#include "platform/atomicfile.h"
#include "platform/nativefs.h"
#include "ui/panelpalettes.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace {
const qint64 kStep = 1024;

QString errorText(const QString &text)
{
    return QStringLiteral("<font color = darkRed >") + text;
}
}

bool FileOperateDialog::copy(const QString &source, const QString &destination, QWidget *parent)
{
    return copyNative(QFile::encodeName(source), QFile::encodeName(destination), parent);
}

bool FileOperateDialog::copyNative(const QByteArray &source, const QByteArray &destination, QWidget *parent)
{
    FileOperateDialog dialog(source, destination, parent);
    dialog.start();
    return dialog.exec() == QDialog::Accepted;
}

FileOperateDialog::FileOperateDialog(const QString &source, const QString &destination, QWidget *parent)
    : FileOperateDialog(QFile::encodeName(source), QFile::encodeName(destination), parent)
{
}

FileOperateDialog::FileOperateDialog(const QByteArray &source, const QByteArray &destination, QWidget *parent)
    : QDialog(parent), source_(source), destination_(destination)
{
    setModal(true);
    setWindowTitle(tr("文 件 复 制"));
    setPalette(PanelPalettes().labelWhite());
    setFixedSize(420, 150);
    if (parent == nullptr || !parent->isVisible())
        move(110, 165);

    auto *title = new QLabel(windowTitle(), this);
    title->setGeometry(0, 0, 420, 24);
    title->setAlignment(Qt::AlignCenter);
    title->setPalette(PanelPalettes().labelDark());
    title->setAutoFillBackground(true);

    from_ = new QLabel(tr("从 : %1").arg(JobName::decode(source)), this);
    from_->setGeometry(10, 30, 400, 22);
    to_ = new QLabel(tr("到 : %1").arg(JobName::decode(destination)), this);
    to_->setGeometry(10, 54, 400, 22);

    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("ProgressBar1"));
    progress_->setGeometry(10, 80, 400, 22);
    progress_->setRange(0, 100);
    progress_->setValue(0);

    quit_ = new QPushButton(tr("退    出"), this);
    quit_->setObjectName(QStringLiteral("Button_quit"));
    quit_->setGeometry(160, 110, 100, 32);
    connect(quit_, &QPushButton::clicked, this, &QDialog::reject);

    timer_.setInterval(0);
    connect(&timer_, &QTimer::timeout, this, &FileOperateDialog::copyNextStep);
}

bool FileOperateDialog::start()
{
    const int fd = NativeFs::openRead(source_);
    if (fd < 0 || !in_.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        from_->setText(errorText(tr("从 : 源文件错误 !")));
        return false;
    }
    total_ = in_.size();
    // The destination is replaced only when the whole copy is written, so an interrupted or
    // failed copy never leaves the old file deleted or half overwritten.
    timer_.start();
    return true;
}

void FileOperateDialog::copyNextStep()
{
    const QByteArray block = in_.read(kStep);
    if (in_.error() != QFileDevice::NoError) {
        fail(from_, tr("从 : 源文件错误 !"));
        return;
    }
    copied_.append(block);
    if (total_ > 0)
        progress_->setValue(int(qMin<qint64>(100, copied_.size() * 100 / total_)));
    if (block.size() == kStep && !in_.atEnd())
        return;
    timer_.stop();
    in_.close();
    if (!AtomicFile::saveNative(destination_, copied_)) {
        fail(to_, tr("到 : 目标文件错误 !"));
        return;
    }
    accept();
}

void FileOperateDialog::fail(QLabel *side, const QString &text)
{
    timer_.stop();
    in_.close();
    side->setText(errorText(text));
}
