// Feeds arbitrary bytes to the reader of the telemetry outbox's journal, as a power cut may have
// left it on disk. It may not crash; what it keeps is bounded, in order, and reads back the same
// and whole once written again.
#include "seeds.h"

#include "telemetry/outboxjournal.h"

#include <QBuffer>

static OutboxJournal::Contents readBytes(QByteArray bytes)
{
    QBuffer in(&bytes);
    in.open(QIODevice::ReadOnly);
    return OutboxJournal::read(in, 50);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const OutboxJournal::Contents c = readBytes(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    QByteArray again;
    quint64 last = 0;
    for (const OutboxJournal::Entry &e : c.pending) {
        QByteArray line;
        ABORT_IF(e.seq <= last || e.seq > c.lastSeq || e.topic.isEmpty() || !OutboxJournal::encode(e, &line));
        last = e.seq;
        again += line + '\n';
    }
    const OutboxJournal::Contents back = readBytes(again);
    ABORT_IF(c.pending.size() > 50 || !back.clean || back.pending.size() != c.pending.size());
    for (std::size_t i = 0; i < back.pending.size(); ++i) {
        const OutboxJournal::Entry &a = c.pending[i], &b = back.pending[i];
        ABORT_IF(a.seq != b.seq || a.stop != b.stop || a.topic != b.topic || a.payload != b.payload);
    }
    return 0;
}

std::vector<std::string> knit_fuzz_seeds()
{
    // A stop and an alarm message, the first marked done.
    return {"39 5d062c99 m 1 s a25pdC9NMS9zdG9w eyJjb2RlIjo3fQ==\n"
            "51 183a548d m 2 a a25pdC9NMS9hbGFybQ== eyJldmVudCI6InJhaXNlZCJ9\n"
            "3 74c59e76 d 1\n"};
}
