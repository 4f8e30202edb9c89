#include "jobevents.h"

#include "librarylisting.h"

#include "platform/applicationparts.h"

#include <QCryptographicHash>
#include <QFile>

JobEvents *JobEvents::find()
{
    return ApplicationParts::find<JobEvents>();
}

void JobEvents::add(Observer *observer)
{
    if (!observers_.contains(observer))
        observers_.append(observer);
}

void JobEvents::remove(Observer *observer)
{
    observers_.removeAll(observer);
}

QByteArray JobEvents::fileDigest(const QString &path)
{
    QFile f(path);
    QCryptographicHash sha(QCryptographicHash::Sha256);
    return f.open(QIODevice::ReadOnly) && sha.addData(&f) ? sha.result().toHex() : QByteArray();
}

void JobEvents::report(const QString &event, const QString &dir, const QString &job, int version, const QString &source)
{
    if (observers_.isEmpty())
        return;
    Event e{event, job, version, source, {}};
    for (int i = 0; i < 3; ++i)
        e.sha256[i] = fileDigest(dir + QLatin1Char('/') + job + QLatin1Char('.') + QLatin1String(LibraryListing::kExtensions[i]));
    for (Observer *o : observers_)
        o->jobEvent(e);
}

void JobEvents::reportToApplication(const QString &event, const QString &dir, const QString &job, int version,
                                    const QString &source)
{
    if (JobEvents *events = find())
        events->report(event, dir, job, version, source);
}
