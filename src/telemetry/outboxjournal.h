#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>

#include <functional>
#include <map>
#include <memory>
#include <vector>

class LogWriter;

// The alarm and stop messages not yet acknowledged by the broker, kept on disk so that neither a
// restart nor a power cut loses them. An append-only file of text records, one a line:
//   LENGTH CRC32 m SEQ KIND TOPIC PAYLOAD   a message (kind a: alarm, s: stop; topic and payload
//                                           in base64)
//   LENGTH CRC32 d SEQ                      message SEQ left the outbox (acknowledged or dropped)
// LENGTH and CRC32 (hex) are those of the rest of the line, so a record a power cut tore or
// damaged is found and skipped, never sent. Lines are appended by a LogWriter (one write and an
// fdatasync each); the file is rewritten whole, atomically, once all is done or it has grown
// well past what is still pending, and when opened if it held anything else. Whether each line
// and rewrite reached the disk is told to `written`, from the writer's thread for a line.
class OutboxJournal
{
public:
    static constexpr int kMaxLine = 6 * 1024;
    // Past this the file is rewritten with only the pending messages, if they are less than half.
    static constexpr qint64 kCompactBytes = 1 << 20;

    struct Entry
    {
        quint64 seq = 0;
        bool stop = false; // else an alarm
        QByteArray topic;
        QByteArray payload;
    };
    struct Contents
    {
        std::vector<Entry> pending; // in order made, at most maxPending (the newest)
        quint64 lastSeq = 0;        // the highest sequence number seen
        int damaged = 0;            // records skipped: torn, too long, wrong length or checksum
        int overflow = 0;           // pending messages past maxPending, the oldest, dropped
        bool clean = true;          // nothing in the file but the pending messages
    };

    using Written = std::function<void(bool ok)>;

    explicit OutboxJournal(const QString &path, Written written = {});
    ~OutboxJournal();
    OutboxJournal(const OutboxJournal &) = delete;
    OutboxJournal &operator=(const OutboxJournal &) = delete;

    // Reads what the file holds and leaves only that in it; call once, before the rest.
    Contents open(int maxPending);
    // False (nothing written) for a message whose record would be longer than kMaxLine.
    bool append(const Entry &entry);
    void done(quint64 seq);
    // Returns once all appended so far is on disk.
    void flush();
    QString path() const { return path_; }

    // Reads a journal from in, every line bounded by kMaxLine.
    static Contents read(QIODevice &in, int maxPending);
    // A record's line (without its newline) for body, and the one for a message; false when
    // that is longer than kMaxLine.
    static QByteArray record(const QByteArray &body);
    static bool encode(const Entry &entry, QByteArray *line);

private:
    void write(const QByteArray &line);
    void rewrite();

    const QString path_;
    const Written written_;
    std::unique_ptr<LogWriter> writer_;
    std::map<quint64, QByteArray> pending_; // seq: its line, what a rewrite keeps
    qint64 pendingBytes_ = 0;
    qint64 size_ = 0;
};
