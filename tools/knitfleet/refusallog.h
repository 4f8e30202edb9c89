#pragma once

#include <QString>

// The web server's lines on standard error for what it refuses: the time, then the text. Each
// kind of line is written at most once a second; the ones held back are counted into the next
// line of their kind, so a flood of refusals cannot flood the log.
class RefusalLog
{
public:
    static void line(const char *kind, const QString &text);
};
