// Feeds arbitrary bytes to knitfleet serve's reader of the panels' stop reasons and to the reader
// of the reason lists (the panel's stops.json and knit/<m>/config, the office's too): the whole input as a stop message and as a reason list, then each line
// as a broker message to a recorder (topic, a space, the payload; knit/<m>/state, /stop and
// /config). Nothing may crash; a stop message taken has a code 0 to 9 and a text of at most 32
// characters; a list taken has at most ten distinct codes, 0 among them, and texts of 1 to 16
// characters; the recorder's queue stays bounded and each stop it writes ends after it begins.
#include "seeds.h"

#include "telemetry/reasonlist.h"
#include "dashboard/recorder.h"
#include "dashboard/writequeue.h"

#include <QSet>

namespace {

constexpr qint64 kStartMs = 1780000000000LL;

void checkList(const QByteArray &bytes)
{
    ReasonList list;
    QString why;
    if (!ReasonList::parse(bytes, &list, &why))
        return;
    QSet<int> codes;
    for (const ReasonList::Reason &r : list.reasons()) {
        ABORT_IF(r.code < 0 || r.code > 9 || codes.contains(r.code) || !ReasonList::goodText(r.zh, ReasonList::kMaxText)
                 || !ReasonList::goodText(r.en, ReasonList::kMaxText));
        codes.insert(r.code);
    }
    ABORT_IF(!codes.contains(0) || codes.size() > 10);
    ABORT_IF(list.askAfterS() != 0 && (list.askAfterS() < ReasonList::kMinAskS || list.askAfterS() > ReasonList::kMaxAskS));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size > 16 * 1024)
        return 0;
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    MessageCheck::Stop stop;
    if (MessageCheck::stop(bytes, QStringLiteral("M01"), &stop))
        ABORT_IF(stop.code < 0 || stop.code > 9 || stop.text.size() > MessageCheck::kMaxStopText);
    checkList(bytes);

    WriteQueue queue(1000);
    Recorder recorder(10, &queue);
    qint64 now = kStartMs;
    for (const QByteArray &line : bytes.split('\n')) {
        now += 700;
        const qsizetype cut = line.indexOf(' ');
        recorder.take(line.left(cut < 0 ? line.size() : cut), cut < 0 ? QByteArray() : line.mid(cut + 1), false, now);
        ABORT_IF(queue.size() > 1000);
    }
    for (const Record &r : queue.next(1000))
        ABORT_IF(r.kind == Record::Stop && (r.end <= r.t || r.code > 9 || r.text.size() > MessageCheck::kMaxStopText));
    const Recorder::Extra x = recorder.extra(QStringLiteral("M01"), now);
    ABORT_IF(x.reason.size() > MessageCheck::kMaxStopText || x.configError.size() > TelemetryMessages::kMaxText);
    return 0;
}

std::vector<std::string> knit_fuzz_seeds()
{
    const std::string state = "knit/M01/state {\"job\":\"J1\",\"pieces\":3,\"running\":false,\"target\":9,\"time\":\"2026-06-01T10:00:00\"}\n";
    const std::string stop = "knit/M01/stop {\"code\":7,\"job\":\"J1\",\"machine\":\"M01\",\"pieces\":3,\"planned\":true,\"row\":17,"
                             "\"since\":\"2026-06-01T10:00:00\",\"text\":\"休息\",\"time\":\"2026-06-01T10:00:30\"}\n";
    const std::string list = "{\"ask_after_s\":180,\"reasons\":[{\"code\":1,\"zh\":\"换纱\",\"en\":\"Yarn change\",\"planned\":false},"
                             "{\"code\":7,\"zh\":\"休息\",\"en\":\"Break\",\"planned\":true}]}";
    return {stop, list, state + "knit/M01/config " + list + "\n" + stop + state,
            state + "knit/M01/state {\"job\":\"J1\",\"pieces\":4,\"running\":true,\"config_error\":\"code 3 twice\"}\n" + stop};
}
