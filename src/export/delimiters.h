// The choices the export dialog offers per output type: the type names, the delimiters of the
// text format, the wrappers of the HTML format, XML's single wrapper and the save-dialog filters.
#pragma once

#include <string>
#include <vector>

namespace lodestar {

// The output types, numbered as the dialog's type list.
enum class ExportType { Text = 0, Html = 1, Xml = 2 };

// Entries of the delimiter list: names shown and the delimiter or wrapper text of each,
// parallel. Values keep the two-character escapes backslash-r and backslash-n.
struct DelimiterTable {
    std::vector<std::u16string> names;
    std::vector<std::u16string> values;
};

// "TXT", "HTML", "XML".
std::vector<std::u16string> exportTypeNames();

// The eight delimiters of the text format, from "Line Break" ("\r\n") to
// "SemiColon + Line Break" (";\r\n").
DelimiterTable txtDelimiters();

// The six wrappers of the HTML format, from "Line Break" ("..<br>") to "Table Rows "
// ("<tr><td>..</td></tr>"); ".." stands for the item.
DelimiterTable htmlWrappers();

// XML's one wrapper "<m>..</m>". Its names list is empty: the dialog keeps the names of the
// previous type and hides the list.
DelimiterTable xmlWrappers();

DelimiterTable delimitersFor(ExportType type);

// The Save As filter of a type, for example "text file(*.txt)|*.txt".
std::u16string saveDialogFilter(ExportType type);

}  // namespace lodestar
