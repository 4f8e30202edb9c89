#include "jobviewers.h"

#include <array>

namespace {

std::array<JobViewers::Opener, JobViewers::KindCount> &openers()
{
    static std::array<JobViewers::Opener, JobViewers::KindCount> o;
    return o;
}

} // namespace

void JobViewers::provide(Kind kind, Opener opener)
{
    if (kind >= 0 && kind < KindCount)
        openers()[std::size_t(kind)] = std::move(opener);
}

bool JobViewers::has(Kind kind)
{
    return kind >= 0 && kind < KindCount && bool(openers()[std::size_t(kind)]);
}

bool JobViewers::open(Kind kind, const QString &path, int mode, QWidget *parent)
{
    if (!has(kind))
        return false;
    openers()[std::size_t(kind)](path, mode, parent);
    return true;
}
