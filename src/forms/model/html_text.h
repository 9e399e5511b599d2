// Small readers over the HTML the program writes into its panes: the inner text of a
// fragment, the number of elements with a tag name, and the body of a whole page.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace lodestar {

// The text a browser shows for the fragment: tags dropped, character references decoded
// (named ones with or without the semicolon, decimal and hexadecimal ones).
std::u16string innerTextOf(std::u16string_view html);

// How many start tags with this (lower-case) name the fragment holds.
std::size_t countElements(std::u16string_view html, std::u16string_view tagName);

// The inner HTML of the page's body: what follows the body start tag up to "</body>" (or to
// the end). A page without a body tag is all body.
std::u16string bodyOf(std::u16string_view page);

// True when the fragment has an element whose id attribute is `id` (quoted or not).
bool hasElementId(std::u16string_view html, std::u16string_view id);

}  // namespace lodestar
