#include "tftptransfer.h"

#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const std::size_t kStalePorts = 4;

double nowMs()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

std::string format(const char *pattern, ...) __attribute__((format(printf, 1, 2)));
std::string format(const char *pattern, ...)
{
    char text[512];
    va_list args;
    va_start(args, pattern);
    std::vsnprintf(text, sizeof text, pattern, args);
    va_end(args);
    return text;
}

std::string dotted(std::uint32_t a)
{
    return format("%u.%u.%u.%u", a >> 24, (a >> 16) & 0xFF, (a >> 8) & 0xFF, a & 0xFF);
}

} // namespace

TftpTransfer::TftpTransfer(const Peer &peer)
    : peer_(peer)
{
}

TftpTransfer::~TftpTransfer()
{
    if (fd_ >= 0)
        ::close(fd_);
    if (!tmpPath_.empty())
        ::unlink(tmpPath_.c_str());
}

int TftpTransfer::get(const std::string &localPath, const std::string &remoteName)
{
    localPath_ = localPath;
    struct stat st{};
    const bool exists = ::stat(localPath.c_str(), &st) == 0;
    if (localPath.empty() || (exists && (S_ISDIR(st.st_mode) || ::access(localPath.c_str(), W_OK) != 0)))
        return finish(CannotWrite, "cannot write " + localPath);
    // The data goes to a temporary file beside the target; the old file stays until the new
    // one is whole. The name's shape is the one the panel's start-up clears after a crash.
    const std::size_t slash = localPath.rfind('/');
    const std::string dir = slash == std::string::npos ? "." : slash == 0 ? "" : localPath.substr(0, slash);
    const std::string name = slash == std::string::npos ? localPath : localPath.substr(slash + 1);
    std::string tmp = dir + "/." + name + ".XXXXXX";
    fd_ = ::mkostemp(&tmp[0], O_CLOEXEC);
    if (fd_ < 0)
        return finish(CannotWrite, format("cannot write %s: %s", localPath.c_str(), std::strerror(errno)));
    tmpPath_ = tmp;
    return run(false, remoteName);
}

int TftpTransfer::put(const std::string &localPath, const std::string &remoteName)
{
    localPath_ = localPath;
    struct stat st{};
    fd_ = ::open(localPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0 || ::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode))
        return finish(CannotRead, "cannot read " + localPath);
    if (st.st_size > kMaxFileSize)
        return finish(CannotRead, format("%s is larger than %lld bytes", localPath.c_str(), static_cast<long long>(kMaxFileSize)));
    // The size when the transfer starts is what is sent, read a chunk ahead of the blocks.
    total_ = st.st_size;
    if (!readAhead())
        return finish(CannotRead, "cannot read " + localPath);
    return run(true, remoteName);
}

int TftpTransfer::run(bool upload, const std::string &remoteName)
{
    if (!socket_.bindIpv4(0, peer_.localPort))
        return finish(Failed, format("local port %u: %s", unsigned(peer_.localPort), socket_.error().c_str()));
    // 0.0.0.0 would reach this host itself.
    if (peer_.server == 0)
        return finish(Failed, "no IPv4 server address");
    lastLength_ = TftpPacket::makereq(upload ? TftpPacket::Wrq : TftpPacket::Rrq, "octet", remoteName.c_str(), last_,
                                      int(sizeof last_));
    if (remoteName.empty() || remoteName.find('\0') != std::string::npos || lastLength_ == 0)
        return finish(Failed, "remote name '" + remoteName + "' cannot be sent");
    upload_ = upload;
    state_ = upload ? WaitAck0 : WaitFirstData;
    running_ = true;
    peerPort_ = peer_.serverPort;
    // Datagrams already waiting belong to an earlier transfer on this port, as do their
    // senders' later ones.
    std::uint32_t a = 0;
    std::uint16_t p = 0;
    while (socket_.receive(receive_, int(sizeof receive_), &a, &p) >= 0) {
        if (a == peer_.server)
            markStale(p);
    }
    sendLast();
    deadline_ = nowMs() + peer_.periodMs;
    while (running_) {
        waitUntilDeadline();
        const int n = socket_.receiveWithin(receive_, int(sizeof receive_), &a, &p);
        if (n >= 0)
            take(n, a, p);
        if (running_ && nowMs() >= deadline_)
            tick();
    }
    return result_;
}

void TftpTransfer::waitUntilDeadline()
{
    // The socket's wait is set anew only after a time-out or when the time left has fallen a
    // twentieth of the period below it (the leeway of the event loop's coarse timers): at most
    // twenty times a period, however many blocks pass.
    const int left = std::max(1, int(deadline_ - nowMs()) + 1);
    if (left > armedMs_ || left + std::max(1, peer_.periodMs / 20) < armedMs_) {
        socket_.setWaitMs(left);
        armedMs_ = left;
    }
}

