// Feeds arbitrary bytes to the reader of the telemetry outbox's journal, as a power cut may have
// left it on disk. It may not crash; what it keeps is bounded, in order, and reads back the same
// and whole once written again.
#include "seeds.h"

#include "telemetry/outboxjournal.h"

#include <QBuffer>

namespace {

constexpr int kMaxPending = 50;

OutboxJournal::Contents readBytes(const QByteArray &bytes)
{
    QBuffer in;
    in.setData(bytes);
    in.open(QIODevice::ReadOnly);
    return OutboxJournal::read(in, kMaxPending);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const OutboxJournal::Contents c = readBytes(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    ABORT_IF(c.pending.size() > std::size_t(kMaxPending));
    QByteArray again;
    quint64 last = 0;
    for (const OutboxJournal::Entry &e : c.pending) {
        QByteArray line;
        ABORT_IF(e.seq <= last || e.seq > c.lastSeq || e.topic.isEmpty() || !OutboxJournal::encode(e, &line));
        last = e.seq;
        again += line + '\n';
    }
    const OutboxJournal::Contents back = readBytes(again);
    ABORT_IF(!back.clean || back.pending.size() != c.pending.size());
    for (std::size_t i = 0; i < back.pending.size(); ++i) {
        const OutboxJournal::Entry &a = c.pending[i], &b = back.pending[i];
        ABORT_IF(a.seq != b.seq || a.stop != b.stop || a.topic != b.topic || a.payload != b.payload);
    }
    return 0;
}

std::vector<std::string> knit_fuzz_seeds()
{
    const auto message = [](int seq, bool stop, const QByteArray &payload) {
        QByteArray line;
        OutboxJournal::encode({quint64(seq), stop, stop ? "knit/M1/stop" : "knit/M1/alarm", payload}, &line);
        return line + '\n';
    };
    const QByteArray two = message(1, false, "{\"event\":\"raised\",\"code\":23}") + message(2, true, "{\"code\":7}");
    const QByteArray done = two + OutboxJournal::record("d 1") + '\n';
    return {two.toStdString(), done.toStdString(), done.left(done.size() - 4).toStdString()};
}
