#pragma once

#include "telemetry/reasonlist.h"

#include <QByteArray>
#include <QString>

// The stop reasons the panel offers: stops.json on the data disk, or the office's list
// (retained on knit/<machine>/config), which wins and is saved over stops.json as the last good
// one, so it holds from the next start on before the broker is reached. A list that breaks a
// rule is refused whole: the one in force stays, one line on standard error says why, and so
// does error() until a good list comes.
class StopReasons
{
public:
    static QString path();

    // Reads stops.json; without it, or with a bad one, the default list is in force.
    void load();
    // The office's list: true when taken (and saved).
    bool takeOffice(const QByteArray &payload);

    const ReasonList &list() const { return list_; }
    // Why the last list offered was refused; empty when it was taken.
    const QString &error() const { return error_; }

private:
    bool take(const QByteArray &json, const QString &source);

    ReasonList list_;
    QString error_;
};
