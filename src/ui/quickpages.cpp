#include "quickpages.h"

void QuickPages::provide(Page page, Factory factory)
{
    if (!factory) {
        provide(page, ArgumentFactory());
        return;
    }
    provide(page, ArgumentFactory([made = std::move(factory)](QWidget *parent, int) { return made(parent); }));
}

void QuickPages::provide(Page page, ArgumentFactory factory)
{
    if (page >= 0 && page < PageCount)
        factories_[std::size_t(page)] = std::move(factory);
}

bool QuickPages::has(Page page) const
{
    return page >= 0 && page < PageCount && bool(factories_[std::size_t(page)]);
}

QDialog *QuickPages::make(Page page, QWidget *parent, int argument) const
{
    return has(page) ? factories_[std::size_t(page)](parent, argument) : nullptr;
}
