// The three export formats: the whole content of the export file built from the extracted match
// values. Items are written exactly as matched, without escaping, in every format.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/error.h"
#include "export/delimiters.h"

namespace lodestar {

// An HTML wrapper without the ".." that stands for the item.
class ExportFormatError : public Error {
  public:
    using Error::Error;
};

// The items joined with the delimiter text, in which backslash-r becomes CR and then
// backslash-n becomes LF (no other escapes: backslash-t stays two characters). The delimiter
// stands between items only.
std::u16string toText(const std::vector<std::u16string>& items, std::u16string_view delimiterText);

// An HTML page with one wrapped item per line. The wrapper is split at its first "..";
// `selectedIndex` is the wrapper list's selection and decides the enclosing element
// (2 "<ol>", 3 "<ul>", 5 "<table>", others none), whatever wrapper text was typed.
// Throws ExportFormatError when the wrapper has no "..".
std::u16string toHTML(const std::vector<std::u16string>& items, std::u16string_view wrapper,
                      int selectedIndex);

// "<xml><matches>", one "<m>item</m>" line per item, "</matches></xml>".
std::u16string toXML(const std::vector<std::u16string>& items);

// The content for a type: toText or toHTML with the delimiter text and the selected index, or
// toXML, which ignores both. An HTML or XML content holding a character Windows-1252 cannot hold
// declares UTF-8 (a charset meta element, an XML declaration); such a content is written in UTF-8
// (formatThatHolds).
std::u16string formatExtraction(ExportType type, const std::vector<std::u16string>& items,
                                std::u16string_view delimiterText, int selectedIndex);

}  // namespace lodestar
