#pragma once

#include <QString>

#include <functional>

class QWidget;

// The editors and browsers the file pages open on a job's file: the program editor, the
// pattern editor and the work-parameter browser. Each screen registers its opener in main.cpp
// when it exists; a key whose opener is missing does nothing.
class JobViewers
{
public:
    enum Kind { Program, Pattern, WorkParameters, KindCount };
    // mode: who opens it (the work-parameter browser's 1 for the disk file manager, 0 for a
    // stick file); the editors ignore it.
    using Opener = std::function<void(const QString &path, int mode, QWidget *parent)>;

    static void provide(Kind kind, Opener opener);
    static bool has(Kind kind);
    // False when no opener is registered.
    static bool open(Kind kind, const QString &path, int mode, QWidget *parent);
};
