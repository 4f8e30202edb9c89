#include "diskcapacity.h"

#include <QFile>

#include <sys/statfs.h>

bool DiskCapacity::query(const QString &path, quint64 *totalKb, quint64 *freeKb)
{
    struct statfs st;
    if (::statfs(QFile::encodeName(path).constData(), &st) != 0)
        return false;
    const quint64 bs = quint64(st.f_bsize);
    if (totalKb)
        *totalKb = quint64(st.f_blocks) * bs / 1024;
    if (freeKb)
        *freeKb = quint64(st.f_bavail) * bs / 1024;
    return true;
}
