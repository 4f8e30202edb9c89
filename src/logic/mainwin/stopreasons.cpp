#include "stopreasons.h"

#include "platform/atomicfile.h"
#include "platform/panelpaths.h"

#include <QFile>

#include <cstdio>

QString StopReasons::path()
{
    return PanelPaths::data(QStringLiteral("/stops.json"));
}

void StopReasons::load()
{
    QFile file(path());
    if (!file.exists())
        return;
    // One byte past the bound is enough to refuse it as too long.
    const QByteArray json = file.open(QIODevice::ReadOnly) ? file.read(ReasonList::kMaxBytes + 1) : QByteArray();
    take(json, path());
}

bool StopReasons::takeOffice(const QByteArray &payload)
{
    if (!take(payload, QStringLiteral("the office's list")))
        return false;
    QString why;
    if (!AtomicFile::save(path(), payload, &why))
        std::fprintf(stderr, "knitpanel: stop reasons: cannot keep the office's list: %s\n", why.toLocal8Bit().constData());
    return true;
}

bool StopReasons::take(const QByteArray &json, const QString &source)
{
    ReasonList taken;
    QString why;
    if (!ReasonList::parse(json, &taken, &why)) {
        error_ = why;
        std::fprintf(stderr, "knitpanel: stop reasons: %s refused, the last good list kept: %s\n",
                     source.toLocal8Bit().constData(), why.toLocal8Bit().constData());
        return false;
    }
    list_ = taken;
    error_.clear();
    return true;
}
