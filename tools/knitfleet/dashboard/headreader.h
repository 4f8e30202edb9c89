#pragma once

#include <QByteArray>

#include <functional>

// Reads the requests of one HTTP/1.1 connection as they arrive, before the web server's parser
// sees them: where each head ends, what body it declares, and whether it keeps to the limits.
// A head is counted from its request line to its blank line and must end within kMaxHead
// bytes; lines end in CRLF; one Content-Length at most; a body only where the route's limit
// allows it, declared by Content-Length before it comes (chunked refused), and counted as it
// comes, so the next head is found where it starts.
class HeadReader
{
public:
    static constexpr int kMaxHead = 16 * 1024;

    // The largest body a request may carry, by method, path and Cookie header (a large body is
    // taken from a session that may send it only); 0 refuses any.
    using BodyLimit = std::function<qint64(const QByteArray &method, const QByteArray &path, const QByteArray &cookie)>;

    enum class Event {
        More,    // every byte given was taken; the head or body goes on
        HeadEnd, // a head ended after `used` bytes
        BodyEnd, // the body ended after `used` bytes
        Refused, // the request breaks a rule: refusal() and why()
    };
    struct Step
    {
        Event event = Event::More;
        qsizetype used = 0;
    };

    explicit HeadReader(BodyLimit limit = nullptr);
    // Reads on from where the last call stopped, at most up to the next end of a head or body.
    // After a refusal every call refuses again.
    Step read(const char *data, qsizetype size);

    bool inBody() const { return bodyLeft_ > 0; }
    // Bytes of the current head read so far (0 between requests).
    int headBytes() const { return int(head_.size()); }
    qint64 bodyLength() const { return bodyLength_; }
    const QByteArray &method() const { return method_; }
    const QByteArray &path() const { return path_; }
    int refusal() const { return refusal_; }
    const char *why() const { return why_; }

private:
    Step headByte(char c, qsizetype used);
    bool parseHead();
    bool parseRequestLine(const QByteArray &line);
    bool parseField(const QByteArray &line, bool *sawLength);
    Step refuse(int status, const char *why, qsizetype used);

    BodyLimit limit_;
    QByteArray head_;
    QByteArray method_;
    QByteArray path_;
    QByteArray cookie_; // the head's Cookie field, for the body's limit
    qint64 bodyLength_ = 0;
    qint64 bodyLeft_ = 0;
    int refusal_ = 0;
    const char *why_ = "";
};
