#pragma once

#include "dashboardapi.h"
#include "jobfiles.h"
#include "verifiedblobs.h"

#include <QByteArray>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>

// The job library in the database: each upload of a job's three files is a version of its
// name (1, 2, ...), the files kept as they came, once each, under their SHA-256
// (library_blobs); an upload whose three files equal a version the name has makes none.
// A version reaches machines once approved (at once without approval required; else by a
// supervisor other than its uploader) while its name is not archived. A stored file is
// checked against its digest each time it is read (against the copy VerifiedBlobs keeps, when
// it keeps one): one that no longer matches is never served. Every answer is the API's (JSON,
// 4xx with the reason, 503 when the database fails).
class JobLibrary
{
public:
    static constexpr qint64 kMaxUpload = 32LL * 1024 * 1024;
    static constexpr int kMaxComment = 256;
    static constexpr int kMaxVersions = 1000; // listed per name, newest first

    struct Upload
    {
        QString name;
        QString comment;
        QByteArray cnt, pat, wrk;
        JobFiles::Facts facts;
        QByteArray user;
        qint64 nowMs = 0;
        bool approvalNeeded = false;
    };

    // verified: the server's checked blobs, so a file fetched again is compared, not hashed again.
    explicit JobLibrary(QSqlDatabase &db, VerifiedBlobs *verified = nullptr) : db_(db), verified_(verified) {}
    // 201 {"name","version","created"} (created false: the same files as that version).
    DashboardApi::Answer upload(const Upload &u);
    // {"names":[{"name","archived","versions":[{"version","rows","width","size","uploader",
    // "uploaded","comment","state","approved_by","files":{"cnt","pat","wrk"}}]}]}
    DashboardApi::Answer list();
    // What a machine may fetch: {"jobs":[{"name","version","rows","width","size","uploaded",
    // "sha256":{"cnt","pat","wrk"}}]}, the released versions of names not archived.
    DashboardApi::Answer released();
    // The file (ext cnt, pat or wrk) of a version, checked against its digest; forMachine: of a
    // released version of a name not archived only.
    DashboardApi::Answer file(const QString &name, int version, const QString &ext, bool forMachine = false);
    DashboardApi::Answer preview(const QString &name, int version);
    DashboardApi::Answer approve(const QString &name, int version, const QByteArray &user, qint64 nowMs);
    DashboardApi::Answer archive(const QString &name, const QByteArray &user, qint64 nowMs);

    static QString sha256(const QByteArray &data);

private:
    // The blob of that digest, checked; an error answer in *fail otherwise.
    bool blob(const QString &digest, QByteArray *data, DashboardApi::Answer *fail);
    bool storeBlob(const QByteArray &data, const QString &digest);
    // The version's digest of the file; 0 found, 404 unknown, 503 failed.
    int digestOf(const QString &name, int version, const QString &ext, bool forMachine, QString *digest);
    int sameVersion(const Upload &u, const QString digests[3], bool *failed);
    bool addVersion(const Upload &u, const QString digests[3], int *version);

    // Runs the upload's statement; its error kept for the line on standard error.
    bool exec(QSqlQuery &q);

    QSqlDatabase &db_;
    VerifiedBlobs *const verified_;
    QString why_;
};
