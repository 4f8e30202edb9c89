#include "passwdcommand.h"

#ifdef KNIT_SERVE
#include "authfile.h"
#include "passwordprompt.h"
#endif

#include <cstdio>
#include <sysexits.h>

int passwdCommand(const QStringList &args)
{
#ifndef KNIT_SERVE
    Q_UNUSED(args)
    std::fprintf(stderr, "knitfleet: passwd is not built in (it comes with serve)\n");
    return EX_UNAVAILABLE;
#else
    if (args.size() != 2 || args[0].startsWith(QLatin1Char('-')) || !AuthFile::validUser(args[1].toUtf8())) {
        std::fprintf(stderr, "usage: knitfleet passwd FILE USER (the password on standard input; USER 1 to %d printable "
                             "characters without ':')\n", AuthFile::kMaxUser);
        return EX_USAGE;
    }
    QByteArray password;
    QString why;
    if (!PasswordPrompt::read(&password, &why)) {
        std::fprintf(stderr, "knitfleet passwd: %s\n", qPrintable(why));
        return EX_DATAERR;
    }
    if (!AuthFile::setPassword(args[0], args[1].toUtf8(), password, &why)) {
        std::fprintf(stderr, "knitfleet passwd: %s: %s\n", qPrintable(args[0]), qPrintable(why));
        return EX_CANTCREAT;
    }
    return 0;
#endif
}
