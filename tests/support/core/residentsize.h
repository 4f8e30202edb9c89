#pragma once

#include <QByteArray>
#include <QFile>

#include <malloc.h>

// This process's resident KiB once the allocator gave back what it keeps free, so a growth
// between two readings is memory held, not free memory kept; -1 when it cannot be read.
inline long residentKiB()
{
    malloc_trim(0);
    QFile status(QStringLiteral("/proc/self/status"));
    const QByteArray text = status.open(QIODevice::ReadOnly) ? status.readAll() : QByteArray();
    const qsizetype at = text.indexOf("VmRSS:");
    return at < 0 ? -1L : text.mid(at + 6).trimmed().split(' ').value(0).toLong();
}
