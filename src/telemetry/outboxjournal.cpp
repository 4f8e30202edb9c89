#include "outboxjournal.h"

#include "platform/atomicfile.h"
#include "platform/logwriter.h"

#include <QFile>

#include <algorithm>
#include <limits>

namespace {

quint32 crc32(const QByteArray &bytes)
{
    quint32 crc = 0xffffffffu;
    for (const char c : bytes) {
        crc ^= quint8(c);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

// Decimal digits only, no sign, no spaces, no overflow.
bool number(const QByteArray &text, quint64 *value)
{
    if (text.isEmpty() || text.size() > 19)
        return false;
    quint64 v = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return false;
        v = v * 10 + quint64(c - '0');
    }
    *value = v;
    return true;
}

// Only the form written: what decodes and encodes back the same.
QByteArray base64(const QByteArray &field, bool *ok)
{
    const QByteArray::FromBase64Result r = QByteArray::fromBase64Encoding(field, QByteArray::AbortOnBase64DecodingErrors);
    *ok = *ok && bool(r) && r.decoded.toBase64() == field;
    return r.decoded;
}

// The record's body when its length and checksum hold; empty otherwise.
QByteArray body(const QByteArray &line)
{
    const qsizetype lengthEnd = line.indexOf(' ');
    const qsizetype crcEnd = lengthEnd < 0 ? -1 : line.indexOf(' ', lengthEnd + 1);
    quint64 length = 0;
    if (crcEnd != lengthEnd + 9 || !number(line.left(lengthEnd), &length))
        return {};
    const QByteArray rest = line.mid(crcEnd + 1);
    const QByteArray crc = line.mid(lengthEnd + 1, 8);
    const bool hex = std::all_of(crc.begin(), crc.end(), [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
    return hex && length == quint64(rest.size()) && crc.toUInt(nullptr, 16) == crc32(rest) ? rest : QByteArray();
}

} // namespace

OutboxJournal::OutboxJournal(const QString &path, Written written) : path_(path), written_(std::move(written)) {}

OutboxJournal::~OutboxJournal() = default;

QByteArray OutboxJournal::record(const QByteArray &body)
{
    return QByteArray::number(body.size()) + ' ' + QByteArray::number(crc32(body), 16).rightJustified(8, '0') + ' ' + body;
}

OutboxJournal::Contents OutboxJournal::read(QIODevice &in, int maxPending)
{
    Contents c;
    std::map<quint64, Entry> pending;
    QByteArray buffer(kMaxLine + 2, Qt::Uninitialized);
    bool inLongLine = false;
    qint64 n = 0;
    while ((n = in.readLine(buffer.data(), buffer.size())) > 0) {
        const bool ends = buffer[n - 1] == '\n';
        if (inLongLine || !ends) {
            // Longer than any record written, or torn by a power cut at the end: skipped whole.
            c.damaged += inLongLine ? 0 : 1;
            c.clean = false;
            inLongLine = !ends;
            continue;
        }
        const QList<QByteArray> f = body(QByteArray(buffer.constData(), n - 1)).split(' ');
        quint64 seq = 0;
        bool ok = f.size() >= 2 && number(f[1], &seq) && seq > 0;
        if (ok && f[0] == "d" && f.size() == 2) {
            pending.erase(seq);
            c.clean = false;
        } else if (ok && f[0] == "m" && f.size() == 5 && (f[2] == "a" || f[2] == "s") && !pending.count(seq)) {
            Entry e{seq, f[2] == "s", base64(f[3], &ok), base64(f[4], &ok)};
            if (ok && !e.topic.isEmpty())
                pending.emplace(seq, std::move(e));
        } else {
            ok = false;
        }
        if (!ok) {
            ++c.damaged;
            c.clean = false;
            continue;
        }
        c.lastSeq = std::max(c.lastSeq, seq);
        if (int(pending.size()) > std::max(maxPending, 0)) {
            pending.erase(pending.begin());
            ++c.overflow;
            c.clean = false;
        }
    }
    for (auto &p : pending)
        c.pending.push_back(std::move(p.second));
    return c;
}

OutboxJournal::Contents OutboxJournal::open(int maxPending)
{
    QFile file(path_);
    Contents c;
    if (file.open(QIODevice::ReadOnly)) {
        c = read(file, maxPending);
        size_ = file.size();
    } else if (file.exists()) {
        c.clean = false; // unreadable: begun again
    }
    for (const Entry &e : c.pending) {
        QByteArray line;
        if (encode(e, &line)) {
            pending_[e.seq] = line;
            pendingBytes_ += line.size() + 1;
        }
    }
    if (!c.clean)
        rewrite();
    return c;
}

bool OutboxJournal::encode(const Entry &entry, QByteArray *line)
{
    *line = record("m " + QByteArray::number(entry.seq) + (entry.stop ? " s " : " a ") + entry.topic.toBase64() + ' '
                   + entry.payload.toBase64());
    return line->size() <= kMaxLine;
}

bool OutboxJournal::append(const Entry &entry)
{
    QByteArray line;
    if (!encode(entry, &line))
        return false;
    pending_[entry.seq] = line;
    pendingBytes_ += line.size() + 1;
    write(line);
    return true;
}

void OutboxJournal::done(quint64 seq)
{
    const auto it = pending_.find(seq);
    if (it == pending_.end())
        return;
    pendingBytes_ -= it->second.size() + 1;
    pending_.erase(it);
    write(record("d " + QByteArray::number(seq)));
    if (pending_.empty() || (size_ > kCompactBytes && size_ > 2 * pendingBytes_))
        rewrite();
}

void OutboxJournal::flush()
{
    if (writer_)
        writer_->flush();
}

void OutboxJournal::write(const QByteArray &line)
{
    // Never rotated: rewrite() keeps the file small.
    if (!writer_)
        writer_ = std::make_unique<LogWriter>(path_, std::numeric_limits<qint64>::max(), written_);
    writer_->append(line);
    size_ += line.size() + 1;
}

void OutboxJournal::rewrite()
{
    writer_.reset(); // what it still holds written first
    QByteArray whole;
    whole.reserve(pendingBytes_);
    for (const auto &p : pending_)
        whole += p.second + '\n';
    // A failed save leaves the old file, which the next start reads the same way.
    const bool saved = AtomicFile::save(path_, whole);
    if (saved)
        size_ = whole.size();
    if (written_)
        written_(saved);
}
