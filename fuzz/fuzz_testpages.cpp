// What the test pages take from outside: the controller's test files (io.tst, moto.tst) and
// the datagrams that come back on the command port. Short files never fill a block; a
// datagram is a report or the closing answer only whole and of its own test; no carriage
// report reaches outside the page's elements.
#include "data/machinedata.h"
#include "data/testblocks.h"
#include "link/testdatagram.h"
#include "logic/machinetests/mototest.h"
#include "seeds.h"

#include <QByteArray>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1 || size > 4096)
        return 0;
    const QByteArray rest(reinterpret_cast<const char *>(data + 1), int(size - 1));
    static MachineData machine;
    // First byte: which parser. Files go to the block loaders, anything else is datagrams.
    if (data[0] == 0 || data[0] == 1) {
        const auto before = machine.ioTest().toByteArray() + machine.carriageTest().toByteArray();
        const bool io = data[0] == 0;
        const bool loaded = io ? TestBlocks::loadIo(machine, rest) : TestBlocks::loadMoto(machine, rest);
        ABORT_IF(loaded != (rest.size() >= (io ? TestBlocks::kIoFileSize : TestBlocks::kMotoFileSize)));
        ABORT_IF(!loaded && before != machine.ioTest().toByteArray() + machine.carriageTest().toByteArray());
        return 0;
    }
    static MotoTest test(data[0] % 2 + 1, [](unsigned char, unsigned char, unsigned short) {});
    test.load(machine);
    // Datagrams of 0-15 bytes, each behind its length.
    for (int at = 0; at < rest.size();) {
        const int n = qMin(int(quint8(rest[at]) % 16), int(rest.size()) - at - 1);
        const auto *d = reinterpret_cast<const unsigned char *>(rest.constData() + at + 1);
        at += n + 1;
        const TestDatagram::Kind io = TestDatagram::classify(d, n, TestDatagram::InputOutput);
        const TestDatagram::Kind carriage = TestDatagram::classify(d, n, TestDatagram::Carriage);
        ABORT_IF((io != TestDatagram::Other || carriage != TestDatagram::Other) && n < TestDatagram::kSize);
        ABORT_IF(io != TestDatagram::Other && io == carriage);
        if (carriage == TestDatagram::Report)
            test.applyReport(d);
    }
    return 0;
}

std::vector<std::string> knit_fuzz_seeds()
{
    unsigned char report[TestDatagram::kSize];
    std::string reports("\2", 1);
    for (const unsigned short first : {0x0200, 0x0801, 0x0302, 0x0103, 0x0182}) {
        TestDatagram::command(report, TestDatagram::Carriage, first, 0x00A5);
        reports += char(TestDatagram::kSize);
        reports.append(reinterpret_cast<const char *>(report), sizeof report);
    }
    return {std::string(1, '\0') + std::string(80, '\1'), std::string(1, '\1') + std::string(92, '\3'), reports};
}
