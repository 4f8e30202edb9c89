#include "jobmaker.h"

#include "data/cntchecksum.h"
#include "data/cntrow.h"
#include "data/factorydefaults.h"
#include "data/jobname.h"
#include "data/panelfiles.h"
#include "data/patfile.h"
#include "platform/atomicfile.h"
#include "platform/fsops.h"

#include <QDateTime>

#include <cstring>

namespace {

void appendChecksum(QByteArray *data)
{
    const auto *bytes = reinterpret_cast<const unsigned char *>(data->constData());
    data->append(static_cast<char>(cntChecksum(bytes, data->size())));
}

CntRow sampleRow(int r, int rows, int height)
{
    // A varied but regular program, so every field of the row display shows something.
    static const unsigned char actions[] = {7, 8, 13, 1, 10};
    CntRow row;
    std::memset(&row, 0, sizeof row);
    const int i = r - 1;
    for (int b = 0; b < 4; ++b) {
        CntSystemBlock &blk = row.block[b];
        CntRow::set16(blk.pat_line, static_cast<unsigned short>(i % height));
        blk.action = b % 2 == 0 ? actions[i % 5] : 8;
        CntRow::set16(blk.select_a, static_cast<unsigned short>(1u << (i % 16)));
        CntRow::set16(blk.select_h, static_cast<unsigned short>(1u << ((i + 4) % 16)));
    }
    for (CntCarrierSelect &m : row.mouth) {
        m.mouth_flag = 0x80;
        m.mouth_mask = static_cast<unsigned char>(1u << (i % 8));
    }
    row.density_group = static_cast<unsigned char>(1 + i % 24);
    row.speed_group = static_cast<unsigned char>(1 + i % 4);
    row.rora_main = 1;
    row.rora_aux = 0x80 | 2;
    row.rora_open = static_cast<unsigned char>(r % 2 == 0 ? 0x80 | 3 : 3);
    if (r % 4 == 0) {
        row.bed_flag = static_cast<unsigned char>(0x80 | (r % 8 == 0 ? 0x40 : 0) | 1);
        row.bed_count = 1;
    }
    row.mouth_park = static_cast<unsigned char>(1 + i % 8);
    CntRow::set16(row.pic_line[0], static_cast<unsigned short>(i % height));
    CntRow::set16(row.pic_line[1], static_cast<unsigned short>(i % height));
    row.end_flag = r == rows ? 1 : 0;
    return row;
}

} // namespace

QString JobMaker::validate(int rows, int width, int height)
{
    if (rows < 1 || rows > kMaxRows)
        return QStringLiteral("rows must be 1..%1").arg(kMaxRows);
    if (width < kMinWidth || width > kMaxWidth)
        return QStringLiteral("width must be %1..%2").arg(kMinWidth).arg(kMaxWidth);
    if (height < kMinHeight || height > kMaxHeight)
        return QStringLiteral("height must be %1..%2").arg(kMinHeight).arg(kMaxHeight);
    const long long size = static_cast<long long>(width / 2) * (height + 1) + 1;
    if (size > PatFile::kMaxFileSize)
        return QStringLiteral("a %1 x %2 pattern is larger than 2 MiB").arg(width).arg(height);
    return QString();
}

QByteArray JobMaker::program(int rows, int height)
{
    QByteArray data(static_cast<qsizetype>(rows + 1) * kCntRecordSize, '\0');
    for (int r = 1; r <= rows; ++r) {
        const CntRow row = sampleRow(r, rows, height);
        std::memcpy(data.data() + static_cast<qsizetype>(r) * kCntRecordSize, &row, sizeof row);
    }
    appendChecksum(&data);
    return data;
}

QByteArray JobMaker::pattern(int width, int height)
{
    const int w = width / 2;
    QByteArray data(static_cast<qsizetype>(w) * (height + 1), '\0');
    data[0] = static_cast<char>(width & 0xff);
    data[1] = static_cast<char>(width >> 8);
    data[2] = static_cast<char>(height & 0xff);
    data[3] = static_cast<char>(height >> 8);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < 2 * w; ++x) {
            const int v = (x / 4 + y / 4) % 2 ? 1 + y % 15 : 0;
            char &b = data[static_cast<qsizetype>(w) * (y + 1) + x / 2];
            b = static_cast<char>(x % 2 == 0 ? (b & 0x0f) | (v << 4) : (b & 0xf0) | v);
        }
    }
    appendChecksum(&data);
    return data;
}

QByteArray JobMaker::workParameters()
{
    ParamBlock<kWorkSize> work;
    FactoryDefaults::buildWork(work);
    return work.toByteArray();
}

bool JobMaker::write(const QString &dir, const QString &name, int rows, int width, int height, QString *error)
{
    if (!JobName::isSafe(name)) {
        *error = QStringLiteral("'%1' is not a usable job name").arg(name);
        return false;
    }
    const QString limits = validate(rows, width, height);
    if (!limits.isEmpty()) {
        *error = limits;
        return false;
    }
    const QString jobDir = dir + QLatin1Char('/') + name;
    if (!FsOps::makeDir(jobDir)) {
        *error = QStringLiteral("cannot create %1").arg(jobDir);
        return false;
    }
    const QString base = jobDir + QLatin1Char('/') + name;
    QString why;
    if (!AtomicFile::save(base + QLatin1String(".cnt"), program(rows, height), &why)
        || !AtomicFile::save(base + QLatin1String(".pat"), pattern(width, height), &why)
        || !AtomicFile::save(base + QLatin1String(".wrk"), workParameters(), &why)) {
        *error = why;
        return false;
    }
    // The time the panel's file manager lists, as an import from a stick writes it.
    const QString made = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    if (!createDateTimeFile(base + QLatin1String(".txt"), made)) {
        *error = QStringLiteral("cannot write %1.txt").arg(base);
        return false;
    }
    return true;
}
