#include "importedversions.h"

#include "librarylisting.h"

#include "platform/atomicfile.h"
#include "platform/panelpaths.h"

#include <QFile>
#include <QList>
#include <QPair>

namespace {

constexpr qint64 kMaxFileBytes = 512 * 1024;

QList<QPair<QString, int>> readAll()
{
    QList<QPair<QString, int>> out;
    QFile f(ImportedVersions::path());
    if (!f.open(QIODevice::ReadOnly))
        return out;
    for (const QByteArray &line : f.read(kMaxFileBytes).split('\n')) {
        const QList<QByteArray> parts = line.split('\t');
        bool ok = false;
        const int v = parts.value(1).toInt(&ok);
        const QString name = QString::fromUtf8(parts.value(0));
        if (parts.size() == 2 && ok && v > 0 && LibraryListing::isJobName(name) && out.size() < ImportedVersions::kMaxEntries)
            out.append({name, v});
    }
    return out;
}

} // namespace

QString ImportedVersions::path()
{
    return PanelPaths::data(QStringLiteral("/library-imported.txt"));
}

int ImportedVersions::version(const QString &name)
{
    for (const auto &e : readAll()) {
        if (e.first == name)
            return e.second;
    }
    return 0;
}

bool ImportedVersions::record(const QString &name, int version)
{
    QList<QPair<QString, int>> all = readAll();
    all.removeIf([&name](const QPair<QString, int> &e) { return e.first == name; });
    if (version > 0)
        all.append({name, version});
    // The oldest entries go first when the file is full.
    while (all.size() > kMaxEntries)
        all.removeFirst();
    QByteArray text;
    for (const auto &e : all)
        text += e.first.toUtf8() + '\t' + QByteArray::number(e.second) + '\n';
    return AtomicFile::save(path(), text);
}
