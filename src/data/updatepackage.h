#pragma once

#include <QByteArray>
#include <QList>

// What a stick folder offers for the full update: the main controller's image ("master*.bin"),
// the slave controller's ("slv1*.bin") and the panel program ("knit*"), matched without regard
// to case as a FAT stick's names come. A panel program's ".sha256" line is no program of its own.
class UpdatePackage
{
public:
    enum Kind { None, Master, Slave, Panel };
    struct Scan
    {
        int master = 0, slave = 0, panel = 0;
        QByteArray masterName, slaveName, panelName; // the last of each kind
    };

    static Kind kindOf(const QByteArray &name);
    static Scan scan(const QList<QByteArray> &names);
    // The refusal for a folder without exactly one of each kind; nullptr when it has them.
    // A source text of context "UpdatePackage".
    static const char *refusal(const Scan &scan);
};
