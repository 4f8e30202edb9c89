#pragma once

#include <QString>

// Size and free space of the file system that holds a path, in kilobytes.
class DiskCapacity
{
public:
    // False when the path's file system cannot be asked.
    static bool query(const QString &path, quint64 *totalKb, quint64 *freeKb);
};
