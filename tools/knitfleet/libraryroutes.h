#pragma once

#include "httpreply.h"

#include "dashboard/dashboardapi.h"
#include "dashboard/verifiedblobs.h"

#include <QByteArray>
#include <QHash>
#include <QHostAddress>
#include <QObject>
#include <QString>

#include <deque>
#include <functional>
#include <memory>

class ApiReader;
class AuditLog;
class FleetDb;

// The job library's routes, answered on the API reader's thread and connection (an upload is
// checked and stored there, never on the event loop):
//   GET  /api/library                      the names and their versions
//   POST /api/library                      an upload (multipart: name, comment, cnt, pat, wrk)
//   GET  /api/library/NAME/V/NAME.cnt      a version's file (.pat, .wrk likewise)
//   GET  /api/library/NAME/V/preview.png   its pattern drawn
//   POST /api/library/NAME/V/approve       releases a version to the machines
//   POST /api/library/NAME/archive         hides the name from the machines
// RouteTable keeps who may (POST: a supervisor); each change is a line of the audit.
class LibraryRoutes
{
public:
    struct Asked
    {
        QByteArray method;
        QString path;
        QByteArray contentType;
        QByteArray body;
        QByteArray user;
        QHostAddress peer;
        qint64 nowMs = 0;
    };
    using Done = std::function<void(const HttpReply &)>;

    LibraryRoutes(ApiReader *reader, AuditLog *audit);
    // --require-approval: a version waits for a second supervisor.
    void setApprovalNeeded(bool needed) { approvalNeeded_ = needed; }
    static bool covers(const QString &path);
    static constexpr int kMachineRate = 60; // a token's requests a minute
    static constexpr int kMaxTokensSeen = 10000;

    // Calls done with the reply, at once or from the reader (unless context is gone).
    void answer(const Asked &a, QObject *context, const Done &done);
    // A machine's request by its bearer token: the released jobs' list and their files only
    // (403 otherwise), kMachineRate a minute (429 past it), 401 for a token not known or revoked.
    void answerMachine(const Asked &a, const QByteArray &token, QObject *context, const Done &done);

private:
    void upload(const Asked &a, QObject *context, const Done &done);
    void versionRoute(const Asked &a, const QStringList &parts, QObject *context, const Done &done);
    // Runs work on the reader (503 when its connection is not open); a change that went
    // through (action given) is a line of the audit.
    void dispatch(const std::function<DashboardApi::Answer(FleetDb &)> &work, const Asked &a, const QString &action,
                  const QString &detail, QObject *context, const Done &done);

    // Counts the token's request; false when it is past its rate.
    bool withinRate(const QByteArray &token, qint64 nowMs);

    ApiReader *const reader_;
    QHash<QByteArray, std::deque<qint64>> uses_; // by the token's digest: its requests' times
    qint64 refusedAt_ = 0; // the last token-refused row of the audit
    int refusedHeld_ = 0;  // refusals since, not written
    AuditLog *const audit_;
    bool approvalNeeded_ = false;
    // The blobs checked once, for the reader's work that may outlive this object.
    const std::shared_ptr<VerifiedBlobs> verified_ = std::make_shared<VerifiedBlobs>();
};
