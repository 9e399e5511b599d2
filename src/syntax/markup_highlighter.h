// The markup highlighter of the source view: turns a text into an HTML fragment in which tag
// names are bold, attribute names italic, quoted attribute values underlined and comments struck
// through, with the text's "&", "<" and ">" escaped.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace lodestar {

// Two noncharacters the program reserves to mark where a match starts and ends in a text on its
// way to the source view. The highlighter copies them unchanged and looks through them when it
// looks ahead, so a mark never changes how the markup around it is highlighted.
inline constexpr char16_t kMatchStartMark = u'\uFDD0';
inline constexpr char16_t kMatchEndMark = u'\uFDD1';

// Replaces the text by its highlighted fragment. An empty text stays empty.
//
// One left-to-right pass with five flags (in tag, in comment, tag name, attribute name, quoted
// value). Tag names are wrapped in <b>, attribute names in <i>, quoted values in <u>, comments in
// <s>; "&", "<" and ">" become "&amp;", "&lt;" and "&gt;", each closed by its semicolon so that
// no following letters can be read as part of a longer entity ("p->dot" stays "p->dot"). Every
// other character, brackets and "%" included, shows as itself. Any text is
// treated as markup, but a "<" starts a tag or comment only before a letter, "/", "!" or "?":
// "5 < 6 & 7 > 2" stays text. Runs left open at the end are not closed.
void markSyntax(std::u16string& text);

// The same, returning the fragment and leaving the text alone.
std::u16string markedSyntax(std::u16string_view text);

// The elements the highlighter writes, in the order they are reopened after a cut (closed in
// reverse).
inline constexpr std::array<char16_t, 4> kHighlightElements = {u's', u'b', u'i', u'u'};

// Where the highlighter stands at a point of a text: its five flags, and how many of each of
// its elements the HTML written so far leaves open, counted as a page parser counts them (a
// start tag opens one, an end tag closes one if any is open). Highlighting a text in parts,
// each part starting from the state the previous one ended in, gives the same HTML as one
// sweep, so a long text can be shown a part at a time without highlighting what comes before.
struct HighlightState {
    bool inTag = false;
    bool inComment = false;
    bool tagName = false;
    bool attributeName = false;
    bool quotedValue = false;
    std::array<int, kHighlightElements.size()> open{};
    bool operator==(const HighlightState&) const = default;
};

// Highlights text[from, to) from `state`, appends the fragment to `out` and leaves in `state`
// where it ended. It looks ahead past `to` (within `text`) as one sweep would.
void markSyntaxPart(std::u16string_view text, std::size_t from, std::size_t to,
                    HighlightState& state, std::u16string& out);
// Only the state at `to`, writing nothing; much cheaper than highlighting.
void advanceSyntax(std::u16string_view text, std::size_t from, std::size_t to,
                   HighlightState& state);

}  // namespace lodestar
