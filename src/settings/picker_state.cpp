// Reading and writing the folder picker's remembered choices.
#include "settings/picker_state.h"

#include <charconv>
#include <filesystem>
#include <system_error>

#include "core/error.h"
#include "core/text.h"
#include "files/file_bytes.h"
#include "files/safe_write.h"

namespace lodestar {

namespace {

constexpr char kFirstLine[] = "# Lodestar folder picker\n";
constexpr std::size_t kLargestFile = 1u << 20;

void readLine(PickerState& s, std::string_view name, std::string_view value) {
    if (name == "type") {
        int n = 0;
        auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), n);
        if (error == std::errc() && end == value.data() + value.size() && n >= 0) s.type = n;
    } else if (name == "otherType") {
        s.otherType = unescapeLine(value);
    } else if (name == "subfolders") {
        if (value == "0" || value == "1") s.subfolders = value == "1";
    } else if (name == "exclude") {
        s.exclude = unescapeLine(value);
    } else if (name == "recentFolder") {
        if (!value.empty()) s.recentFolders.push_back(unescapeLine(value));
    }
}

}  // namespace

std::u16string pickerStatePath(const std::u16string& folder) {
    return folder + u"folder-picker";
}

std::string formatPickerState(const PickerState& s) {
    std::string out = kFirstLine;
    auto line = [&](const char* name, const std::string& value) {
        out += name;
        out += '=';
        out += value;
        out += '\n';
    };
    line("type", std::to_string(s.type));
    if (!s.otherType.empty()) line("otherType", escapeLine(s.otherType));
    line("subfolders", s.subfolders ? "1" : "0");
    if (!s.exclude.empty()) line("exclude", escapeLine(s.exclude));
    for (const std::u16string& f : s.recentFolders) line("recentFolder", escapeLine(f));
    return out;
}

PickerState parsePickerState(std::string_view bytes) {
    PickerState s;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string_view::npos) end = bytes.size();
        std::string_view line = bytes.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        const std::size_t equals = line.find('=');
        if (line.empty() || line.front() == '#' || equals == std::string_view::npos) continue;
        readLine(s, line.substr(0, equals), line.substr(equals + 1));
    }
    return s;
}

PickerState loadPickerState(const std::u16string& path) {
    std::error_code error;
    const auto size = std::filesystem::file_size(toUtf8(path), error);
    if (error || size > kLargestFile) return {};
    try {
        return parsePickerState(readFileBytes(path));
    } catch (const Error&) {
        return {};
    }
}

void savePickerState(const std::u16string& path, const PickerState& state) {
    const std::filesystem::path folder = std::filesystem::path(toUtf8(path)).parent_path();
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error)
        throw Error("Can't create the folder " + folder.string() + ": " + error.message() + ".");
    ReplaceRules rules;
    rules.followLinks = false;
    rules.newFileMode = 0600;
    replaceFileBytes(path, formatPickerState(state), rules);
}

}  // namespace lodestar
