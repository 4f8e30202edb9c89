#include "tftptransfer.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <ctime>

namespace {

double nowMs()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

std::string format(const char *pattern, ...) __attribute__((format(printf, 1, 2)));
std::string format(const char *pattern, ...)
{
    char text[768];
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

TftpTransfer::TftpTransfer(TftpPort &socket)
    : socket_(socket)
{
}

bool TftpTransfer::begin(bool upload, const std::string &localPath, const std::string &remoteName, File *file,
                         std::int64_t total, const Peer &peer)
{
    localPath_ = localPath;
    file_ = file;
    peer_ = peer;
    upload_ = upload;
    buffer_.clear();
    bufferPos_ = 0;
    bytes_ = 0;
    total_ = total;
    if (upload) {
        if (total > kMaxFileSize)
            return finish(CannotRead, format("%s is larger than %lld bytes", localPath.c_str(), static_cast<long long>(kMaxFileSize)));
        // The size when the transfer starts is what is sent, read a chunk ahead of the blocks.
        if (!readAhead())
            return finish(CannotRead, "cannot read " + localPath);
    }
    if (!socket_.isOpen())
        return finish(Failed, format("local port %u: %s", unsigned(peer.localPort), socket_.error().c_str()));
    // 0.0.0.0 would reach this host itself.
    if (peer.server == 0)
        return finish(Failed, "no IPv4 server address");
    lastLength_ = TftpPacket::makeRequest(upload ? TftpPacket::Wrq : TftpPacket::Rrq, "octet", remoteName.c_str(), last_,
                                      int(sizeof last_));
    if (remoteName.empty() || remoteName.find('\0') != std::string::npos || lastLength_ == 0)
        return finish(Failed, "remote name '" + remoteName + "' cannot be sent");

    state_ = upload ? WaitAck0 : WaitFirstData;
    running_ = true;
    progressDue_ = false;
    result_ = -1;
    reason_.clear();
    peerPort_ = peer.serverPort;
    answerSeen_ = false;
    retries_ = 0;
    idlePeriods_ = 0;
    lastBlock_ = 0;
    // Datagrams left over from an earlier transfer are not part of this one, nor are their
    // senders' later ones.
    std::uint32_t a = 0;
    std::uint16_t p = 0;
    while (socket_.receive(receive_, int(sizeof receive_), &a, &p) >= 0) {
        if (a == peer_.server)
            stale_->mark(p);
    }
    sendLast();
    rearm(peer_.periodMs);
    return true;
}

void TftpTransfer::fail(int code, const std::string &reason)
{
    if (!running_) {
        bytes_ = 0;
        total_ = 0;
    }
    finish(code, reason);
}

void TftpTransfer::rearm(int ms)
{
    deadline_ = nowMs() + ms;
    if (events_.rearm)
        events_.rearm(ms);
}

bool TftpTransfer::receive(bool wait)
{
    std::uint32_t address = 0;
    std::uint16_t port = 0;
    const int n = wait ? socket_.receiveWithin(receive_, int(sizeof receive_), &address, &port)
                       : socket_.receive(receive_, int(sizeof receive_), &address, &port);
    if (n < 0)
        return false;
    take(n, address, port);
    return true;
}

int TftpTransfer::run()
{
    while (running_) {
        // The socket's wait is set anew only after a time-out or when the time left has fallen a
        // twentieth of the period below it (the leeway of the event loop's coarse timers): at
        // most twenty times a period, however many blocks pass.
        const int left = std::max(1, int(deadline_ - nowMs()) + 1);
        if (left > armedMs_ || left + std::max(1, peer_.periodMs / 20) < armedMs_) {
            socket_.setWaitMs(left);
            armedMs_ = left;
        }
        receive(true);
        if (running_ && nowMs() >= deadline_)
            tick();
    }
    return result_;
}

void TftpTransfer::take(int n, std::uint32_t address, std::uint16_t port)
{
    // Only the server's address is listened to; anything else is not ours to answer.
    if (!running_ || address != peer_.server || n > int(sizeof receive_))
        return;
    const TftpPacket::View v = TftpPacket::parse(receive_, n);
    // Before the server's first answer only the packet that opens this transfer counts (DATA 1
    // of a download, ACK 0 of an upload), and not from a port of an earlier transfer; an ERROR
    // from a fresh port is the answer to our request.
    const bool opening = v.valid && v.opcode == (upload_ ? TftpPacket::Ack : TftpPacket::Data) && v.block == (upload_ ? 0 : 1);
    const bool foreign = answerSeen_ ? port != peerPort_
                                     : stale_->contains(port) || (v.opcode != TftpPacket::Error && v.valid && !opening);
    if (foreign) {
        // Another transfer's packet (RFC 1350): tell its sender, never take it as ours.
        if (v.opcode != TftpPacket::Error) {
            sendError(TftpPacket::UnknownTid, "Unknown transfer ID", address, port);
            if (!answerSeen_)
                stale_->mark(port);
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
        // The server's first answer fixes its transfer port; the retransmission time-out
        // becomes the inactivity watch from here on.
        answerSeen_ = true;
        peerPort_ = port;
        rearm(peer_.periodMs);
    }
    heardMs_ = nowMs();
    idlePeriods_ = 0;
    if (upload_)
        handleUpload(v.block);
    else
        handleDownload(v.block, v.data, v.dataLength);
}

bool TftpTransfer::takeProgress()
{
    const bool due = progressDue_;
    progressDue_ = false;
    return due;
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
        socket_.sendTo(ack, TftpPacket::makeAck(block, ack, 4), peer_.server, peerPort_);
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
    lastLength_ = TftpPacket::makeAck(block, last_, int(sizeof last_));
    progressDue_ = true;
    std::string why;
    if (length < TftpPacket::kBlockSize) {
        // The last block is acknowledged only once the file is whole on disk; a file that
        // cannot be saved gets the server an error instead.
        if (!writeBuffer(&why) || !file_->commit(&why)) {
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
    if (buffer_.size() >= std::size_t(kIoChunk) && !writeBuffer(&why)) {
        sendError(TftpPacket::DiskFull, "Cannot write file", peer_.server, peerPort_);
        finish(CannotWrite, "cannot write " + localPath_ + ": " + why);
    }
}

bool TftpTransfer::writeBuffer(std::string *why)
{
    const bool ok = file_->append(buffer_.data(), buffer_.size(), why);
    buffer_.clear();
    return ok;
}

bool TftpTransfer::readAhead()
{
    const std::int64_t want = std::min<std::int64_t>(kIoChunk, total_ - bytes_ - std::int64_t(buffer_.size() - bufferPos_));
    if (bufferPos_ < buffer_.size() || want <= 0)
        return true;
    buffer_.resize(std::size_t(want));
    bufferPos_ = 0;
    const std::size_t got = file_->read(buffer_.data(), buffer_.size());
    // A file that shrank under us would otherwise end the transfer early as if complete.
    const bool whole = got == buffer_.size();
    buffer_.resize(got);
    return whole;
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
    lastLength_ = TftpPacket::makeData(lastBlock_, buffer_.data() + bufferPos_, length, last_, int(sizeof last_));
    bufferPos_ += std::size_t(length);
    sendLast();
    progressDue_ = true;
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
    const int length = TftpPacket::makeError(code, message, packet, int(sizeof packet));
    socket_.sendTo(packet, length, address, port);
}

void TftpTransfer::tick()
{
    if (!running_)
        return;
    if (!answerSeen_) {
        if (retries_ < kMaxRetransmissions) {
            ++retries_;
            sendLast();
            if (events_.requestSent)
                events_.requestSent(retries_ + 1);
            rearm(peer_.periodMs);
        } else {
            finish(Failed, format("no answer from %s after %d requests", dotted(peer_.server).c_str(), kMaxRequests));
        }
        return;
    }
    // The timer is not moved per packet; it is due again a period after the latest one.
    const int quietMs = int(nowMs() - heardMs_);
    if (idlePeriods_ == 0 && quietMs < peer_.periodMs) {
        rearm(peer_.periodMs - quietMs);
        return;
    }
    if (++idlePeriods_ >= kIdlePeriods) {
        finish(Failed, format("server stopped answering (nothing for %g s)", double(peer_.periodMs) * kIdlePeriods / 1000.0));
        return;
    }
    // A whole period without a packet: our block or acknowledgement, or the server's answer to
    // it, was lost, and not every server repeats its own. The sender repeats its last block,
    // the receiver its last acknowledgement.
    sendLast();
    rearm(peer_.periodMs);
}

bool TftpTransfer::finish(int code, const std::string &reason)
{
    if (answerSeen_)
        stale_->mark(peerPort_);
    const State state = state_;
    running_ = false;
    state_ = Idle;
    result_ = code;
    reason_ = reason;
    if (state == WaitFirstData || state == Receiving)
        total_ = bytes_;
    buffer_.clear();
    bufferPos_ = 0;
    file_ = nullptr;
    if (events_.finished)
        events_.finished();
    return false;
}
