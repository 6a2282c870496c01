// custom-value-dialog: runs the custom value dialog of a bundle (by default the Accounting
// bundle beside this program) on a script of user actions, as a panel of the bundle would
// call it, and prints what the dialog gave back. For people to look at the dialog (the
// snapshot command uses it) and for end-to-end checks.
//
//   custom-value-dialog --script FILE [--output DIR] [--bundle PATH]
//                       [--min N] [--max N] [--value TEXT]
#include <Carbon/Carbon.h>
#include <HIToolbox/PlatformHost.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

namespace {

using RunDialog = OSStatus (*)(CFBundleRef, SInt32, SInt32, CFStringRef*, SInt16*);

struct Arguments {
    std::string script, output = ".", bundle, value;
    bool hasValue = false;
    long minimum = 0, maximum = 0;
};

std::string default_bundle() {
    char buffer[4096];
    const ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    std::string dir = length > 0 ? std::string(buffer, static_cast<size_t>(length)) : ".";
    dir = dir.substr(0, dir.rfind('/'));
    return dir + "/../PlugIns/Accounting.plugin";
}

bool parse(int argc, char** argv, Arguments& args) {
    args.bundle = default_bundle();
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i], value = argv[i + 1];
        if (option == "--script")
            args.script = value;
        else if (option == "--output")
            args.output = value;
        else if (option == "--bundle")
            args.bundle = value;
        else if (option == "--value")
            args.value = value, args.hasValue = true;
        else if (option == "--min")
            args.minimum = std::strtol(value.c_str(), nullptr, 10);
        else if (option == "--max")
            args.maximum = std::strtol(value.c_str(), nullptr, 10);
        else
            return false;
    }
    return argc % 2 == 1 && !args.script.empty();
}

CFBundleRef load_bundle(const std::string& path) {
    CFURLRef url = CFURLCreateFromFileSystemRepresentation(
        nullptr, reinterpret_cast<const UInt8*>(path.c_str()), static_cast<CFIndex>(path.size()),
        true);
    CFBundleRef bundle = url != nullptr ? CFBundleCreate(nullptr, url) : nullptr;
    if (url != nullptr)
        CFRelease(url);
    if (bundle != nullptr && !CFBundleLoadExecutable(bundle)) {
        CFRelease(bundle);
        return nullptr;
    }
    return bundle;
}

void print_value(CFStringRef value) {
    if (value == nullptr) {
        std::printf("value none\n");
        return;
    }
    char text[1024] = {};
    CFStringGetCString(value, text, sizeof text, kCFStringEncodingUTF8);
    std::printf("value \"%s\"\n", text);
}

} // namespace

int main(int argc, char** argv) {
    Arguments args;
    if (!parse(argc, argv, args)) {
        std::fprintf(stderr,
                     "usage: %s --script FILE [--output DIR] [--bundle PATH] "
                     "[--min N] [--max N] [--value TEXT]\n",
                     argv[0]);
        return 2;
    }
    CFBundleRef bundle = load_bundle(args.bundle);
    auto run = bundle != nullptr ? reinterpret_cast<RunDialog>(CFBundleGetFunctionPointerForName(
                                       bundle, CFSTR("RunModalCustomValueDialog")))
                                 : nullptr;
    if (run == nullptr) {
        std::fprintf(stderr, "%s: no RunModalCustomValueDialog in the bundle\n",
                     args.bundle.c_str());
        return 1;
    }
    PlatformEventSource source{};
    if (PlatformCreateScriptEventSource(args.script.c_str(), args.output.c_str(), &source) != noErr)
        return 1;
    PlatformSetEventSource(&source);

    CFStringRef given = args.hasValue ? CFStringCreateWithCString(nullptr, args.value.c_str(),
                                                                  kCFStringEncodingUTF8)
                                      : nullptr;
    CFStringRef value = given;
    SInt16 result = 0;
    const OSStatus status = run(bundle, static_cast<SInt32>(args.minimum),
                                static_cast<SInt32>(args.maximum), &value, &result);
    std::printf("status %d\nresult %d\n", static_cast<int>(status), result);
    if (status == noErr)
        print_value(value);
    if (value != nullptr && value != given)
        CFRelease(value);
    if (given != nullptr)
        CFRelease(given);
    // What the script does after the dialog (dumps of other windows) still runs.
    const OSStatus rest = PlatformRunEventSource();
    PlatformSetEventSource(nullptr);
    return status == noErr && result != 0 && rest == noErr ? 0 : 1;
}
