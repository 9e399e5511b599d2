// The three export formats: the whole content of the export file built from the extracted match
// values, always written in UTF-8. TXT holds the items exactly as matched; HTML and XML hold them
// as character data (escaped), so the page and the document show the matches themselves.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/error.h"
#include "export/delimiters.h"
#include "files/text_encoding.h"

namespace lodestar {

// An HTML wrapper without the ".." that stands for the item.
class ExportFormatError : public Error {
  public:
    using Error::Error;
};

// The items joined with the delimiter text, in which backslash-r becomes CR and then
// backslash-n becomes LF (no other escapes: backslash-t stays two characters). The delimiter
// stands between items only. Half of a broken surrogate pair (which UTF-8 cannot encode) becomes
// U+FFFD.
std::u16string toText(const std::vector<std::u16string>& items, std::u16string_view delimiterText);

// An HTML page declaring UTF-8 (<meta charset="utf-8">) with one wrapped item per line, each
// item with "&", "<", ">" and '"' escaped (the wrapper is markup and stays as typed). The wrapper
// is split at its first ".."; `selectedIndex` is the wrapper list's selection and decides the
// enclosing element (2 "<ol>", 3 "<ul>", 5 "<table>", others none), whatever wrapper text was
// typed. Throws ExportFormatError when the wrapper has no "..".
std::u16string toHTML(const std::vector<std::u16string>& items, std::u16string_view wrapper,
                      int selectedIndex);

// The declaration <?xml version="1.0" encoding="UTF-8"?>, "<xml><matches>", one "<m>item</m>"
// line per item ("&", "<", ">" and '"' escaped), "</matches></xml>". A character XML 1.0 cannot
// carry at all -- a control character other than tab, LF and CR, U+FFFE, U+FFFF -- is written as
// U+FFFD (the replacement character); so is half of a broken surrogate pair, in HTML too.
std::u16string toXML(const std::vector<std::u16string>& items);

// The content for a type: toText or toHTML with the delimiter text and the selected index, or
// toXML, which ignores both.
std::u16string formatExtraction(ExportType type, const std::vector<std::u16string>& items,
                                std::u16string_view delimiterText, int selectedIndex);

// Where an item was found: its file and the 1-based line and column (in characters) of its start.
struct ItemPlace {
    std::u16string file;
    std::size_t line = 1;
    std::size_t column = 1;
};

// The content for a type with each item's place (one place per item): TXT as
// "file:line:column: value" joined with the delimiter; HTML as a table with the columns File,
// Line, Column and Match (the wrapper is not used); XML as <m file=".." line=".." column="..">.
std::u16string formatPlacedExtraction(ExportType type, const std::vector<std::u16string>& items,
                                      const std::vector<ItemPlace>& places,
                                      std::u16string_view delimiterText);

// How every export file is written, whatever it holds: UTF-8 without a byte-order mark.
TextFormat exportFileFormat();

}  // namespace lodestar