void TftpTransfer::take(int n, std::uint32_t address, std::uint16_t port)
{
    // Only the server's address is listened to; anything else is not ours to answer.
    if (address != peer_.server || n > int(sizeof receive_))
        return;
    const TftpPacket::View v = TftpPacket::parse(receive_, n);
    // Before the server's first answer only the packet that opens this transfer counts (DATA 1
    // of a download, ACK 0 of an upload), and not from a port of an earlier transfer; an ERROR
    // from a fresh port is the answer to our request.
    const bool opening = v.valid && v.opcode == (upload_ ? TftpPacket::Ack : TftpPacket::Data) && v.block == (upload_ ? 0 : 1);
    const bool foreign = answerSeen_ ? port != peerPort_
                                     : isStale(port) || (v.opcode != TftpPacket::Error && v.valid && !opening);
    if (foreign) {
        if (v.opcode != TftpPacket::Error) {
            sendError(TftpPacket::UnknownTid, "Unknown transfer ID", address, port);
            if (!answerSeen_)
                markStale(port);
        }
        return;
    }
    if (!v.valid)
        return;
    if (v.opcode == TftpPacket::Error) {
        finish(Failed, format("server error %u: %s", unsigned(v.errorCode), v.message ? v.message : ""));
        return;
    }
    if (v.opcode != (upload_ ? TftpPacket::Ack : TftpPacket::Data))
        return;
    if (!answerSeen_) {
        // The server's first answer fixes its transfer port; the time-out becomes the
        // inactivity watch from here on.
        answerSeen_ = true;
        peerPort_ = port;
        deadline_ = nowMs() + peer_.periodMs;
    }
    activity_ = true;
    if (upload_)
        handleUpload(v.block);
    else
        handleDownload(v.block, v.data, v.dataLength);
}

void TftpTransfer::handleDownload(std::uint16_t block, const char *data, int length)
{
    if (state_ == WaitFirstData) {
        if (block != 1)
            return;
        state_ = Receiving;
        writeBlock(block, data, length);
        return;
    }
    const std::uint16_t ahead = std::uint16_t(block - lastBlock_);
    if (ahead == 1) {
        writeBlock(block, data, length);
    } else if (ahead == 0 || ahead > 0x8000) {
        // Already written: the server missed our acknowledgement.
        char ack[4];
        socket_.sendTo(ack, TftpPacket::makeack(block, ack, 4), peer_.server, peerPort_);
    }
}

void TftpTransfer::writeBlock(std::uint16_t block, const char *data, int length)
{
    if (bytes_ + length > kMaxFileSize) {
        sendError(TftpPacket::DiskFull, "File too large", peer_.server, peerPort_);
        finish(CannotWrite, format("remote file is larger than %lld bytes", static_cast<long long>(kMaxFileSize)));
        return;
    }
    buffer_.insert(buffer_.end(), data, data + length);
    bytes_ += length;
    lastBlock_ = block;
    lastLength_ = TftpPacket::makeack(block, last_, int(sizeof last_));
    if (length < TftpPacket::kBlockSize) {
        // The last block is acknowledged only once the file is whole on disk; a file that
        // cannot be saved gets the server an error instead.
        if (!writeBuffer() || !commit()) {
            const std::string why = std::strerror(errno);
            sendError(TftpPacket::DiskFull, "Cannot write file", peer_.server, peerPort_);
            finish(CannotWrite, "cannot write " + localPath_ + ": " + why);
            return;
        }
        sendLast();
        finish(Complete, std::string());
        return;
    }
    sendLast();
    // Written while the server makes its next block, a chunk at a time.
    if (buffer_.size() >= std::size_t(kIoChunk) && !writeBuffer()) {
        const std::string why = std::strerror(errno);
        sendError(TftpPacket::DiskFull, "Cannot write file", peer_.server, peerPort_);
        finish(CannotWrite, "cannot write " + localPath_ + ": " + why);
    }
}

bool TftpTransfer::writeBuffer()
{
    std::size_t done = 0;
    while (done < buffer_.size()) {
        const ssize_t w = ::write(fd_, buffer_.data() + done, buffer_.size() - done);
        if (w < 0 && errno == EINTR)
            continue;
        if (w < 0)
            return false;
        done += std::size_t(w);
    }
    buffer_.clear();
    return true;
}

