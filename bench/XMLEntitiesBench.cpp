// Throughput of entity unescaping, beside libxml2's own decoding of the same text and a plain
// memcpy of the same characters. Items are characters of input.
#include "XMLEntities.h"

#include <benchmark/benchmark.h>
#include <libxml/parser.h>
#include <libxml/parserInternals.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr size_t kTextSize = 4 << 20; // characters

// Prose with a reference every `spacing` characters, cycling through the kinds.
std::string make_text(size_t spacing) {
    static const char* const kReferences[] = {"&amp;", "&lt;",    "&#65;",
                                              "&gt;",  "&#x3B1;", "&quot;"};
    static const char kWords[] = "the quick brown fox jumps over the lazy dog ";
    std::string text;
    text.reserve(kTextSize + 64);
    size_t next = spacing, k = 0;
    while (text.size() < kTextSize) {
        if (text.size() >= next) {
            text += kReferences[k++ % 6];
            next = text.size() + spacing;
        } else {
            text += kWords[text.size() % (sizeof kWords - 1)];
        }
    }
    return text;
}

const std::string& text_for(int spacing) {
    static std::string sparse = make_text(200);
    static std::string dense = make_text(6);
    return spacing == 200 ? sparse : dense;
}

void BM_Unescape(benchmark::State& state) {
    const std::string& text = text_for(static_cast<int>(state.range(0)));
    CFStringRef input =
        CFStringCreateWithBytes(nullptr, reinterpret_cast<const UInt8*>(text.data()),
                                static_cast<CFIndex>(text.size()), kCFStringEncodingUTF8, false);
    for (auto _ : state) {
        CFMutableStringRef out = XMLCreateStringByUnescapingEntities(nullptr, input, nullptr);
        benchmark::DoNotOptimize(out);
        CFRelease(out);
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(text.size()));
    CFRelease(input);
}

void BM_Libxml2Decode(benchmark::State& state) {
    const std::string& text = text_for(static_cast<int>(state.range(0)));
    xmlParserCtxtPtr context = xmlNewParserCtxt();
    for (auto _ : state) {
        xmlChar* out =
            xmlStringLenDecodeEntities(context, BAD_CAST text.data(), static_cast<int>(text.size()),
                                       XML_SUBSTITUTE_REF, 0, 0, 0);
        benchmark::DoNotOptimize(out);
        xmlFree(out);
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(text.size()));
    xmlFreeParserCtxt(context);
}

void BM_Memcpy(benchmark::State& state) {
    const std::string& text = text_for(static_cast<int>(state.range(0)));
    // The same characters as UTF-16, the unescaper's own representation.
    std::vector<UniChar> source(text.begin(), text.end());
    std::vector<UniChar> target(source.size());
    for (auto _ : state) {
        std::memcpy(target.data(), source.data(), source.size() * sizeof(UniChar));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(text.size()));
}

} // namespace

// Argument: characters between references (200 sparse, 6 dense).
BENCHMARK(BM_Unescape)->Arg(200)->Arg(6)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Libxml2Decode)->Arg(200)->Arg(6)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Memcpy)->Arg(200)->Arg(6)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
