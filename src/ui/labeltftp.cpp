#include "labeltftp.h"

#include "logic/controller/controllertransfer.h"

#include <QProgressBar>

#include <cstdio>

LabelTftp::LabelTftp(QWidget *parent, const char *name)
    : QLabel(parent)
{
    if (name)
        setObjectName(QString::fromLatin1(name));
    setAlignment(Qt::AlignCenter);
    setAutoFillBackground(true);
    bar_ = new QProgressBar(this);
    bar_->setObjectName(QStringLiteral("ProgressBar1"));
    bar_->setRange(0, 100);
    bar_->setValue(0);
    bar_->setAlignment(Qt::AlignCenter);
    bar_->hide();
    client_ = new ControllerTransfer(this);
    connect(client_, &ControllerTransfer::connecting, this, &LabelTftp::showConnecting);
    connect(client_, &ControllerTransfer::progress, this, &LabelTftp::showProgress);
    connect(client_, &ControllerTransfer::over, this, &LabelTftp::over);
    connect(client_, &ControllerTransfer::requestSent, this, [this](int attempt) {
        attempt_ = attempt;
        if (attempt > 1)
            showWaiting();
    });
    connect(client_, &ControllerTransfer::over, &waitTicker_, &QTimer::stop);
    waitTicker_.setInterval(1000);
    connect(&waitTicker_, &QTimer::timeout, this, &LabelTftp::showWaiting);
}

LabelTftp::~LabelTftp() = default;

bool LabelTftp::openGet(const QString &path, quint32 address)
{
    bar_->hide();
    return client_->get(path, address);
}

bool LabelTftp::openPut(const QString &path, quint32 address)
{
    bar_->setGeometry(0, 0, width(), height());
    bar_->setValue(0);
    bar_->show();
    if (!client_->put(path, address))
        return false;
    std::printf("%lld\n", static_cast<long long>(client_->total()));
    std::fflush(stdout);
    return true;
}

int LabelTftp::result() const
{
    return client_->result();
}

QString LabelTftp::reason() const
{
    return client_->reason();
}

void LabelTftp::showConnecting(bool upload)
{
    upload_ = upload;
    waited_.start();
    waitTicker_.start();
    setText(upload ? tr("正在联接服务器, 请稍等 ......") : tr("正在联接下载服务器, 请稍等 ......"));
}

void LabelTftp::showWaiting()
{
    if (client_->answered() || !client_->isRunning()) {
        waitTicker_.stop();
        return;
    }
    // An absent server is waited for a minute: the operator sees that the wait moves.
    const QString server = upload_ ? tr("正在联接服务器") : tr("正在联接下载服务器");
    setText(tr("%1: 第 %2 / %3 次, 已等待 %4 秒")
                .arg(server)
                .arg(attempt_)
                .arg(ControllerTransfer::maxRequests())
                .arg(waited_.elapsed() / 1000));
}

void LabelTftp::showProgress(qint64 bytes, int percent)
{
    if (percent < 0) {
        setText(tr("正在下载: %1 B").arg(bytes));
        return;
    }
    // QProgressBar repaints itself at once whenever its percentage changes, a paint per block
    // of a small file; held back, the bar is drawn with the screen's next paint, once.
    bar_->setUpdatesEnabled(false);
    bar_->setValue(percent);
    bar_->setUpdatesEnabled(true);
    bar_->update();
}
