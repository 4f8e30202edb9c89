#include "passwordprompt.h"

#include <cstdio>
#include <string>
#include <termios.h>
#include <unistd.h>

QByteArray PasswordPrompt::line(const char *prompt, bool *tooLong)
{
    const bool terminal = ::isatty(STDIN_FILENO) == 1;
    termios saved = {};
    if (terminal && ::tcgetattr(STDIN_FILENO, &saved) == 0) {
        termios quiet = saved;
        quiet.c_lflag &= ~tcflag_t(ECHO);
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
        std::fprintf(stderr, "%s", prompt);
    }
    std::string text;
    int c = std::getchar();
    for (; c != EOF && c != '\n' && text.size() <= std::size_t(kMaxBytes); c = std::getchar())
        text.push_back(char(c));
    *tooLong = text.size() > std::size_t(kMaxBytes);
    if (terminal) {
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
        std::fprintf(stderr, "\n");
    }
    QByteArray out(text.data(), qsizetype(text.size()));
    if (out.endsWith('\r'))
        out.chop(1);
    return out;
}

bool PasswordPrompt::read(QByteArray *password, QString *why)
{
    bool tooLong = false;
    *password = line("Password: ", &tooLong);
    bool again = false;
    if (::isatty(STDIN_FILENO) == 1 && line("Again: ", &again) != *password)
        *why = QStringLiteral("the two passwords differ");
    else if (tooLong)
        *why = QStringLiteral("a password is at most %1 bytes").arg(kMaxBytes);
    else if (password->isEmpty())
        *why = QStringLiteral("an empty password is refused");
    else
        return true;
    password->fill('\0');
    password->clear();
    return false;
}
