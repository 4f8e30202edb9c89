#include "diskcapacity.h"

#include <QStorageInfo>

bool DiskCapacity::query(const QString &path, quint64 *totalKb, quint64 *freeKb)
{
    const QStorageInfo storage(path);
    if (!storage.isValid() || !storage.isReady())
        return false;
    if (totalKb)
        *totalKb = quint64(storage.bytesTotal()) / 1024;
    if (freeKb)
        *freeKb = quint64(storage.bytesAvailable()) / 1024;
    return true;
}
