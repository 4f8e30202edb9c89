#include "headreader.h"

#include <QList>

#include <algorithm>

namespace {

// RFC 9110 token characters: method and field names.
bool isToken(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || QByteArrayView("!#$%&'*+-.^_`|~").contains(c);
}

bool allToken(const QByteArray &s)
{
    return !s.isEmpty() && std::all_of(s.begin(), s.end(), isToken);
}

} // namespace

HeadReader::HeadReader(BodyLimit limit)
    : limit_(std::move(limit))
{
}

HeadReader::Step HeadReader::refuse(int status, const char *why, qsizetype used)
{
    if (refusal_ == 0) {
        refusal_ = status;
        why_ = why;
    }
    return {Event::Refused, used};
}

HeadReader::Step HeadReader::read(const char *data, qsizetype size)
{
    if (refusal_ != 0)
        return refuse(refusal_, why_, 0);
    if (bodyLeft_ > 0) {
        const qsizetype used = qsizetype(qMin<qint64>(bodyLeft_, size));
        bodyLeft_ -= used;
        return {bodyLeft_ == 0 ? Event::BodyEnd : Event::More, used};
    }
    for (qsizetype i = 0; i < size; ++i) {
        const Step s = headByte(data[i], i + 1);
        if (s.event != Event::More)
            return s;
    }
    return {Event::More, size};
}

HeadReader::Step HeadReader::headByte(char c, qsizetype used)
{
    // The server's parser also ends a head at a bare LF; only CRLF is let through, so both
    // find every head at the same place.
    const bool afterCr = head_.endsWith('\r');
    if ((c == '\n' && !afterCr) || (afterCr && c != '\n'))
        return refuse(400, "a line not ended by CRLF", used);
    if (c == '\0')
        return refuse(400, "a NUL byte in the head", used);
    if (head_.size() >= kMaxHead)
        return refuse(431, "request head over 16 KiB", used);
    head_.append(c);
    if (head_.size() == 2 && head_ == "\r\n")
        return refuse(400, "an empty line before the request line", used);
    if (!head_.endsWith("\r\n\r\n"))
        return {Event::More, used};
    if (!parseHead())
        return refuse(refusal_ ? refusal_ : 400, why_, used);
    head_.clear();
    return {Event::HeadEnd, used};
}

bool HeadReader::parseHead()
{
    const QList<QByteArray> lines = head_.left(head_.size() - 4).split('\n');
    method_.clear();
    path_.clear();
    cookie_.clear();
    bodyLength_ = 0;
    if (!parseRequestLine(lines.first().chopped(lines.size() > 1 ? 1 : 0)))
        return false;
    bool sawLength = false;
    bool chunked = false;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray line = i + 1 < lines.size() ? lines[i].chopped(1) : lines[i];
        if (line.startsWith(' ') || line.startsWith('\t')) {
            why_ = "a folded header line";
            return false;
        }
        chunked = chunked || line.toLower().startsWith("transfer-encoding:");
        if (!parseField(line, &sawLength))
            return false;
    }
    const qint64 limit = limit_ ? limit_(method_, path_, cookie_) : 0;
    if ((chunked || bodyLength_ > 0) && limit <= 0) {
        refusal_ = 413;
        why_ = "a body where none is taken";
        return false;
    }
    if (chunked) {
        refusal_ = 411;
        why_ = "a chunked body: Content-Length needed";
        return false;
    }
    if (bodyLength_ > limit) {
        refusal_ = 413;
        why_ = "a body over the route's limit";
        return false;
    }
    bodyLeft_ = bodyLength_;
    return true;
}

bool HeadReader::parseRequestLine(const QByteArray &line)
{
    const QList<QByteArray> parts = line.split(' ');
    why_ = "not a request line";
    if (parts.size() != 3 || !allToken(parts[0]) || (parts[2] != "HTTP/1.1" && parts[2] != "HTTP/1.0"))
        return false;
    const QByteArray &target = parts[1];
    for (const char c : target)
        if (quint8(c) <= 0x20 || quint8(c) >= 0x7f)
            return false;
    if (!target.startsWith('/'))
        return false;
    method_ = parts[0];
    const qsizetype query = target.indexOf('?');
    path_ = query < 0 ? target : target.left(query);
    return true;
}

bool HeadReader::parseField(const QByteArray &line, bool *sawLength)
{
    const qsizetype colon = line.indexOf(':');
    // No space before the colon: a proxy might read "Content-Length :" otherwise.
    why_ = "a bad header line";
    if (colon < 1 || !allToken(line.left(colon)))
        return false;
    for (const char c : line)
        if ((quint8(c) < 0x20 && c != '\t') || c == 0x7f)
            return false;
    if (line.left(colon).compare("cookie", Qt::CaseInsensitive) == 0 && cookie_.isEmpty())
        cookie_ = line.mid(colon + 1).trimmed();
    if (line.left(colon).compare("content-length", Qt::CaseInsensitive) != 0)
        return true;
    const QByteArray value = line.mid(colon + 1).trimmed();
    why_ = "a bad Content-Length";
    if (*sawLength || value.isEmpty() || value.size() > 15 || !std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    *sawLength = true;
    bodyLength_ = value.toLongLong();
    return true;
}
