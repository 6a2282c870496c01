// Nested plug-in bundles and the running system version.
#include "EnvironmentHelpers.h"
#include "EnvironmentHelpersInternal.h"
#include <CoreFoundation/CFHolder.h>

namespace toolkit {

bool system_newer_than(GestaltFunction gestalt, SInt32 minor) {
    SInt32 version[3] = {10, minor, 0};
    const OSType selectors[3] = {gestaltSystemVersionMajor, gestaltSystemVersionMinor,
                                 gestaltSystemVersionBugFix};
    for (int i = 0; i < 3; ++i) {
        SInt32 answer = 0;
        if (gestalt(selectors[i], &answer) == noErr)
            version[i] = answer;
    }
    return version[0] > 10 || (version[0] == 10 && version[1] > minor);
}

} // namespace toolkit

Boolean LoadPrivateBundle(CFBundleRef bundle, CFStringRef name, CFBundleRef* outBundle) {
    if (outBundle == nullptr)
        return false;
    *outBundle = nullptr;
    if (bundle == nullptr)
        return false;
    const cf::Holder<CFURLRef> plugIns(CFBundleCopyBuiltInPlugInsURL(bundle));
    if (!plugIns)
        return false;
    const cf::Holder<CFURLRef> url(CFURLCreateCopyAppendingPathComponent(
        kCFAllocatorSystemDefault, plugIns.get(), name, false));
    if (!url)
        return false;
    cf::Holder<CFBundleRef> loaded(CFBundleCreate(kCFAllocatorSystemDefault, url.get()));
    if (!loaded || !CFBundleLoadExecutable(loaded.get()))
        return false;
    *outBundle = loaded.release();
    return true;
}

// Each answer is worked out on the first call: the system does not change under a process.
Boolean RunningOn104OrLater(void) {
    static const bool answer = toolkit::system_newer_than(Gestalt, 3);
    return answer;
}

Boolean RunningOn105OrLater(void) {
    static const bool answer = toolkit::system_newer_than(Gestalt, 4);
    return answer;
}
