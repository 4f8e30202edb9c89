#include "passwdcommand.h"

#ifdef KNIT_SERVE
#include "authfile.h"
#endif

#include <cstdio>
#include <string>
#include <sysexits.h>
#include <termios.h>
#include <unistd.h>

namespace {

#ifdef KNIT_SERVE
// One line of standard input without its end; on a terminal asked for, without echo.
QByteArray readLine(const char *prompt)
{
    const bool terminal = ::isatty(STDIN_FILENO) == 1;
    termios saved = {};
    if (terminal && ::tcgetattr(STDIN_FILENO, &saved) == 0) {
        termios quiet = saved;
        quiet.c_lflag &= ~tcflag_t(ECHO);
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
        std::fprintf(stderr, "%s", prompt);
    }
    std::string line;
    for (int c = std::getchar(); c != EOF && c != '\n' && line.size() <= 4096; c = std::getchar())
        line.push_back(char(c));
    if (terminal) {
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
        std::fprintf(stderr, "\n");
    }
    QByteArray out(line.data(), qsizetype(line.size()));
    if (out.endsWith('\r'))
        out.chop(1);
    return out;
}
#endif

} // namespace

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
    const QByteArray password = readLine("Password: ");
    if (::isatty(STDIN_FILENO) == 1 && readLine("Again: ") != password) {
        std::fprintf(stderr, "knitfleet passwd: the two passwords differ\n");
        return EX_DATAERR;
    }
    QString why;
    if (password.isEmpty()) {
        std::fprintf(stderr, "knitfleet passwd: an empty password is refused\n");
        return EX_DATAERR;
    }
    if (!AuthFile::setPassword(args[0], args[1].toUtf8(), password, &why)) {
        std::fprintf(stderr, "knitfleet passwd: %s: %s\n", qPrintable(args[0]), qPrintable(why));
        return EX_CANTCREAT;
    }
    return 0;
#endif
}
