#pragma once
// Byte helpers the tests share: files read and written whole, the closing checksum of .cnt
// and .pat files, machine report datagrams, and whole images against golden files.

#include "data/cntchecksum.h"
#include "platform/atomicfile.h"

#include <QDir>
#include <QTest>

#include <algorithm>

namespace TestBytes {

// The whole file; "<missing>" when it cannot be read, so a missing file never equals an empty one.
inline QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// Saves bytes under path, making the missing folders first.
inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    return QDir().mkpath(QFileInfo(path).absolutePath()) && AtomicFile::save(path, bytes);
}

// A golden image from tests/data.
inline QByteArray golden(const QString &name)
{
    return readFile(QStringLiteral(KNIT_SOURCE_DIR "/tests/data/") + name);
}

// data followed by its 8-bit sum (plus delta, to make a wrong one).
inline QByteArray withChecksum(QByteArray data, int delta = 0)
{
    return data.append(char(cntChecksum(reinterpret_cast<const unsigned char *>(data.constData()), data.size()) + delta));
}

// A 12-byte machine report: code in byte 5, words A and B little-endian in bytes 6-9.
inline QByteArray machine(int code, int a, int b)
{
    const char r[12] = {0, 0, 0, 0, 0, char(code), char(a & 0xff), char((a >> 8) & 0xff), char(b & 0xff), char((b >> 8) & 0xff), 0, 0};
    return QByteArray(r, 12);
}

// Empty when equal; else the size or the first differing offset, for a readable failure.
inline QString firstDifference(const QByteArray &got, const QByteArray &want)
{
    const qsizetype n = qMin(got.size(), want.size());
    const qsizetype i = std::mismatch(got.begin(), got.begin() + n, want.begin()).first - got.begin();
    if (i < n)
        return QStringLiteral("first difference at offset %1: 0x%2, expected 0x%3").arg(i).arg(quint8(got[i]), 2, 16, QLatin1Char('0')).arg(quint8(want[i]), 2, 16, QLatin1Char('0'));
    return got.size() == want.size() ? QString() : QStringLiteral("size %1, expected %2").arg(got.size()).arg(want.size());
}

// A directory tree as sorted lines: "dir/", "dir/file=hex of its bytes", "link -> target".
inline QStringList listTree(const QString &dir, const QString &prefix = QString())
{
    QStringList out;
    for (const QFileInfo &e : QDir(dir).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Name)) {
        const QString name = prefix + e.fileName();
        if (e.isSymLink())
            out << name + QLatin1String(" -> ") + e.symLinkTarget();
        else if (e.isDir())
            out << name + QLatin1Char('/') << listTree(e.filePath(), name + QLatin1Char('/'));
        else
            out << name + QLatin1Char('=') + QString::fromLatin1(readFile(e.filePath()).toHex());
    }
    return out;
}

} // namespace TestBytes

// Compares two byte images whole; a failure names the first differing offset.
#define KNIT_COMPARE_BYTES(got, want) QVERIFY2(TestBytes::firstDifference((got), (want)).isEmpty(), qPrintable(TestBytes::firstDifference((got), (want))))
