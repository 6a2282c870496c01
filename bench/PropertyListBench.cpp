// Reading XML property lists: time per byte for lists of many small values, the shape of a
// large settings file. Aim: linear in the size, and the memory a small multiple of it (the
// reader keeps only the open elements; run with /usr/bin/time -v to see the peak).
#include <CoreFoundation/CoreFoundation.h>

#include <benchmark/benchmark.h>

#include <string>

namespace {

std::string make_plist(size_t bytes) {
    std::string xml =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n<dict>\n";
    for (size_t i = 0; xml.size() < bytes; ++i) {
        const std::string n = std::to_string(i);
        xml += "\t<key>k" + n + "</key>\n\t<array>\n\t\t<integer>" + n +
               "</integer>\n\t\t<string>value " + n + "</string>\n\t\t<true/>\n\t</array>\n";
    }
    return xml + "</dict>\n</plist>\n";
}

void BM_ReadXMLPropertyList(benchmark::State& state) {
    const std::string xml = make_plist(static_cast<size_t>(state.range(0)));
    CFDataRef data = CFDataCreate(nullptr, reinterpret_cast<const UInt8*>(xml.data()),
                                  static_cast<CFIndex>(xml.size()));
    for (auto _ : state) {
        CFPropertyListRef plist =
            CFPropertyListCreateFromXMLData(nullptr, data, kCFPropertyListImmutable, nullptr);
        benchmark::DoNotOptimize(plist);
        if (plist == nullptr)
            state.SkipWithError("the list did not parse");
        else
            CFRelease(plist);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * xml.size()));
    CFRelease(data);
}
BENCHMARK(BM_ReadXMLPropertyList)
    ->Arg(64 << 10)
    ->Arg(1 << 20)
    ->Arg(8 << 20)
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
