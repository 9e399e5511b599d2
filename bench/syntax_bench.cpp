// Throughput of the markup highlighter over 20 MB of generated HTML, the size of a large file
// shown whole in the source view. Bytes processed count the text's characters (one byte each in
// the file).
#include <benchmark/benchmark.h>

#include <string>

#include "syntax/markup_highlighter.h"

namespace {

std::u16string generatedHtml(std::size_t size) {
    const std::u16string block =
        u"<!DOCTYPE html>\r\n<html lang=\"en\"><head><title>Page</title>\r\n"
        u"<meta name='viewport' content=\"width=device-width\"></head>\r\n"
        u"<body class=main>\r\n<!-- navigation & links -->\r\n"
        u"<div id=\"nav\"><a href='index.htm'>Home</a> | <a href=\"a.htm?x=1&y=2\">A [1]</a>"
        u"</div>\r\n<p>Plain text with 2 < 3 and 5 > 4, tabs\tand quotes \"here\".</p>\r\n"
        u"<input type=checkbox disabled><br/>\r\n</body></html>\r\n";
    std::u16string text;
    text.reserve(size + block.size());
    while (text.size() < size) text += block;
    text.resize(size);
    return text;
}

void BM_MarkSyntax20MB(benchmark::State& state) {
    const std::u16string text = generatedHtml(20u << 20);
    for (auto _ : state) {
        std::u16string html = lodestar::markedSyntax(text);
        benchmark::DoNotOptimize(html.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_MarkSyntax20MB)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
