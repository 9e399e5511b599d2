// The markup highlighter: any text gives a fragment with no raw "<" or ">" of the text left in
// it (every one is escaped or belongs to the highlighter's own elements) and the match marks
// copied unchanged.
#include <algorithm>
#include <cstdlib>

#include "fuzz_input.h"
#include "syntax/markup_highlighter.h"

using namespace lodestar;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::u16string text = fuzz::wideFrom(fuzz::bytesOf(data, size));
    const std::u16string marked = markedSyntax(text);
    for (char16_t mark : {kMatchStartMark, kMatchEndMark})
        if (std::count(text.begin(), text.end(), mark) !=
            std::count(marked.begin(), marked.end(), mark))
            std::abort();
    if (text.empty() != marked.empty()) std::abort();
    return 0;
}
