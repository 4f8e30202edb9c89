#pragma once

#include "data/libraryconfig.h"

#include <QNetworkAccessManager>
#include <QString>

#include <functional>

// knitjob's side of the office's job library: one GET at a time with the machine's token,
// the answer handed on as it arrives and never held past a bound.
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
    // GET path ("/api/library"); each piece of a 200 answer goes to sink. *why says what went
    // wrong, without the token.
    Fault get(const QString &path, qint64 maxBytes, const Receiver &sink, QString *why);
    // knitjob's exit status for a fault (sysexits).
    static int exitStatus(Fault fault);

private:
    LibraryConfig config_;
    QNetworkAccessManager net_;
};
