#pragma once

#include "platform/strictini.h"

#include <QString>
#include <QUrl>

// Where the panel fetches jobs from the office's job library: section [library] of
// library.ini under the data root, keys url (http:// or https://host[:port]), machine (the id
// the office gave this machine), token (its machine token) and cafile (a certificate to trust
// for https, beside library.ini when relative). Read as strictly as telemetry.ini; no file or
// a bad one means no library.
class LibraryConfig
{
public:
    static constexpr int kMaxFileBytes = 16 * 1024;
    static constexpr int kMaxMachineLength = 32;
    static constexpr int kMaxTokenLength = 256;

    QUrl url;
    QString machine;
    QByteArray token;
    QString cafile; // resolved under the panel root; empty: the system's certificates

    static QString path();
    // Reads path(): false with the reason (never the token) when absent or bad.
    static bool load(LibraryConfig *config, QString *why);
    static bool parse(const QByteArray &text, LibraryConfig *config, QString *why);

private:
    static bool take(const StrictIni::Section &section, LibraryConfig *config, QString *why);
    bool set(const QString &key, const QString &value, QString *why);
};
