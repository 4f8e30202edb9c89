#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// The office's job library as the machines see it: the answer of GET /api/library read with
// bounds and checks, and the line per job knitjob's "library list" prints for the panel.
class LibraryListing
{
public:
    static constexpr qint64 kMaxAnswerBytes = 4 * 1024 * 1024;
    static constexpr int kMaxJobs = 10000;
    static constexpr qint64 kMaxFileBytes = 32LL * 1024 * 1024;
    static constexpr int kMaxVersion = 1000000000;
    static constexpr int kMaxUploadedLength = 40;

    // The three files of a job, in this order everywhere (URLs, digests, lines).
    static const char *const kExtensions[3];

    struct Job
    {
        QString name;
        int version = 0;
        int rows = 0;
        int width = 0;
        qint64 size = 0;   // the three files' bytes
        QString uploaded;  // as the office wrote it (ISO 8601)
        QByteArray sha256[3]; // lower-case hex, cnt, pat, wrk
    };

    // The answer's jobs; false with the reason when it is not such an answer, over a bound,
    // or any job in it is bad (a name the panel could not store, a digest that is not one).
    static bool fromJson(const QByteArray &answer, QList<Job> *jobs, QString *why);
    // The newest version of each name, by name.
    static QList<Job> newest(const QList<Job> &jobs);
    // One job as a tab-separated line (no newline), and back; names hold no control characters.
    static QByteArray line(const Job &job);
    static bool fromLine(const QByteArray &line, Job *job);
    // A job name the library may hand out: one the stick import would take, without a dot.
    static bool isJobName(const QString &name);
    static bool isDigest(const QByteArray &hex);
};
