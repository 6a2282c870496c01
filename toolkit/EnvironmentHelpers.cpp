// Nested plug-in bundles and the running system version.
#include "EnvironmentHelpers.h"
#include "EnvironmentHelpersInternal.h"

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
    CFURLRef plugIns = CFBundleCopyBuiltInPlugInsURL(bundle);
    if (plugIns == nullptr)
        return false;
    CFURLRef url =
        CFURLCreateCopyAppendingPathComponent(kCFAllocatorSystemDefault, plugIns, name, false);
    Boolean loaded = false;
    if (url != nullptr) {
        *outBundle = CFBundleCreate(kCFAllocatorSystemDefault, url);
        loaded = *outBundle != nullptr && CFBundleLoadExecutable(*outBundle);
        if (*outBundle != nullptr && !loaded) {
            CFRelease(*outBundle);
            *outBundle = nullptr;
        }
        CFRelease(url);
    }
    CFRelease(plugIns);
    return loaded;
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
