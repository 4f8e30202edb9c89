#pragma once

#include "httpreply.h"
#include "libraryroutes.h"

#include <QObject>
#include <QString>

class ApiReader;
class AuditLog;
class Outbox;
class Recorder;

// A machine's job from the library, answered on the API reader's thread and connection:
//   GET  /api/machines/ID/job   the version it is offered
//   POST /api/machines/ID/job   assigns one ({"job","version"}, JSON or form; version 0 or an
//                               empty job clears), published retained on knit/ID/offer
// RouteTable keeps who may (POST: a supervisor); each assignment is a line of the audit.
class OfferRoutes
{
public:
    using Asked = LibraryRoutes::Asked;
    using Done = LibraryRoutes::Done;

    OfferRoutes(ApiReader *reader, AuditLog *audit, const Recorder *recorder);
    // Where the offers go to the broker; none (no serve's client): nothing is published.
    void setOutbox(Outbox *outbox) { outbox_ = outbox; }
    static bool covers(const QString &path);
    // The machine id of a covered path.
    static QString machineOf(const QString &path);
    static QByteArray topic(const QString &machine);

    void answer(const Asked &a, QObject *context, const Done &done);

private:
    ApiReader *const reader_;
    AuditLog *const audit_;
    const Recorder *const recorder_;
    Outbox *outbox_ = nullptr;
};
