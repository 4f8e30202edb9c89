#include "libraryclient.h"

#include <QFile>
#include <QUrl>

#include <sysexits.h>

namespace {

// Quiet this long, the office is taken as gone.
constexpr long kTransferTimeoutS = 30;
// What one receive may take from the socket: a megabyte's file in a few dozen calls.
constexpr long kReceiveBytes = 256 * 1024;

} // namespace

struct LibraryClient::Transfer
{
    const Get *get = nullptr;
    CURL *easy = nullptr;
    qint64 received = 0;
    long status = 0;
    Fault stopped = None;
    bool ended = false;
    char error[CURL_ERROR_SIZE] = {};
};

LibraryClient::LibraryClient(const LibraryConfig &config)
    : config_(config)
{
    // Thread-safe from libcurl 7.84; the helper has one thread anyway.
    curl_global_init(CURL_GLOBAL_DEFAULT);
    multi_ = curl_multi_init();
    headers_ = curl_slist_append(nullptr, QByteArray("Authorization: Bearer " + config_.token).constData());
}

LibraryClient::~LibraryClient()
{
    curl_slist_free_all(headers_);
    curl_multi_cleanup(multi_);
}

int LibraryClient::exitStatus(Fault fault)
{
    switch (fault) {
    case None:
        return EX_OK;
    case Tls:
        return EX_PROTOCOL;
    case Refused:
        return EX_NOPERM;
    case Busy:
        return EX_TEMPFAIL;
    case Missing:
        return EX_NOINPUT;
    case TooLarge:
        return EX_DATAERR;
    case Sink:
        return EX_CANTCREAT;
    case Unreachable:
        break;
    }
    return EX_UNAVAILABLE;
}

LibraryClient::Fault LibraryClient::get(const QString &path, qint64 maxBytes, const Receiver &sink, QString *why)
{
    return getAll({{path, maxBytes, sink}}, why);
}

size_t LibraryClient::received(char *data, size_t size, size_t count, void *transfer)
{
    Transfer &t = *static_cast<Transfer *>(transfer);
    const size_t bytes = size * count;
    if (t.status == 0)
        curl_easy_getinfo(t.easy, CURLINFO_RESPONSE_CODE, &t.status);
    // Only a 200's body is anyone's; the others are read past, their status says it all.
    if (t.status != 200)
        return bytes;
    curl_off_t announced = -1;
    curl_easy_getinfo(t.easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &announced);
    t.received += qint64(bytes);
    if (t.received > t.get->maxBytes || announced > t.get->maxBytes)
        t.stopped = TooLarge;
    else if (!t.get->sink(QByteArray::fromRawData(data, qsizetype(bytes)), announced >= 0 ? qint64(announced) : -1))
        t.stopped = Sink;
    return t.stopped == None ? bytes : CURL_WRITEFUNC_ERROR;
}

