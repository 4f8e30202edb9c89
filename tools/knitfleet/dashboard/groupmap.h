#pragma once

#include <QHash>
#include <QList>
#include <QString>

// Which hall (group) a machine's tile goes in: the first line of --groups FILE whose glob
// matches its id ("HALL2-* = Hall 2"; * any run of characters, ? one), else the id before its
// last '-' ("HALL2" for HALL2-017; the whole id when it has none).
class GroupMap
{
public:
    static constexpr int kMaxBytes = 64 * 1024;
    static constexpr int kMaxRules = 1000;
    static constexpr int kMaxName = 32;

    // False with why (naming the line) for a file that breaks the rules.
    static bool parse(const QByteArray &text, GroupMap *out, QString *why);
    static bool read(const QString &path, GroupMap *out, QString *why);
    QString group(const QString &machine) const;
    static bool matches(const QString &glob, const QString &id);

private:
    QList<QPair<QString, QString>> rules_;
    mutable QHash<QString, QString> known_;
};
