#include "crashpoint.h"

// Alone in its file, so that a program with a definition of its own (the crash tests') does not
// pull this one from the library.
void CrashPoint::step(const char *)
{
}
