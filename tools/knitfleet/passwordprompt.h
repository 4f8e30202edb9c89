#pragma once

#include <QByteArray>
#include <QString>

// A new password as the office's commands take it: standard input's first line (at most
// kMaxBytes), asked for twice without echo on a terminal; never a command-line argument,
// which every user of the machine can read in the process list.
class PasswordPrompt
{
public:
    static constexpr int kMaxBytes = 4096;

    // False with a reason: the two differ, or the password is empty or too long.
    static bool read(QByteArray *password, QString *why);

private:
    static QByteArray line(const char *prompt, bool *tooLong);
};
