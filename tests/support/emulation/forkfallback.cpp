// Linked into a cross build's tests only, which run under user-mode emulation. Qt's process
// launcher probes for pidfds with a raw waitid(P_PIDFD) that the emulator passes to the kernel,
// which has them, and then starts every child with clone(CLONE_PIDFD), which this emulator
// refuses: every QProcess start would fail. Answering the probe "not supported" makes the
// launcher use its plain fork, which the emulator runs. Everything else goes to libc.
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
