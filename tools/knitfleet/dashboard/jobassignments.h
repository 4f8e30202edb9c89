#pragma once

#include "dashboardapi.h"

#include <QByteArray>
#include <QSqlDatabase>
#include <QString>

// Which library version each machine is offered (machine_jobs): a supervisor's assignment,
// published retained on knit/<machine>/offer for the panel, whose operator alone loads it.
// Only a released version of a name not archived is offered, and only to a machine known: one
// with a token of the library (knitfleet machine add) or heard from on the broker. Version 0 or
// an empty job clears the machine's offer.
class JobAssignments
{
public:
    struct Asked
    {
        QString machine;
        QString job;     // empty: clear
        int version = 0; // 0: clear
        QByteArray user;
        qint64 nowMs = 0;
        bool heard = false; // the machine was heard from on the broker
    };

    // 200 {"machine","offer"}: offer the message to publish ({"job","version","sha256","by",
    // "time"}), null once cleared; 404 unknown machine or version, 409 not released or archived.
    static DashboardApi::Answer assign(QSqlDatabase &db, const Asked &a);
    // 200 {"machine","offer"} as stored, offer null when none.
    static DashboardApi::Answer current(QSqlDatabase &db, const QString &machine);
    // The body of an assignment, JSON {"job","version"} or the form fields job and version;
    // false with the reason when it is not one.
    static bool readBody(const QByteArray &body, bool form, QString *job, int *version, QString *why);
};
