#include "densitybackup.h"

#include "panelfiles.h"
#include "platform/panelpaths.h"

#include <QFile>

namespace {

int wordOf(int record, int i)
{
    return record * DensityBackup::kRecordWords + DensityBackup::kFirstCorrection + i;
}

bool inRecords(int record, int i)
{
    return record >= 0 && record < DensityBackup::kRecords && i >= 0 && i < DensityBackup::kCorrections;
}

} // namespace

QString DensityBackup::path()
{
    return PanelPaths::data(QStringLiteral("/para/densitybackup.bin"));
}

void DensityBackup::read()
{
    QFile f(path());
    parse(f.open(QIODevice::ReadOnly) ? f.read(kSize) : QByteArray());
}

void DensityBackup::parse(const QByteArray &bytes)
{
    data_.clear();
    data_.fill(bytes);
}

bool DensityBackup::write() const
{
    return saveWholeFile(path(), data_.data(), kSize) == 1;
}

unsigned short DensityBackup::value(int record, int i) const
{
    return inRecords(record, i) ? data_.word(std::size_t(wordOf(record, i))) : 0;
}

void DensityBackup::store(int record, const ParamBlock<kSystemSize> &system)
{
    for (int i = 0; i < kCorrections; ++i) {
        if (inRecords(record, i))
            data_.setWord(std::size_t(wordOf(record, i)), system.word(std::size_t(kSystemWord + i)));
    }
}

bool DensityBackup::restorable(int record) const
{
    if (record < 0 || record >= kRecords)
        return false;
    for (int i = 0; i < kCorrections; ++i) {
        const int v = value(record, i);
        if (v < kLowest || v > kHighest)
            return false;
    }
    return true;
}
