#pragma once

#include <QByteArray>
#include <QString>

// A job's files as the panel takes them from a stick, checked before the library keeps them:
// the name by the stick import's rule (one plain name, no dot, since the stick import's name
// ends at the first one), the .cnt and .pat by the panel's checks, where only a file with its
// right checksum passes (the import's own question for a missing one has nobody to ask here),
// and the .wrk by its size. Also the facts the library lists and the pattern's preview.
class JobFiles
{
public:
    struct Facts
    {
        int rows = 0;     // the program's rows, by the loader's rule
        int width = 0;    // the pattern's width in stitches, as its header says
        int height = 0;   // the pattern's lines
        qint64 size = 0;  // the three files' bytes
    };
    struct Refusal
    {
        int code = -1; // the failed check's result code; -1 for a .wrk, which has none
        QString message;
    };

    // The name as text; empty when the stick import would refuse it.
    static QString name(const QByteArray &bytes);
    // True with the facts, or false with the refusal.
    static bool check(const QByteArray &cnt, const QByteArray &pat, const QByteArray &wrk, Facts *facts, Refusal *refusal);
    // The pattern as a PNG, a pixel a stitch in the pattern editor's colours, its first line at
    // the bottom as the editor shows it; empty for a pattern that does not load.
    static QByteArray previewPng(const QByteArray &pat);
};
