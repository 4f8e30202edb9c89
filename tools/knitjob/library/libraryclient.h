#pragma once

#include "data/libraryconfig.h"

#include <QByteArray>
#include <QString>

#include <curl/curl.h>

#include <functional>
#include <vector>

// knitjob's side of the office's job library: GETs with the machine's token, one or several in
// flight at once, each answer handed on as it arrives and never held past a bound. On libcurl's
// multi interface: the answers are taken on this one thread straight from the sockets, with no
// event loop or reply buffers between, and the connections stay open for the session's next.
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
    ~LibraryClient();
    LibraryClient(const LibraryClient &) = delete;
    LibraryClient &operator=(const LibraryClient &) = delete;

    // Takes a piece of the answer and the answer's announced length (-1 when not announced);
    // false stops the answer. The piece's bytes are only valid during the call.
    using Receiver = std::function<bool(const QByteArray &piece, qint64 length)>;
    struct Get
    {
        QString path; // "/api/library"
        qint64 maxBytes;
        Receiver sink; // each piece of a 200 answer
    };
    // GET path; *why says what went wrong, without the token.
    Fault get(const QString &path, qint64 maxBytes, const Receiver &sink, QString *why);
    // The GETs at once, each on a connection of its own, so the office prepares one answer
    // while the last one is still arriving. The first to fail stops the others; its fault and
    // *why come back.
    Fault getAll(const std::vector<Get> &gets, QString *why);
    // knitjob's exit status for a fault (sysexits).
    static int exitStatus(Fault fault);

private:
    struct Transfer;
    static size_t received(char *data, size_t size, size_t count, void *transfer);
    // A finished transfer's fault, or the one its receiver or bound set.
    Fault faultOf(const Transfer &t, CURLcode code, QString *why) const;

    LibraryConfig config_;
    CURLM *multi_ = nullptr;        // keeps the connections between requests
    curl_slist *headers_ = nullptr; // the token's header line
};
