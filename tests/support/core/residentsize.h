#pragma once

#include <QByteArray>
#include <QFile>

#include <malloc.h>

// A KiB figure ("VmRSS:", "RssAnon:") of process pid ("self" for this one) from its status
// file; -1 when it cannot be read.
inline long statusKiBOf(const QString &pid, const QByteArray &field)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    const QByteArray text = status.open(QIODevice::ReadOnly) ? status.readAll() : QByteArray();
    const qsizetype at = text.indexOf("\n" + field);
    return at < 0 ? -1L : text.mid(at + 1 + field.size()).trimmed().split(' ').value(0).toLong();
}

inline long residentKiBOf(const QString &pid)
{
    return statusKiBOf(pid, "VmRSS:");
}

inline long residentKiBOf(qint64 pid)
{
    return residentKiBOf(QString::number(pid));
}

// This process's resident KiB once the allocator gave back what it keeps free, so a growth
// between two readings is memory held, not free memory kept; -1 when it cannot be read.
inline long residentKiB()
{
    malloc_trim(0);
    return residentKiBOf(QStringLiteral("self"));
}