bool TftpTransfer::commit()
{
    // Not forced to disk: the promise of cp and tftp. The permissions are those an ordinary
    // create gives (mkostemp makes 0600).
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd_, 0666 & ~mask);
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0 || ::rename(tmpPath_.c_str(), localPath_.c_str()) != 0)
        return false;
    tmpPath_.clear();
    return true;
}

bool TftpTransfer::readAhead()
{
    const std::int64_t want = std::min<std::int64_t>(kIoChunk, total_ - bytes_ - std::int64_t(buffer_.size() - bufferPos_));
    if (bufferPos_ < buffer_.size() || want <= 0)
        return true;
    buffer_.resize(std::size_t(want));
    bufferPos_ = 0;
    std::size_t done = 0;
    while (done < buffer_.size()) {
        const ssize_t r = ::read(fd_, buffer_.data() + done, buffer_.size() - done);
        if (r < 0 && errno == EINTR)
            continue;
        if (r <= 0)
            break;
        done += std::size_t(r);
    }
    // A file that shrank under us would otherwise end the transfer early as if complete.
    return done == buffer_.size();
}

void TftpTransfer::handleUpload(std::uint16_t block)
{
    switch (state_) {
    case WaitAck0:
        if (block == 0) {
            state_ = Sending;
            sendNextBlock();
        }
        break;
    case Sending:
        if (block == lastBlock_)
            sendNextBlock();
        else if (block == std::uint16_t(lastBlock_ - 1))
            sendLast();
        break;
    case LastSent:
        // A repeated acknowledgement of the block before the last asks for the last again.
        if (block == lastBlock_)
            finish(Complete, std::string());
        else if (block == std::uint16_t(lastBlock_ - 1))
            sendLast();
        else
            finish(CannotRead, format("server acknowledged block %u, expected %u", unsigned(block), unsigned(lastBlock_)));
        break;
    default:
        break;
    }
}

void TftpTransfer::sendNextBlock()
{
    // Chunks are whole blocks, so a block never straddles two reads.
    const int length = int(std::min<std::int64_t>(TftpPacket::kBlockSize, total_ - bytes_));
    bytes_ += length;
    if (length < TftpPacket::kBlockSize)
        state_ = LastSent;
    lastBlock_ = std::uint16_t(lastBlock_ + 1);
    lastLength_ = TftpPacket::makedata(lastBlock_, buffer_.data() + bufferPos_, length, last_, int(sizeof last_));
    bufferPos_ += std::size_t(length);
    sendLast();
    // Read on while the server answers.
    if (!readAhead()) {
        sendError(TftpPacket::NotDefined, "Cannot read file", peer_.server, peerPort_);
        finish(CannotRead, "cannot read " + localPath_);
    }
}

void TftpTransfer::sendLast()
{
    socket_.sendTo(last_, lastLength_, peer_.server, peerPort_);
}

void TftpTransfer::sendError(int code, const char *message, std::uint32_t address, std::uint16_t port)
{
    char packet[64];
    const int length = TftpPacket::makeerror(code, message, packet, int(sizeof packet));
    socket_.sendTo(packet, length, address, port);
}

void TftpTransfer::tick()
{
    deadline_ = nowMs() + peer_.periodMs;
    if (!answerSeen_) {
        if (retries_ < kMaxRetransmissions) {
            ++retries_;
            sendLast();
        } else {
            finish(Failed, format("no answer from %s after %d requests", dotted(peer_.server).c_str(), kMaxRequests));
        }
        return;
    }
    if (activity_) {
        activity_ = false;
        idlePeriods_ = 0;
    } else if (++idlePeriods_ >= kIdlePeriods) {
        finish(Failed, format("server stopped answering (nothing for %g s)", double(peer_.periodMs) * kIdlePeriods / 1000.0));
    }
}

int TftpTransfer::finish(int code, const std::string &reason)
{
    if (answerSeen_)
        markStale(peerPort_);
    running_ = false;
    state_ = Idle;
    result_ = code;
    reason_ = reason;
    buffer_.clear();
    bufferPos_ = 0;
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    // A download that did not complete leaves the old file as it was.
    if (!tmpPath_.empty())
        ::unlink(tmpPath_.c_str());
    tmpPath_.clear();
    return code;
}

bool TftpTransfer::isStale(std::uint16_t port) const
{
    return std::find(stale_.begin(), stale_.end(), port) != stale_.end();
}

void TftpTransfer::markStale(std::uint16_t port)
{
    stale_.erase(std::remove(stale_.begin(), stale_.end(), port), stale_.end());
    stale_.push_back(port);
    if (stale_.size() > kStalePorts)
        stale_.erase(stale_.begin());
}
