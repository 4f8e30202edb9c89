#pragma once

#include "data/libraryconfig.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QString>

#include <functional>
#include <vector>

// knitjob's side of the office's job library: GETs with the machine's token, one or several in
// flight at once, each answer handed on as it arrives and never held past a bound.
class LibraryClient
{
public:
    enum Fault {
        None,
        Unreachable, // no answer, or the answer was cut off
        Tls,         // the TLS handshake failed (certificate, protocol)
        Refused,     // 401/403: the token is not (or no longer) known
        Busy,        // 429: over the office's rate
        Missing,     // 404
        TooLarge,    // the answer passed its bound
        Sink,        // the receiver refused a piece (it could not write it)
    };

    explicit LibraryClient(const LibraryConfig &config);

    // Takes a piece of the answer and the answer's announced length (-1 when not announced);
    // false stops the answer.
    using Receiver = std::function<bool(const QByteArray &piece, qint64 length)>;
    struct Get
    {
        QString path; // "/api/library"
        qint64 maxBytes;
        Receiver sink; // each piece of a 200 answer
    };
    // GET path; *why says what went wrong, without the token.
    Fault get(const QString &path, qint64 maxBytes, const Receiver &sink, QString *why);
    // The GETs at once, over as many connections as the network access manager opens, so the
    // office prepares one answer while the last one is still arriving. The first to fail
    // stops the others; its fault and *why come back.
    Fault getAll(const std::vector<Get> &gets, QString *why);
    // knitjob's exit status for a fault (sysexits).
    static int exitStatus(Fault fault);

private:
    // A finished reply's fault, stopped the one its receiver or bound set.
    Fault faultOf(QNetworkReply *reply, const QString &path, qint64 maxBytes, Fault stopped, QString *why) const;

    LibraryConfig config_;
    QNetworkAccessManager net_;
};
