#include "tftpclient.h"

#include "tftpporthistory.h"

#include "data/jobname.h"
#include "platform/atomicfile.h"
#include "platform/panelenv.h"
#include "platform/servicenotify.h"
#include "platform/stallreport.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QTimer>

TftpClient::TftpClient(QObject *parent)
    : QObject(parent), exchange_(socket_)
{
    peer_.localPort = PanelEnv::port(kLocalPort);
    if (socket_.bindIpv4(0, peer_.localPort)) {
        notifier_ = new QSocketNotifier(socket_.fd(), QSocketNotifier::Read, this);
        notifier_->setEnabled(false);
        connect(notifier_, &QSocketNotifier::activated, this, &TftpClient::receive);
        socket_.setWaitMs(kWaitMs);
    }
    timer_ = new QTimer(this);
    timer_->setSingleShot(true);
    connect(timer_, &QTimer::timeout, this, [this] { exchange_.tick(); });
    TftpTransfer::Events events;
    events.requestSent = [this](int attempt) { Q_EMIT requestSent(attempt); };
    events.rearm = [this](int ms) { timer_->start(ms); };
    events.finished = [this] { finished(); };
    exchange_.setEvents(events);
    if (TftpPortHistory *history = TftpPortHistory::find())
        exchange_.setStalePorts(&history->ports());
}

TftpClient::~TftpClient() = default;

QString TftpClient::remoteNameFor(const QString &localPath)
{
    return QFileInfo(localPath).fileName();
}

bool TftpClient::getFrom(const QString &localPath, const QString &remoteName, quint32 server)
{
    if (isRunning())
        return false;
    localPath_ = localPath;
    // The data goes to a temporary file beside the target; the old file stays until the new
    // one is whole.
    const QFileInfo target(localPath);
    QString why;
    if (localPath.isEmpty() || target.isDir() || (target.exists() && !target.isWritable()))
        return failStart(CannotWrite, QStringLiteral("cannot write %1").arg(localPath));
    out_ = std::make_unique<AtomicFile>(localPath);
    if (!out_->open(&why))
        return failStart(CannotWrite, QStringLiteral("cannot write %1: %2").arg(localPath, why));
    peer_.server = server;
    peer_.serverPort = PanelEnv::port(kServerPort);
    peer_.periodMs = PanelEnv::scaledMs(kRequestTimeoutMs);
    waitForNext_ = true;
    if (!exchange_.begin(false, localPath.toLocal8Bit().toStdString(), JobName::encode(remoteName).toStdString(), this,
                         0, peer_))
        return false;
    notifier_->setEnabled(true);
    Q_EMIT connecting(false);
    Q_EMIT requestSent(1);
    return true;
}

bool TftpClient::putTo(const QString &localPath, const QString &remoteName, quint32 server)
{
    if (isRunning())
        return false;
    localPath_ = localPath;
    in_.setFileName(localPath);
    if (!QFileInfo(localPath).isFile() || !in_.open(QIODevice::ReadOnly))
        return failStart(CannotRead, QStringLiteral("cannot read %1").arg(localPath));
    peer_.server = server;
    peer_.serverPort = PanelEnv::port(kServerPort);
    peer_.periodMs = PanelEnv::scaledMs(kRequestTimeoutMs);
    waitForNext_ = true;
    if (!exchange_.begin(true, localPath.toLocal8Bit().toStdString(), JobName::encode(remoteName).toStdString(), this,
                         in_.size(), peer_))
        return false;
    notifier_->setEnabled(true);
    Q_EMIT connecting(true);
    Q_EMIT requestSent(1);
    return true;
}

void TftpClient::receive()
{
    // The transfer is lock-step: every packet handled here is answered at once, so the next
    // one is due a round trip later. Waiting for it here, in recvfrom on this one socket, spares
    // each block a pass through the event loop and its notifier; after kPassMs the loop gets
    // its turn again (progress, keys, the time-out timer).
    const StallReport::Wait mandated;
    ServiceNotify::ping();
    const QDeadlineTimer pass(kPassMs);
    bool first = true;
    while (exchange_.isRunning() && (first || !pass.hasExpired())) {
        const bool wait = !first && waitForNext_;
        first = false;
        if (!exchange_.receive(wait)) {
            // Nothing within kWaitMs: a slow peer, or one in this very thread that cannot answer
            // before we return. Waiting would only stall it, so not for the rest of the transfer.
            if (wait)
                waitForNext_ = false;
            break;
        }
    }
    reportProgress();
}

void TftpClient::reportProgress()
{
    if (!exchange_.takeProgress())
        return;
    const qint64 sent = bytes();
    const qint64 size = exchange_.total();
    Q_EMIT progress(sent, exchange_.isUpload() ? (size == 0 ? 100 : int(sent * 100 / size)) : -1);
}

void TftpClient::finished()
{
    reportProgress();
    if (notifier_)
        notifier_->setEnabled(false);
    timer_->stop();
    in_.close();
    out_.reset(); // removes the temporary file of a download that did not complete
    Q_EMIT over(result());
}

bool TftpClient::failStart(int code, const QString &reason)
{
    exchange_.fail(code, reason.toLocal8Bit().toStdString());
    return false;
}

bool TftpClient::append(const char *data, std::size_t length, std::string *why)
{
    QString text;
    if (out_->append(data, qint64(length), &text))
        return true;
    *why = text.toLocal8Bit().toStdString();
    return false;
}

bool TftpClient::commit(std::string *why)
{
    QString text;
    if (out_->commit(durable_, &text))
        return true;
    *why = text.toLocal8Bit().toStdString();
    return false;
}

std::size_t TftpClient::read(char *buffer, std::size_t length)
{
    const qint64 n = in_.read(buffer, qint64(length));
    return n > 0 ? std::size_t(n) : 0;
}

// Its own moc output, so a program that links only one of the library's objects does not pull
// in the others through a shared moc file.
#include "moc_tftpclient.cpp"
