// Speed of reading Windows-1252 text: a whole 20 MB file through LoadFileText, and the
// decoder (and encoder) alone on the same bytes.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "core/text.h"
#include "files/codepage.h"
#include "files/text_file.h"

namespace {

constexpr std::size_t kSampleSize = 20 << 20;

// Markup-like lines, mostly ASCII with a share of the code page's upper half, CR LF ends.
const std::string& sampleBytes() {
    static const std::string bytes = [] {
        std::string text;
        text.reserve(kSampleSize + 128);
        unsigned state = 12345;
        while (text.size() < kSampleSize) {
            text += "<p class=\"note\">Caf\xe9 na\xefve \x93quoted\x94 \x80 12,50 ";
            state = state * 1103515245u + 12345u;
            text += std::to_string(state >> 8);
            text += "</p>\r\n";
        }
        text.resize(kSampleSize);
        return text;
    }();
    return bytes;
}

void LoadFileText20MB(benchmark::State& state) {
    const std::filesystem::path file = std::filesystem::temp_directory_path() /
                                       ("lodestar-decode-bench-" + std::to_string(::getpid()));
    std::ofstream(file, std::ios::binary) << sampleBytes();
    const std::u16string path = lodestar::fromUtf8(file.string());
    for (auto _ : state) {
        std::u16string text = lodestar::LoadFileText(path);
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kSampleSize));
    std::filesystem::remove(file);
}
BENCHMARK(LoadFileText20MB)->Unit(benchmark::kMillisecond);

void DecodeWindows1252(benchmark::State& state) {
    const std::string& bytes = sampleBytes();
    for (auto _ : state) {
        std::u16string text = lodestar::decodeWindows1252(bytes);
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(DecodeWindows1252)->Unit(benchmark::kMillisecond);

void EncodeWindows1252(benchmark::State& state) {
    const std::u16string text = lodestar::decodeWindows1252(sampleBytes());
    for (auto _ : state) {
        std::string bytes = lodestar::encodeWindows1252(text);
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(EncodeWindows1252)->Unit(benchmark::kMillisecond);

}  // namespace
