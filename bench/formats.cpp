// Times the file checks the panel runs on every job load: checkCntFile plus decoding every row
// of a full 1 MiB program, and checkPatFile on a 2 MiB pattern. Prints the median of several
// runs and the throughput.
#include "data/cntchecksum.h"
#include "data/cntfile.h"
#include "data/cntprogram.h"
#include "data/patfile.h"
#include "data/rowcodecrow.h"
#include "platform/atomicfile.h"
#include "testroot.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace {

constexpr int kRuns = 9;

QByteArray fullProgram()
{
    // 8191 records and a checksum: the largest program the check accepts with code 0.
    QByteArray data(8191 * 128, '\0');
    for (int i = 128; i < data.size(); ++i)
        data[i] = static_cast<char>((i * 31) ^ (i >> 7));
    // No end flag anywhere, so every row is part of the program.
    for (int r = 1; r < 8191; ++r)
        data[r * 128 + 116] = 0;
    data.append(static_cast<char>(cntChecksum(reinterpret_cast<const unsigned char *>(data.constData()), data.size())));
    return data;
}

QByteArray fullPattern(int height, bool checksum)
{
    // 1024 pixels wide; 4095 lines without a checksum are exactly 2 MiB.
    QByteArray data(512 * (height + 1), '\x35');
    data[0] = 0x00;
    data[1] = 0x04;
    data[2] = static_cast<char>(height & 0xff);
    data[3] = static_cast<char>(height >> 8);
    if (checksum)
        data.append(static_cast<char>(cntChecksum(reinterpret_cast<const unsigned char *>(data.constData()), data.size())));
    return data;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void report(const char *what, double ms, qint64 bytes)
{
    std::printf("%-44s median %7.3f ms  %8.1f MB/s\n", what, ms, bytes / 1e6 / (ms / 1e3));
}

} // namespace

int main()
{
    TestRoot root;
    const QString cntPath = root.file("/bench.cnt");
    const QString patPath = root.file("/bench.pat");
    const QString patSumPath = root.file("/benchsum.pat");
    const QByteArray cnt = fullProgram();
    const QByteArray pat = fullPattern(4095, false);
    const QByteArray patSum = fullPattern(4094, true);
    if (!AtomicFile::save(cntPath, cnt) || !AtomicFile::save(patPath, pat) || !AtomicFile::save(patSumPath, patSum)) {
        std::fprintf(stderr, "cannot write the bench files\n");
        return 1;
    }

    auto image = std::make_unique<CntProgram::Image>();
    std::vector<double> checkMs, decodeMs, patMs, patSumMs;
    unsigned long sink = 0;
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer t;
        t.start();
        const int code = checkCntFile(cntPath);
        checkMs.push_back(t.nsecsElapsed() / 1e6);

        t.restart();
        const CntLoad load = CntProgram::loadInto(cntPath, *image);
        CntRowTexts texts;
        CntRow row;
        for (int r = 1; r < load.records; ++r) {
            CntProgram::row(*image, load.records, r, &row);
            RowCodecRow::decode(row, CarrierRemap(), &texts);
            sink += static_cast<unsigned char>(texts.bed[0]) + std::strlen(texts.block[0].select_a);
        }
        decodeMs.push_back(t.nsecsElapsed() / 1e6);

        t.restart();
        const int patCode = checkPatFile(patPath);
        patMs.push_back(t.nsecsElapsed() / 1e6);

        t.restart();
        const int patSumCode = checkPatFile(patSumPath);
        patSumMs.push_back(t.nsecsElapsed() / 1e6);
        if (code != 0 || patCode != 2 || patSumCode != 0) {
            std::fprintf(stderr, "unexpected check results %d %d\n", code, patCode);
            return 1;
        }
    }
    std::printf("%d runs each (sink %lu)\n", kRuns, sink);
    report("checkCntFile, 1 MiB program", median(checkMs), cnt.size());
    report("load + decode 8190 rows, 1 MiB program", median(decodeMs), cnt.size());
    std::vector<double> both(checkMs.size());
    for (std::size_t i = 0; i < both.size(); ++i)
        both[i] = checkMs[i] + decodeMs[i];
    report("check + load + decode, 1 MiB program", median(both), cnt.size());
    report("checkPatFile, 2 MiB pattern, no checksum", median(patMs), pat.size());
    report("checkPatFile, 2 MiB pattern with checksum", median(patSumMs), patSum.size());
    return 0;
}
