// Speed of RegExp over 20 MB of generated HTML-like text: counting and executing with a
// literal, class-heavy patterns, a word-bounded word and a dot-all pattern, plus a replace.
// Bytes processed count one byte per code unit, as for the program's 8-bit text files.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "search/regexp.h"

namespace {

using lodestar::RegExp;

const std::u16string& htmlText() {
    static const std::u16string text = [] {
        const char16_t* words[] = {u"alpha", u"beta",  u"gamma", u"delta", u"needle",
                                   u"lorem", u"ipsum", u"dolor", u"sit",   u"amet"};
        const char16_t* tags[] = {u"div", u"span", u"p", u"a", u"li"};
        std::u16string out;
        out.reserve(21 * 1024 * 1024);
        uint32_t seed = 12345;
        const auto next = [&seed](uint32_t n) {
            seed = seed * 1103515245u + 12345u;
            return (seed >> 16) % n;
        };
        while (out.size() < 20 * 1024 * 1024) {
            const char16_t* tag = tags[next(5)];
            out += u"<";
            out += tag;
            out += u" class=\"c";
            out += static_cast<char16_t>(u'0' + next(10));
            out += u"\" id=\"x";
            out += static_cast<char16_t>(u'0' + next(10));
            out += u"\">";
            for (uint32_t w = 0, n = 3 + next(8); w < n; ++w) {
                out += words[next(10)];
                out += next(4) == 0 ? u", " : u" ";
            }
            out += u"</";
            out += tag;
            out += u">\r\n";
            if (next(8) == 0) out += u"<!-- generated\r\n comment -->\r\n";
        }
        return out;
    }();
    return text;
}

RegExp expression(const char16_t* pattern, bool ignoreCase) {
    RegExp re;
    re.setPattern(pattern);
    re.setIgnoreCase(ignoreCase);
    re.setGlobal(true);
    return re;
}

const char16_t* const kPatterns[] = {
    u"needle",                            // 0: literal
    u"<[a-z]+(?:\\s+\\w+=\"[^\"]*\")*>",  // 1: class-heavy (opening tags with attributes)
    u"\\b[a-z]{4,6}\\b,",                 // 2: class-heavy with word boundaries
    u"\\bneedle\\b",                      // 3: word-bounded literal
    u"<!--[\\s\\S]*?-->",                 // 4: dot-all
};

void count(benchmark::State& state) {
    const std::u16string& text = htmlText();
    const RegExp re = expression(kPatterns[state.range(0)], state.range(1) != 0);
    std::size_t matches = 0;
    for (auto _ : state) {
        matches = re.count(text);
        benchmark::DoNotOptimize(matches);
    }
    state.counters["matches"] = static_cast<double>(matches);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

void execute(benchmark::State& state) {
    const std::u16string& text = htmlText();
    const RegExp re = expression(kPatterns[state.range(0)], state.range(1) != 0);
    for (auto _ : state) benchmark::DoNotOptimize(re.execute(text));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

void replace(benchmark::State& state) {
    const std::u16string& text = htmlText();
    const RegExp re = expression(kPatterns[state.range(0)], state.range(1) != 0);
    for (auto _ : state) benchmark::DoNotOptimize(re.replace(text, u"[$&]"));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

// Arguments: pattern number, ignore case.
BENCHMARK(count)
    ->ArgNames({"pattern", "ignoreCase"})
    ->ArgsProduct({{0, 1, 2, 3, 4}, {0, 1}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(execute)
    ->ArgNames({"pattern", "ignoreCase"})
    ->ArgsProduct({{0, 1, 4}, {1}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(replace)
    ->ArgNames({"pattern", "ignoreCase"})
    ->ArgsProduct({{0, 4}, {1}})
    ->Unit(benchmark::kMillisecond);

}  // namespace
