#pragma once

#include <QByteArray>
#include <QString>

// Builds the three files of a sample job that the panel can load and knit: a program with a
// checksum, a pattern that passes its check and the default work parameters.
class JobMaker
{
public:
    static constexpr int kMaxRows = 8190;   // the most that fit 1 MiB with a checksum
    static constexpr int kMinWidth = 8;     // the header words must fit the header line
    static constexpr int kMaxWidth = 1025;
    static constexpr int kMinHeight = 3;
    static constexpr int kMaxHeight = 65535;

    // Empty when the limits above (or the 2 MiB pattern size) are not kept; error says why.
    static QString validate(int rows, int width, int height);

    static QByteArray program(int rows, int height);
    static QByteArray pattern(int width, int height);
    static QByteArray workParameters();

    // Writes dir/name/name.{cnt,pat,wrk}; false with error set on any failure.
    static bool write(const QString &dir, const QString &name, int rows, int width, int height, QString *error);
};
