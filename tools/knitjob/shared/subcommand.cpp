#include "subcommand.h"

#include <algorithm>

Subcommand::Registration::Registration(const char *name, const char *usage, const char *summary, Run run)
{
    std::vector<Entry> &t = table();
    t.push_back({QString::fromUtf8(name), QString::fromUtf8(usage), QString::fromUtf8(summary), run});
    // Registration order follows link order; sort so the usage text is stable.
    std::sort(t.begin(), t.end(), [](const Entry &a, const Entry &b) { return a.name < b.name; });
}

const std::vector<Subcommand::Entry> &Subcommand::all()
{
    return table();
}

const Subcommand::Entry *Subcommand::find(const QString &name)
{
    for (const Entry &e : table()) {
        if (e.name == name)
            return &e;
    }
    return nullptr;
}

std::vector<Subcommand::Entry> &Subcommand::table()
{
    // Function-local so registrations from other files' static initialisers find it built.
    static std::vector<Entry> entries;
    return entries;
}
