#pragma once

#include <QByteArray>
#include <QHash>
#include <QLatin1String>
#include <QString>
#include <QStringList>

#include <functional>

// The panel's settings files (telemetry.ini, library.ini) read strictly: each line must read
// as QSettings would read it, a section's keys must be known ones, and the values come from
// the one line that names them (the last of a repeated key). Nothing is written to disk to
// read them, so a full or read-only disk reads the same.
class StrictIni
{
public:
    struct Value
    {
        int line = 0;
        QString text; // unquoted
    };
    using Section = QHash<QString, Value>;

    // The keys of [section] in text, which must be UTF-8 of at most maxBytes; false with the
    // reason (never a value: it may be a secret) when the text is bad or a key of the section
    // is not one of keys.
    static bool read(const QByteArray &text, int maxBytes, const QString &section, const QStringList &keys, Section *out,
                     QString *why);
    // path read whole and then as read(); false with the reason naming the file.
    static bool load(const QString &path, int maxBytes, const QString &section, const QStringList &keys, Section *out,
                     QString *why);
    // load(), then take with the section for the file's own checks; a reason of take's is
    // prefixed with the path.
    static bool load(const QString &path, int maxBytes, const QString &section, const QStringList &keys,
                     const std::function<bool(const Section &, QString *)> &take, QString *why);
    // Only ASCII letters, digits and the characters of extra.
    static bool plainAscii(const QString &text, QLatin1String extra);
    // A cafile value: a panel path, a relative one beside the settings file; true with *path
    // set when it can be read (or, empty, when none is named).
    static bool cafile(const QString &value, QString *path, QString *why);
};
