// Feeds arbitrary bytes to the telemetry's readers of outside input: telemetry.ini as read from
// the disk (the whole input), and knitfleet's reader of what a broker delivers (each line a
// message: topic, a space, the payload). Neither may crash; what the reader keeps must be
// bounded and free of control characters, and its JSON must read back.
#include "seeds.h"

#include "telemetry/fleetstate.h"
#include "telemetry/telemetryconfig.h"

#include <QJsonDocument>

static bool clean(const QString &s)
{
    return s.size() <= TelemetryMessages::kMaxText && s == TelemetryMessages::cleanText(s);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    TelemetryConfig config;
    QString why;
    ABORT_IF(TelemetryConfig::parse(bytes, &config, &why) && !TelemetryConfig::isMachineId(config.machine));

    // A fresh floor per input: a finding replays from its input alone, and a floor kept across
    // inputs would have libFuzzer scan for leaks after every input that grows it.
    FleetState fleet;
    for (const QByteArray &line : bytes.split('\n')) {
        const qsizetype cut = line.indexOf(' ');
        fleet.take(line.left(cut < 0 ? line.size() : cut), cut < 0 ? QByteArray() : line.mid(cut + 1), 0);
    }
    for (const FleetState::Machine &m : fleet.sorted()) {
        if (fleet.size() > FleetState::kMaxMachines || !TelemetryConfig::isMachineId(m.id) || !clean(m.state.job)
            || !clean(m.state.alarmText))
            std::abort();
    }
    ABORT_IF(!QJsonDocument::fromJson(fleet.json(0)).isObject());
    return 0;
}

std::vector<std::string> knit_fuzz_seeds()
{
    return {"[mqtt]\nurl = mqtt://127.0.0.1:1883\nmachine = M01\nusername = u\npassword = p\ninterval_ms = 500\n",
            "knit/M01/state {\"job\":\"J1\",\"row\":17,\"rows\":400,\"pieces\":3,\"speed\":0.48,\"running\":true,"
            "\"alarm\":{\"type\":2,\"code\":23,\"text\":\"撞针报警 ! \"},\"knitting_s\":100,\"time\":\"2026-12-06T10:00:00\"}",
            "knit/M02/status\nonline"};
}
