// SysBeep: counted, and handed to the host's handler.
#include <CoreServices/OSUtils.h>
#include <CoreServices/PlatformHost.h>

#include <cstdio>
#include <unistd.h>

namespace cs {
namespace {

void default_beep(short, void*) {
    // A bell written into a log file or a test's captured output is noise.
    if (isatty(STDERR_FILENO)) {
        std::fputs("\a", stderr);
        std::fflush(stderr);
    }
}

PlatformBeepHandler gHandler = default_beep;
void* gContext = nullptr;
unsigned long gBeepCount = 0;

} // namespace
} // namespace cs

void SysBeep(short duration) {
    ++cs::gBeepCount;
    cs::gHandler(duration, cs::gContext);
}

void PlatformSetBeepHandler(PlatformBeepHandler handler, void* context) {
    cs::gHandler = handler != nullptr ? handler : cs::default_beep;
    cs::gContext = handler != nullptr ? context : nullptr;
}

unsigned long PlatformGetBeepCount(void) {
    return cs::gBeepCount;
}
