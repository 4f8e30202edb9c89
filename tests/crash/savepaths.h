#pragma once

#include <QString>
#include <QStringList>

// The panel's saves as the crash sweep runs them, each through the code the panel runs, under
// KNIT_ROOT: version 0 writes the old files, version 1 the new ones. A root holds the job J1
// and the reference copies of the controller's blocks before a path is prepared.
class SavePaths
{
public:
    static QStringList names();
    // Lays out what the path copies from (the stick's files) and saves version 0, so the root
    // holds the old files (a log: fills it close to its bound with old lines); false when that
    // failed.
    static bool prepare(const QString &name);
    // One save of the version; false when the save reported a failure.
    static bool save(const QString &name, int version);
};
