#pragma once

#include <QDateTime>
#include <QString>

// The size and time texts of the stick browser's list (its sizeString and dateString), also
// written into an imported job's .txt file.
class FileTexts
{
public:
    // Above 2^30 bytes "%.1f G", above 2^20 "%.1f M", above 1024 "%.1f K", else "N B".
    static QString sizeString(qint64 bytes);
    // "2007-03-09 08:05:00".
    static QString dateString(const QDateTime &t);
};
