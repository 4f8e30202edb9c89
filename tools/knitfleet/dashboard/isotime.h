#pragma once

#include <QString>

// Times as the dashboard's answers carry them: ISO 8601 in local time with the offset
// ("2026-12-06T10:15:02+01:00"); query parameters may leave the offset (local) or the time of
// day (midnight) out.
class IsoTime
{
public:
    // withMs: milliseconds too, where a time must come back exactly (a page's next start).
    static QString text(qint64 ms, bool withMs = false);
    // False for anything else.
    static bool parse(const QString &text, qint64 *ms);
};