LibraryClient::Fault LibraryClient::getAll(const std::vector<Get> &gets, QString *why)
{
    if (!multi_ || !headers_) {
        *why = QStringLiteral("cannot set up a request to the library (out of memory)");
        return Unreachable;
    }
    std::vector<Transfer> transfers(gets.size());
    const QByteArray cafile = QFile::encodeName(config_.cafile);
    const auto stop = [this, &transfers] {
        for (Transfer &t : transfers) {
            curl_multi_remove_handle(multi_, t.easy);
            curl_easy_cleanup(t.easy);
        }
    };
    for (std::size_t i = 0; i < gets.size(); ++i) {
        Transfer &t = transfers[i];
        t.get = &gets[i];
        QUrl url = config_.url;
        url.setPath(gets[i].path);
        const QByteArray address = url.toEncoded();
        CURL *easy = t.easy = curl_easy_init();
        // Every option is one libcurl has had for years; a refusal is an out-of-memory.
        bool set = easy != nullptr && curl_easy_setopt(easy, CURLOPT_URL, address.constData()) == CURLE_OK
                   && curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https") == CURLE_OK
                   // Straight to the office (the library's url was checked against loopback), never
                   // through a proxy the environment names.
                   && curl_easy_setopt(easy, CURLOPT_PROXY, "") == CURLE_OK
                   && curl_easy_setopt(easy, CURLOPT_HTTPHEADER, headers_) == CURLE_OK
                   && curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L) == CURLE_OK
                   && curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT, kTransferTimeoutS) == CURLE_OK
                   && curl_easy_setopt(easy, CURLOPT_LOW_SPEED_LIMIT, 1L) == CURLE_OK
                   && curl_easy_setopt(easy, CURLOPT_LOW_SPEED_TIME, kTransferTimeoutS) == CURLE_OK
                   && curl_easy_setopt(easy, CURLOPT_BUFFERSIZE, kReceiveBytes) == CURLE_OK
                   && curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &LibraryClient::received) == CURLE_OK
                   && curl_easy_setopt(easy, CURLOPT_WRITEDATA, &t) == CURLE_OK
                   && curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, t.error) == CURLE_OK;
        // The office's own authority besides the system's certificates (those stay in CAPATH).
        if (set && !cafile.isEmpty())
            set = curl_easy_setopt(easy, CURLOPT_CAINFO, cafile.constData()) == CURLE_OK;
        if (!set || curl_multi_add_handle(multi_, easy) != CURLM_OK) {
            stop();
            *why = QStringLiteral("cannot set up a request to the library (out of memory)");
            return Unreachable;
        }
    }
    Fault first = None;
    std::size_t finished = 0;
    while (finished < transfers.size()) {
        int running = 0;
        CURLMcode mc = curl_multi_perform(multi_, &running);
        int queued = 0;
        while (CURLMsg *m = curl_multi_info_read(multi_, &queued)) {
            if (m->msg != CURLMSG_DONE)
                continue;
            for (Transfer &t : transfers) {
                if (t.easy != m->easy_handle || t.ended)
                    continue;
                t.ended = true;
                ++finished;
                curl_easy_getinfo(t.easy, CURLINFO_RESPONSE_CODE, &t.status);
                // An empty file gave no piece: its receiver still learns that it is whole.
                if (m->data.result == CURLE_OK && t.status == 200 && t.received == 0 && t.stopped == None
                    && !t.get->sink(QByteArray(), 0))
                    t.stopped = Sink;
                QString reason;
                const Fault fault = faultOf(t, m->data.result, &reason);
                if (fault != None && first == None) {
                    // One file missing fails the whole: the others are not waited for.
                    first = fault;
                    *why = reason;
                    finished = transfers.size();
                }
            }
        }
        if (finished < transfers.size() && mc == CURLM_OK)
            mc = curl_multi_poll(multi_, nullptr, 0, 1000, nullptr);
        if (mc != CURLM_OK) {
            first = Unreachable;
            *why = QStringLiteral("the library at %1 did not answer whole: %2").arg(config_.url.host(), QString::fromUtf8(curl_multi_strerror(mc)));
            break;
        }
    }
    stop();
    return first;
}

LibraryClient::Fault LibraryClient::faultOf(const Transfer &t, CURLcode code, QString *why) const
{
    const QString &path = t.get->path;
    const QString host = config_.url.host();
    const QString errorText = QString::fromUtf8(t.error[0] ? t.error : curl_easy_strerror(code));
    if (t.stopped == TooLarge)
        *why = QStringLiteral("%1 is over %2 bytes").arg(path).arg(t.get->maxBytes);
    if (t.stopped != None)
        return t.stopped;
    switch (code) {
    case CURLE_SSL_CACERT_BADFILE:
        *why = QStringLiteral("no certificate in %1").arg(config_.cafile);
        return Tls;
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
    case CURLE_SSL_ISSUER_ERROR:
    case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
    case CURLE_SSL_INVALIDCERTSTATUS:
        *why = QStringLiteral("TLS with %1 failed: %2").arg(host, errorText);
        return Tls;
    default:
        break;
    }
    const long status = t.status;
    if (status == 401 || status == 403) {
        *why = QStringLiteral("the library refused this machine's token (HTTP %1)").arg(status);
        return Refused;
    }
    if (status == 429) {
        *why = QStringLiteral("the library asks to wait: over its requests a minute (HTTP 429)");
        return Busy;
    }
    if (status == 404) {
        *why = QStringLiteral("%1 is not in the library (HTTP 404)").arg(path);
        return Missing;
    }
    if (status != 200 || code != CURLE_OK) {
        *why = status == 0 || status == 200 ? QStringLiteral("the library at %1 did not answer whole: %2").arg(host, errorText)
                                            : QStringLiteral("the library answered HTTP %1 for %2").arg(status).arg(path);
        return Unreachable;
    }
    return None;
}
