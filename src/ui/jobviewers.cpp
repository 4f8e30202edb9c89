#include "jobviewers.h"

#include "platform/applicationparts.h"

JobViewers::JobViewers(QObject *parent)
    : QObject(parent)
{
}

const JobViewers *JobViewers::find()
{
    return ApplicationParts::find<JobViewers>();
}

void JobViewers::provide(Kind kind, Opener opener)
{
    if (kind >= 0 && kind < KindCount)
        openers_[std::size_t(kind)] = std::move(opener);
}

bool JobViewers::has(Kind kind) const
{
    return kind >= 0 && kind < KindCount && bool(openers_[std::size_t(kind)]);
}

bool JobViewers::open(Kind kind, const QString &path, int mode, QWidget *parent) const
{
    if (!has(kind))
        return false;
    openers_[std::size_t(kind)](path, mode, parent);
    return true;
}
