// Linked into the tests of a cross build, which run under user-mode emulation, and of a
// ThreadSanitizer build. Qt's process launcher probes for pidfds with a raw waitid(P_PIDFD) and,
// where the kernel has them, starts every child with clone(CLONE_PIDFD | CLONE_VM): the emulator
// refuses that clone, so every QProcess start would fail; ThreadSanitizer's clone hook does its
// after-fork bookkeeping in the memory the child shares with its parent, so the parent is taken
// for a forked child and stops being checked. Answering the probe "not supported" makes the
// launcher use its plain fork, which both handle. Everything else goes to libc.
#include <cerrno>
#include <cstdarg>
#include <dlfcn.h>
#include <sys/syscall.h>

namespace {
constexpr long kPidfdIdType = 3; // P_PIDFD
}

extern "C" long syscall(long number, ...)
{
    va_list ap;
    va_start(ap, number);
    long a[6];
    for (long &x : a)
        x = va_arg(ap, long);
    va_end(ap);
    if (number == SYS_waitid && a[0] == kPidfdIdType) {
        errno = EINVAL;
        return -1;
    }
    using Syscall = long (*)(long, ...);
    static const auto real = reinterpret_cast<Syscall>(dlsym(RTLD_NEXT, "syscall"));
    return real(number, a[0], a[1], a[2], a[3], a[4], a[5]);
}
