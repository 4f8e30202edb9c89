#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

#include <list>
#include <mutex>

// The library's stored files whose SHA-256 the server has checked, kept in memory up to a bound,
// the least recently used dropped first. A blob read again from the database that equals the
// copy kept for its digest matches that digest without hashing it again; one that differs is
// hashed and refused as before. The database is still read each time, so a blob changed behind
// the server's back is never served, and a kept copy is only ever compared with. Shared by the
// reader's requests; safe from any thread.
class VerifiedBlobs
{
public:
    static constexpr qint64 kMaxBytes = 64LL * 1024 * 1024;

    // True when data is byte for byte the copy kept for digest (and marks it used).
    bool holds(const QString &digest, const QByteArray &data);
    // Keeps data, just checked against digest; a blob over kMaxBytes alone is not kept.
    void keep(const QString &digest, const QByteArray &data);

private:
    struct Entry
    {
        QString digest;
        QByteArray data;
    };

    std::mutex mutex_;
    std::list<Entry> used_; // most recently used first
    QHash<QString, std::list<Entry>::iterator> byDigest_;
    qint64 bytes_ = 0;
};
