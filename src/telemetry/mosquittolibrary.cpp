#include "mosquittolibrary.h"

#include <dlfcn.h>

namespace {

// The run-time name of the package's libmosquitto (Debian: libmosquitto1).
const char kSoname[] = "libmosquitto.so.1";

struct Loaded
{
    MosquittoLibrary library;
    QString why; // empty when loaded
};

Loaded load()
{
    Loaded l;
    void *handle = dlopen(kSoname, RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        l.why = QStringLiteral("cannot load %1: %2").arg(QLatin1String(kSoname), QString::fromLocal8Bit(dlerror()));
        return l;
    }
#define KNIT_MOSQUITTO_RESOLVE(member, symbol)                                                     \
    l.library.member = reinterpret_cast<decltype(l.library.member)>(dlsym(handle, #symbol));        \
    if (!l.library.member && l.why.isEmpty())                                                      \
        l.why = QStringLiteral("%1 lacks %2").arg(QLatin1String(kSoname), QLatin1String(#symbol));
    KNIT_MOSQUITTO_CALLS(KNIT_MOSQUITTO_RESOLVE)
#undef KNIT_MOSQUITTO_RESOLVE
    // The handle stays open for the process: a client may be made again at any time.
    if (l.why.isEmpty())
        l.library.libInit();
    return l;
}

} // namespace

const MosquittoLibrary *MosquittoLibrary::get(QString *why)
{
    // Loaded at the first call, on whichever thread makes it, and never changed after.
    static const Loaded loaded = load();
    if (!loaded.why.isEmpty()) {
        *why = loaded.why;
        return nullptr;
    }
    return &loaded.library;
}
