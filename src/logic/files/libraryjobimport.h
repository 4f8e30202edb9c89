#pragma once

#include "stickjobimport.h"

#include "data/librarylisting.h"

class LibraryFetch;

// A job version from the office's library into the job directory: fetched into the hidden
// folder (each file checked against the list's SHA-256), then imported by the stick import's
// own steps from there, its questions, messages and whole-or-nothing replacement included,
// the .wrk with it. A fault leaves the job directory as it was.
class LibraryJobImport
{
public:
    LibraryJobImport(const QString &root, StickJobImport::Hooks hooks, LibraryFetch *fetch);

    // The job's name when it was imported, else empty (the hooks have said why).
    QString run(const LibraryListing::Job &job);
    // A job imported from the stick: the library's version of that name is no longer the
    // one in the job directory, and the import is told as the library's is.
    static void stickImported(const QString &root, const QString &name);

private:
    QString root_;
    StickJobImport::Hooks hooks_;
    LibraryFetch *fetch_;
};
