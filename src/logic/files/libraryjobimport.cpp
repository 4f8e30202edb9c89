#include "libraryjobimport.h"

#include "libraryfetch.h"

#include "data/importedversions.h"
#include "data/jobevents.h"
#include "platform/nativefs.h"

#include <QFile>

LibraryJobImport::LibraryJobImport(const QString &root, StickJobImport::Hooks hooks, LibraryFetch *fetch)
    : root_(root), hooks_(std::move(hooks)), fetch_(fetch)
{
}

QString LibraryJobImport::run(const LibraryListing::Job &job)
{
    QString message;
    if (!fetch_->fetch(job, &message)) {
        hooks_.tell(message);
        return QString();
    }
    // The fetched files are checked and on the job directory's file system already: moved into
    // the staged job rather than written a second time (a copy if the move fails). The helper
    // only started writing them, so that the checks run while the disk writes; each is synced
    // as it moves, the staging folder's names once after the last, before the job is put in place.
    StickJobImport::Hooks hooks = hooks_;
    hooks.copy = [copy = hooks_.copy, fetched = QFile::encodeName(LibraryFetch::folder()) + '/'](const QByteArray &from, const QString &to) {
        const QByteArray target = QFile::encodeName(to);
        if (!from.startsWith(fetched) || !NativeFs::rename(from, target))
            return copy(from, to);
        return NativeFs::sync(target);
    };
    StickJobImport steps(root_, hooks);
    steps.importWork = true;
    // knitjob wrote the files under the name's UTF-8 bytes, which the import decodes as such.
    const QString name = steps.run(QFile::encodeName(LibraryFetch::folder()), (job.name + QStringLiteral(".cnt")).toUtf8());
    LibraryFetch::clear();
    if (name.isEmpty())
        return name;
    ImportedVersions::record(name, job.version);
    JobEvents::reportToApplication(QStringLiteral("imported"), root_ + QLatin1Char('/') + name, name, job.version, QStringLiteral("library"));
    return name;
}

void LibraryJobImport::stickImported(const QString &root, const QString &name)
{
    ImportedVersions::record(name, 0);
    JobEvents::reportToApplication(QStringLiteral("imported"), root + QLatin1Char('/') + name, name, 0, QStringLiteral("usb"));
}
