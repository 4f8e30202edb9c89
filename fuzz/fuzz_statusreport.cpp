// Feeds arbitrary datagrams to the status and needle report decoders, split into a sequence
// of reports of any length: they must not crash, must write nothing outside their blocks and
// must never take a short report.
#include "data/machinedata.h"
#include "link/statuschannel.h"
#include "seeds.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static MachineData machine;
    static StatusChannel channel(machine);
    channel.setTraceStream(nullptr);
    size_t at = 0;
    while (at < size) {
        // First byte: length of the next report (0-31) and which port it came to.
        const int length = data[at] & 0x1f;
        const bool needle = data[at] & 0x80;
        ++at;
        const int take = int(std::min<size_t>(size_t(length), size - at));
        const quint64 before = channel.statusReports() + channel.needleReports();
        const bool taken = needle ? channel.handleNeedle(data + at, take) : channel.handleStatus(data + at, take);
        ABORT_IF(taken != (take >= StatusChannel::kReportSize) || taken != (channel.statusReports() + channel.needleReports() == before + 1));
        at += size_t(take);
    }
    return 0;
}

std::vector<std::string> knit_fuzz_seeds()
{
    auto report = [](int code, int a, int b, bool needle) {
        const char r[13] = {char(12 | (needle ? 0x80 : 0)), 0, 0, 0, 0, 0, char(code), char(a), char(a >> 8), char(b), char(b >> 8), 0, 0};
        return std::string(r, 13);
    };
    const char test[13] = {12, 0x26, 0, 0, 0, 0, 1, 55, 3, char(0xab), 0, 0, 0};
    return {report(20, 3, 0x8005, false) + report(21, 1, 0x0220, false), report(0, 7, 500, true),
            report(16, 0, 0, false) + report(23, 0, 0, false), std::string(test, 13)};
}
