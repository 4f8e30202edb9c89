#pragma once

#include "link/tftppacket.h"
#include "link/tftpport.h"
#include "link/tftpstaleports.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// The lock-step exchange of one TFTP transfer (octet mode, 512-byte blocks) in plain C++: the
// request and its retransmission, the blocks and their acknowledgements, refusal of other
// transfers' packets, the inactivity watch and the result. It answers each packet at once on the
// socket it is given and moves the file through a File a chunk at a time. The panel's TftpClient
// drives it from the event loop; run() drives it on the blocking socket alone, for a process that
// only moves a file (per block one recvfrom and one sendto).
class TftpTransfer
{
public:
    enum Result { Complete = 0, Failed = 1, CannotWrite = 2, CannotRead = 3 };

    static const std::uint16_t kServerPort = 69; // both moved by KNIT_PORT_OFFSET
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
        std::uint16_t localPort = 0;  // what the socket was bound to, for the message if it was not
        int periodMs = kRequestTimeoutMs;
    };

    // The local side. Download: append, then commit once whole (the old file stays until then).
    // Upload: read, short only at the end of the file or on an error. why: one line.
    class File
    {
    public:
        virtual ~File() = default;
        virtual bool append(const char *data, std::size_t length, std::string *why) = 0;
        virtual bool commit(std::string *why) = 0;
        virtual std::size_t read(char *buffer, std::size_t length) = 0;
    };

    // What a driver hears of; each may be left empty.
    struct Events
    {
        std::function<void(int attempt)> requestSent; // 1 to kMaxRequests
        std::function<void(int ms)> rearm;            // time-out due in ms from now
        std::function<void()> finished;               // result() and reason() are set
    };

    explicit TftpTransfer(TftpPort &socket);
    TftpTransfer(const TftpTransfer &) = delete;
    TftpTransfer &operator=(const TftpTransfer &) = delete;

    void setEvents(const Events &events) { events_ = events; }
    // The stale ports to keep across this and later transfers on the same local port; its own
    // (for this transfer alone) while none is given.
    void setStalePorts(TftpStalePorts *ports) { stale_ = ports ? ports : &ownStale_; }
    // Starts a transfer: an upload reads its first chunk of total bytes, then the request goes
    // out. False, after finished, when it cannot start. localPath names the file in messages;
    // the remote name is sent as its bytes.
    bool begin(bool upload, const std::string &localPath, const std::string &remoteName, File *file,
               std::int64_t total, const Peer &peer);
    // A transfer that could not start, or ends from outside, with code and reason (finished
    // follows).
    void fail(int code, const std::string &reason);

    // One datagram from the socket, if one is waiting (or, with wait, arrives within the
    // socket's wait): false when none came.
    bool receive(bool wait);
    // The time-out: retransmits the request, or after a whole period without a packet from the
    // server the last block or acknowledgement; counts such periods.
    void tick();
    // Runs a begun transfer to its end on the socket alone; the result.
    int run();

    bool isRunning() const { return running_; }
    bool answered() const { return answerSeen_; }
    bool isUpload() const { return upload_; }
    int result() const { return result_; }
    const std::string &reason() const { return reason_; }
    std::int64_t bytes() const { return bytes_; }
    std::int64_t total() const { return total_; }
    // Whether blocks moved since the last call.
    bool takeProgress();

private:
    enum State { Idle, WaitFirstData, Receiving, WaitAck0, Sending, LastSent };

    void rearm(int ms);
    void take(int length, std::uint32_t address, std::uint16_t port);
    void handleDownload(std::uint16_t block, const char *data, int length);
    void handleUpload(std::uint16_t block);
    void writeBlock(std::uint16_t block, const char *data, int length);
    bool writeBuffer(std::string *why);
    bool readAhead();
    void sendNextBlock();
    void sendLast();
    void sendError(int code, const char *message, std::uint32_t address, std::uint16_t port);
    bool finish(int code, const std::string &reason);

    TftpPort &socket_;
    Events events_;
    TftpStalePorts ownStale_;
    TftpStalePorts *stale_ = &ownStale_;
    File *file_ = nullptr;
    Peer peer_;
    State state_ = Idle;
    bool upload_ = false;
    bool running_ = false;
    bool progressDue_ = false;
    int result_ = -1;
    std::string reason_;
    std::string localPath_;

    std::uint16_t peerPort_ = 0;
    bool answerSeen_ = false;
    double heardMs_ = 0; // monotonic ms of the server's latest packet
    int retries_ = 0;
    int idlePeriods_ = 0;
    double deadline_ = 0; // monotonic ms of the next time-out
    int armedMs_ = -1;    // the socket's receive wait as run() last set it

    std::vector<char> buffer_; // download: received, not yet written; upload: read, not yet sent
    std::size_t bufferPos_ = 0;
    std::int64_t bytes_ = 0;
    std::int64_t total_ = 0;
    std::uint16_t lastBlock_ = 0; // last block written (download) or sent (upload)

    char last_[TftpPacket::kMaxPacket]; // the last packet sent, kept for retransmission
    int lastLength_ = 0;
    char receive_[TftpPacket::kMaxPacket];
};
