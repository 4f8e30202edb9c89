#include "controllertransfer.h"

#include "link/controlleraddress.h"
#include "link/tftpclient.h"

ControllerTransfer::ControllerTransfer(QObject *parent)
    : QObject(parent)
    , client_(new TftpClient(this))
{
    connect(client_, &TftpClient::connecting, this, &ControllerTransfer::connecting);
    connect(client_, &TftpClient::requestSent, this, &ControllerTransfer::requestSent);
    connect(client_, &TftpClient::progress, this, &ControllerTransfer::progress);
    connect(client_, &TftpClient::over, this, &ControllerTransfer::over);
}

ControllerTransfer::~ControllerTransfer() = default;

quint32 ControllerTransfer::controllerAddress()
{
    return ControllerAddress::ipv4();
}

int ControllerTransfer::maxRequests()
{
    return TftpClient::kMaxRequests;
}

bool ControllerTransfer::get(const QString &path, quint32 address)
{
    return client_->getFrom(path, TftpClient::remoteNameFor(path), address);
}

bool ControllerTransfer::put(const QString &path, quint32 address)
{
    return client_->putTo(path, TftpClient::remoteNameFor(path), address);
}

bool ControllerTransfer::isRunning() const
{
    return client_->isRunning();
}

bool ControllerTransfer::answered() const
{
    return client_->answered();
}

qint64 ControllerTransfer::total() const
{
    return client_->total();
}

int ControllerTransfer::result() const
{
    return client_->result();
}

QString ControllerTransfer::reason() const
{
    return client_->reason();
}
