// Line and column of each match, on the lines of a LineIndex.
#include "search/match_positions.h"

#include <algorithm>

#include "search/line_index.h"

namespace lodestar {

std::size_t characterCount(std::u16string_view text) {
    std::size_t count = text.size();
    for (std::size_t i = 1; i < text.size(); ++i)
        if (text[i] >= 0xDC00 && text[i] <= 0xDFFF && text[i - 1] >= 0xD800 &&
            text[i - 1] <= 0xDBFF)
            --count;
    return count;
}

std::vector<TextPosition> matchPositions(std::u16string_view text,
                                         const std::vector<MatchSpan>& spans) {
    std::vector<TextPosition> positions;
    positions.reserve(spans.size());
    LineIndex lines(text);
    // The previous match's line, start and column: a match on the same line counts only the
    // characters since it, so a line of many matches is not counted again for each.
    std::size_t lastLine = 0, lastAt = 0, lastColumn = 1;
    bool first = true;
    for (const MatchSpan& m : spans) {
        const std::size_t at = std::min(m.index, text.size());
        if (at == text.size() && at > 0 && text[at - 1] == u'\n') {
            // After a final line break: the start of the line the break opens.
            positions.push_back({lines.lineOf(at) + 2, 1});
            continue;
        }
        const std::size_t line = lines.lineOf(at);
        std::size_t column;
        if (!first && line == lastLine && at >= lastAt) {
            column = lastColumn + characterCount(text.substr(lastAt, at - lastAt));
        } else {
            const std::size_t start = lines.start(line);
            column = 1 + characterCount(text.substr(start, at - start));
        }
        positions.push_back({line + 1, column});
        lastLine = line;
        lastAt = at;
        lastColumn = column;
        first = false;
    }
    return positions;
}

}  // namespace lodestar
