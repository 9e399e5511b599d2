// The export format of `extract`: the type and the delimiter (or HTML wrapper) as the export
// dialog would have them, from --format and --delimiter.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace lodestar::cli {

using ExportFormatter = std::function<std::u16string(const std::vector<std::u16string>&)>;

// `format` is "txt", "html" or "xml". `delimiter` is a text as typed into the dialog's box
// (backslash-r and backslash-n stand for CR and LF in TXT; ".." stands for the item in an HTML
// wrapper) or the name of a list entry ("Comma", "Unordered List"); without it the first
// entry of the type's list is used, as the dialog preselects it.
ExportFormatter exportFormatter(const std::string& format,
                                const std::optional<std::string>& delimiter);

}  // namespace lodestar::cli
