#include "authfile.h"

#include <QFile>

bool AuthFile::read(const QString &path, QString *why)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        *why = QStringLiteral("cannot read the auth file %1").arg(path);
        return false;
    }
    logins_.clear();
    for (const QByteArray &raw : f.read(64 * 1024).split('\n')) {
        const QByteArray line = raw.trimmed();
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        if (line.indexOf(':') < 1) {
            *why = QStringLiteral("%1: every line must be user:password").arg(path);
            return false;
        }
        logins_.append(line);
    }
    if (logins_.isEmpty())
        *why = QStringLiteral("%1 holds no user:password line").arg(path);
    return !logins_.isEmpty();
}

bool AuthFile::accepts(const QByteArray &authorization) const
{
    if (!authorization.startsWith("Basic ") || authorization.size() > 4096)
        return false;
    const QByteArray given = QByteArray::fromBase64(authorization.mid(6).trimmed());
    bool found = false;
    for (const QByteArray &login : logins_) {
        // Compared in full whatever differs first, so the time taken tells nothing.
        unsigned diff = unsigned(login.size() ^ given.size());
        for (int i = 0; i < login.size(); ++i)
            diff |= unsigned(login[i] ^ (i < given.size() ? given[i] : 0));
        found = found || diff == 0;
    }
    return found;
}
