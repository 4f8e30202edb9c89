#include "authfile.h"

#include "platform/atomicfile.h"

#include <QFile>

#include <algorithm>

#include <sodium.h>
#include <sys/stat.h>

namespace {

const char kConvert[] = "replace each line with `knitfleet passwd FILE USER` (the password on standard input)";

} // namespace

bool AuthFile::validUser(const QByteArray &user)
{
    if (user.isEmpty() || user.size() > kMaxUser)
        return false;
    return std::all_of(user.begin(), user.end(), [](char c) { return quint8(c) > 0x20 && c != ':' && c != 0x7f; });
}

bool AuthFile::readLines(const QString &path, bool ownerOnly, QList<QByteArray> *lines, QString *why)
{
    QFile f(path);
    struct stat st = {};
    if (!f.open(QIODevice::ReadOnly) || ::fstat(f.handle(), &st) != 0 || !S_ISREG(st.st_mode)) {
        *why = QStringLiteral("cannot read the auth file %1").arg(path);
        return false;
    }
    if (ownerOnly && (st.st_mode & (S_IRWXG | S_IRWXO)) != 0) {
        *why = QStringLiteral("%1 may be read or changed by others (mode %2): chmod 600 %1")
                   .arg(path).arg(st.st_mode & 07777, 4, 8, QLatin1Char('0'));
        return false;
    }
    const QByteArray bytes = f.read(kMaxBytes + 1);
    if (bytes.size() > kMaxBytes) {
        *why = QStringLiteral("%1 is over 64 KiB").arg(path);
        return false;
    }
    *lines = bytes.split('\n');
    return true;
}

bool AuthFile::read(const QString &path, QString *why)
{
    logins_.clear();
    QList<QByteArray> lines;
    if (sodium_init() < 0) {
        *why = QStringLiteral("libsodium does not start");
        return false;
    }
    if (!readLines(path, true, &lines, why))
        return false;
    for (int n = 0; n < lines.size(); ++n) {
        const QByteArray line = lines[n].trimmed();
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        const qsizetype colon = line.indexOf(':');
        const QByteArray user = line.left(colon);
        const QByteArray hash = line.mid(colon + 1);
        QString problem;
        if (colon < 0 || !validUser(user))
            problem = QStringLiteral("not user:hash");
        else if (hash.isEmpty())
            problem = QStringLiteral("an empty password");
        else if (!hash.startsWith("$argon2id$"))
            problem = QStringLiteral("a plain password: %1").arg(QLatin1String(kConvert));
        else if (crypto_pwhash_str_needs_rehash(hash.constData(), crypto_pwhash_OPSLIMIT_MIN, crypto_pwhash_MEMLIMIT_MIN) < 0)
            problem = QStringLiteral("not an argon2id hash libsodium reads");
        else if (logins_.contains(user))
            problem = QStringLiteral("the user a second time");
        if (!problem.isEmpty()) {
            *why = QStringLiteral("%1: line %2: %3").arg(path).arg(n + 1).arg(problem);
            logins_.clear();
            return false;
        }
        logins_.insert(user, hash);
    }
    if (logins_.isEmpty())
        *why = QStringLiteral("%1 holds no user:hash line").arg(path);
    return !logins_.isEmpty();
}

bool AuthFile::verify(const QByteArray &user, const QByteArray &password) const
{
    if (logins_.isEmpty())
        return false;
    const auto it = logins_.constFind(user);
    // An unknown user is checked against another's hash, and refused whatever it says.
    const QByteArray &hash = it != logins_.constEnd() ? *it : logins_.constBegin().value();
    const bool match = crypto_pwhash_str_verify(hash.constData(), password.constData(), quint64(password.size())) == 0;
    return match && it != logins_.constEnd();
}

bool AuthFile::basic(const QByteArray &authorization, QByteArray *user, QByteArray *password)
{
    if (!authorization.startsWith("Basic ") || authorization.size() > 1024)
        return false;
    const auto decoded = QByteArray::fromBase64Encoding(authorization.mid(6).trimmed(), QByteArray::AbortOnBase64DecodingErrors);
    const qsizetype colon = decoded.decoded.indexOf(':');
    if (!decoded || colon < 1)
        return false;
    *user = decoded.decoded.left(colon);
    *password = decoded.decoded.mid(colon + 1);
    return validUser(*user);
}

bool AuthFile::setPassword(const QString &path, const QByteArray &user, const QByteArray &password, QString *why)
{
    if (!validUser(user)) {
        *why = QStringLiteral("a user name is 1 to %1 printable characters without ':'").arg(kMaxUser);
        return false;
    }
    if (password.isEmpty() || password.contains('\n')) {
        *why = QStringLiteral("an empty password is refused");
        return false;
    }
    QList<QByteArray> kept;
    if (QFile::exists(path) && !readLines(path, false, &kept, why))
        return false;
    kept.removeIf([&user](const QByteArray &line) { return line.trimmed().startsWith(user + ':'); });
    while (!kept.isEmpty() && kept.last().trimmed().isEmpty())
        kept.removeLast();
    char hash[crypto_pwhash_STRBYTES];
    if (sodium_init() < 0
        || crypto_pwhash_str(hash, password.constData(), quint64(password.size()), crypto_pwhash_OPSLIMIT_INTERACTIVE,
                             crypto_pwhash_MEMLIMIT_INTERACTIVE) != 0) {
        *why = QStringLiteral("cannot hash the password (out of memory?)");
        return false;
    }
    kept.append(user + ':' + QByteArray(hash));
    // The new file is the owner's alone from its first byte.
    const mode_t mask = ::umask(077);
    const bool saved = AtomicFile::save(path, kept.join('\n') + '\n', why);
    ::umask(mask);
    return saved;
}
