#include "fontconfiguration.h"

#include <fontconfig/fontconfig.h>

bool FontConfiguration::load()
{
    FcConfig *config = FcConfigCreate();
    if (!config)
        return false;
    bool ready = FcConfigParseAndLoad(config, nullptr, FcTrue) == FcTrue;
    if (ready) {
        // Without a cache folder every start would scan the fonts; fontconfig's own start adds
        // its default folders to such a configuration.
        FcStrList *caches = FcConfigGetCacheDirs(config);
        ready = caches && FcStrListNext(caches);
        if (caches)
            FcStrListDone(caches);
    }
    ready = ready && FcConfigBuildFonts(config) == FcTrue && FcConfigSetCurrent(config) == FcTrue;
    // The current configuration holds a reference of its own.
    FcConfigDestroy(config);
    return ready;
}
