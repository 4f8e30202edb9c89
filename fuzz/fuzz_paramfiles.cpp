// The calibration pages' files from the disk and the controller: the density backups, the
// personalisation record (config.cfg) and the carrier-speed table. Whatever the bytes, a read
// stays within its bound, a short record or table is never taken, and a backup offered for
// restoring holds only corrections from -100 to 100; the racking texts' decoder too.
#include "data/configrecord.h"
#include "data/densitybackup.h"
#include "data/machinedata.h"
#include "data/carrierspeedtable.h"
#include "data/rackingvalue.h"
#include "seeds.h"

#include <QString>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));

    DensityBackup backup;
    backup.parse(bytes);
    for (int n = -1; n <= DensityBackup::kRecords; ++n) {
        if (!backup.restorable(n))
            continue;
        for (int i = 0; i < DensityBackup::kCorrections; ++i)
            ABORT_IF(backup.value(n, i) < DensityBackup::kLowest || backup.value(n, i) > DensityBackup::kHighest);
    }

    ConfigRecord record;
    ABORT_IF(record.parse(bytes) != (bytes.size() >= qsizetype(kConfigCheckSize)));

    MachineData machine;
    ABORT_IF(CarrierSpeedTable::parse(machine, bytes) != (bytes.size() == qsizetype(kCarrierSpeedSize)));

    // Two texts from the bytes: the racking value's stored form must decode to what it encodes.
    const QString text = QString::fromLatin1(bytes.left(8));
    unsigned short stored = 0;
    for (int step = -1; step <= 1; ++step) {
        if (RackingValue::encode(text.left(4), text.mid(4), step, &stored) == RackingValue::Ok) {
            unsigned short again = 0;
            ABORT_IF(RackingValue::encode(RackingValue::coarseText(stored), QString::number(RackingValue::fine(stored)), 0, &again)
                    != RackingValue::Ok
                || again != stored);
        }
    }
    return 0;
}

std::vector<std::string> knit_fuzz_seeds()
{
    std::string backup(280, '\0');
    for (int i = 0; i < 16; ++i) {
        backup[std::size_t(56 + 24 + 2 * i)] = char(0xf4); // 500
        backup[std::size_t(56 + 25 + 2 * i)] = char(0x01);
    }
    return {backup, std::string(200, '\x01'), std::string(1280, 'd'), "-0  3   ", "-12 7   ", "99  0   "};
}
