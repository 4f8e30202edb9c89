#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QString>
#include <QStringList>

class MachineData;

// A job's work-parameter file (.wrk): the 1556-byte image of the work block. Reading checks the
// size, so a short or long file never leaves a block half old; the browser's views print it.
class WorkFile
{
    Q_DECLARE_TR_FUNCTIONS(WorkFile)

public:
    static constexpr int kSize = 1556;
    enum View { Density, Speed, Rollers, CarrierParking, Replace, ViewCount };

    // The whole file when it is exactly kSize bytes; false (and out empty) otherwise.
    static bool read(const QString &path, QByteArray *out);
    // data's work block saved whole over the file; false (and the old file as it was) when it
    // cannot be.
    static bool save(const MachineData &data, const QString &path);
    // The lines of one view of a block; words beyond a short block read as 0.
    static QStringList view(View view, const QByteArray &block);
};
