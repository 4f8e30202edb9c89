#pragma once
// bench/joblibrary's panel figure: the import of a 1 MiB job released in the library (fetched
// into the hidden folder by the helper the list started, as F5 starts it in the browser, each
// file checked against the list's digest, the .cnt/.pat checks, the whole job put in place)
// against the stick import of the same three files from a folder standing in for the stick.
// Both run in this process through the logic the job import browser uses, interleaved, each
// replacing the job the other put there.
#include "joblibrary.h"

namespace JobLibraryBench {

// Prints both medians and their ratio (target ≤ 1.5 × the stick's).
void panelImport(Setup &s);

} // namespace JobLibraryBench
