#pragma once

#include "link/tftppacket.h"
#include "link/tftpport.h"

#include <cstdint>
#include <string>
#include <vector>

// One TFTP transfer run to its end in the calling thread (octet mode, 512-byte blocks), for a
// process that only moves a file: TftpClient's exchange (its packets, retransmission, time-outs,
// refusal of other transfers' packets and result codes) on a blocking socket and plain file
// calls, without Qt. Per block one recvfrom and one sendto; the file is read or written a chunk
// at a time. A download goes to a temporary file beside the target and replaces it only whole.
class TftpTransfer
{
public:
    enum Result { Complete = 0, Failed = 1, CannotWrite = 2, CannotRead = 3 };

    static const std::uint16_t kServerPort = 69;  // both moved by KNIT_PORT_OFFSET
    static const std::uint16_t kLocalPort = 3000;
    static const int kRequestTimeoutMs = 6000;
    static const int kMaxRetransmissions = 10;
    static const int kMaxRequests = kMaxRetransmissions + 1;
    // A transfer that saw an answer fails after this many request time-outs without a packet.
    static const int kIdlePeriods = 10;
    static const std::int64_t kMaxFileSize = 256 * 1024 * 1024;
    static const int kIoChunk = 64 * TftpPacket::kBlockSize;

    struct Peer
    {
        std::uint32_t server = 0;     // IPv4, host byte order; 0 cannot be sent to
        std::uint16_t serverPort = 0; // where requests go
        std::uint16_t localPort = 0;  // bound on every local address
        int periodMs = kRequestTimeoutMs;
    };

    explicit TftpTransfer(const Peer &peer);
    ~TftpTransfer();
    TftpTransfer(const TftpTransfer &) = delete;
    TftpTransfer &operator=(const TftpTransfer &) = delete;

    // Each returns the Result; reason() says why in one line when it is not Complete. The remote
    // name is sent as its bytes.
    int get(const std::string &localPath, const std::string &remoteName);
    int put(const std::string &localPath, const std::string &remoteName);
    const std::string &reason() const { return reason_; }

private:
    enum State { Idle, WaitFirstData, Receiving, WaitAck0, Sending, LastSent };

    int run(bool upload, const std::string &remoteName);
    void waitUntilDeadline();
    void take(int length, std::uint32_t address, std::uint16_t port);
    void handleDownload(std::uint16_t block, const char *data, int length);
    void handleUpload(std::uint16_t block);
    void writeBlock(std::uint16_t block, const char *data, int length);
    bool writeBuffer();
    bool commit();
    bool readAhead();
    void sendNextBlock();
    void sendLast();
    void sendError(int code, const char *message, std::uint32_t address, std::uint16_t port);
    void tick();
    int finish(int code, const std::string &reason);
    bool isStale(std::uint16_t port) const;
    void markStale(std::uint16_t port);

    Peer peer_;
    TftpPort socket_;
    State state_ = Idle;
    bool upload_ = false;
    bool running_ = false;
    int result_ = -1;
    std::string reason_;
    std::string localPath_;
    std::string tmpPath_; // download's temporary file until it replaces localPath_
    int fd_ = -1;

    std::uint16_t peerPort_ = 0;
    bool answerSeen_ = false;
    bool activity_ = false;
    int retries_ = 0;
    int idlePeriods_ = 0;
    double deadline_ = 0; // monotonic ms of the next time-out
    int armedMs_ = -1;    // the socket's current receive wait

    std::vector<char> buffer_; // download: received, not yet written; upload: read, not yet sent
    std::size_t bufferPos_ = 0;
    std::int64_t bytes_ = 0;
    std::int64_t total_ = 0;
    std::uint16_t lastBlock_ = 0;
    std::vector<std::uint16_t> stale_; // transfer ports of packets that are not this transfer's

    char last_[TftpPacket::kMaxPacket];
    int lastLength_ = 0;
    char receive_[TftpPacket::kMaxPacket];
};
