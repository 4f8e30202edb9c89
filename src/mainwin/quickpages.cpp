#include "quickpages.h"

#include <array>

namespace {

std::array<QuickPages::Factory, QuickPages::PageCount> &factories()
{
    static std::array<QuickPages::Factory, QuickPages::PageCount> f;
    return f;
}

} // namespace

void QuickPages::provide(Page page, Factory factory)
{
    if (page >= 0 && page < PageCount)
        factories()[std::size_t(page)] = std::move(factory);
}

bool QuickPages::has(Page page)
{
    return page >= 0 && page < PageCount && bool(factories()[std::size_t(page)]);
}

QDialog *QuickPages::make(Page page, QWidget *parent)
{
    return has(page) ? factories()[std::size_t(page)](parent) : nullptr;
}

