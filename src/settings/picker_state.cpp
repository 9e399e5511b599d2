// Reading and writing the folder picker's remembered choices.
#include "settings/picker_state.h"

#include <charconv>
#include <filesystem>
#include <system_error>

#include "core/error.h"
#include "core/text.h"
#include "settings/state_file.h"

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
    forEachStateLine(
        bytes, [&](std::string_view name, std::string_view value) { readLine(s, name, value); });
    return s;
}

PickerState loadPickerState(const std::u16string& path) {
    const std::optional<std::string> bytes = readStateFile(path, kLargestFile);
    return bytes ? parsePickerState(*bytes) : PickerState{};
}

void savePickerState(const std::u16string& path, const PickerState& state) {
    writeStateFile(path, formatPickerState(state));
}

}  // namespace lodestar
