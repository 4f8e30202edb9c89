#pragma once

#include "blocksizes.h"
#include "paramblock.h"

#include <QByteArray>
#include <QString>

// The five backups of the density-motor corrections in para/densitybackup.bin: 280 bytes,
// record n at byte 56 n, its words 12-19 the single column and 20-27 the full column as
// system block words 60-75 hold them (correction + 500); words 0-11 are carried through.
class DensityBackup
{
public:
    static constexpr int kRecords = 5;
    static constexpr int kRecordWords = 28;
    static constexpr int kSize = kRecords * kRecordWords * 2;
    static constexpr int kCorrections = 16;
    static constexpr int kFirstCorrection = 12; // in a record
    static constexpr int kSystemWord = 60;      // of the first correction in the system block
    // A stored correction is 500 + a correction from -100 to 100; a backup is restored only
    // when all its values are.
    static constexpr int kLowest = 400;
    static constexpr int kHighest = 600;

    static QString path();

    // The file's first 280 bytes; a missing or shorter file reads as zeros where it has none.
    void read();
    void parse(const QByteArray &bytes);
    // Saved whole and synced; false (and the old file as it was) when it cannot be.
    bool write() const;

    // Correction i (0-7 single, 8-15 full) of record n, as stored.
    unsigned short value(int record, int i) const;
    // Takes system block words 60-75 into record n.
    void store(int record, const ParamBlock<kSystemSize> &system);
    // False when a value of the record lies outside 400-600 (a backup never written is zero).
    bool restorable(int record) const;
    QByteArray bytes() const { return data_.toByteArray(); }

private:
    ParamBlock<kSize> data_;
};
