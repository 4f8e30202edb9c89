#pragma once

#include <QString>

// The library version of each job name last imported from the office, so the office's offer
// of it stops showing once it is in, across restarts: library-imported.txt under the data
// root, lines "NAME<TAB>VERSION", saved whole and atomically.
class ImportedVersions
{
public:
    static constexpr int kMaxEntries = 1000;

    static QString path();
    // 0 when the name was never imported from the library.
    static int version(const QString &name);
    // An import from the stick replaces the library's version: 0 forgets it.
    static bool record(const QString &name, int version);
};
