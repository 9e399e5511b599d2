// Reading and writing the window's state file.
#include "settings/window_state.h"

#include <charconv>
#include <filesystem>
#include <system_error>

#include "core/error.h"
#include "core/text.h"
#include "settings/state_file.h"

namespace lodestar {

namespace {

constexpr char kFirstLine[] = "# Lodestar window state\n";
// A state file is a few kilobytes; anything far larger is not one and is not read.
constexpr std::size_t kLargestFile = 16u << 20;

// Comma-separated numbers; nullopt unless there are exactly `count` of them.
template <typename Number>
std::optional<std::vector<Number>> numbers(std::string_view value, std::size_t count) {
    std::vector<Number> out;
    const char* p = value.data();
    const char* end = p + value.size();
    while (out.size() < count) {
        Number n{};
        auto [next, error] = std::from_chars(p, end, n);
        if (error != std::errc()) return std::nullopt;
        out.push_back(n);
        p = next;
        if (p == end) break;
        if (*p++ != ',') return std::nullopt;
    }
    if (p != end || out.size() != count) return std::nullopt;
    return out;
}

std::optional<bool> flag(std::string_view value) {
    if (value == "1") return true;
    if (value == "0") return false;
    return std::nullopt;
}

std::optional<double> share(double value) {
    if (!(value > 0.0 && value < 1.0)) return std::nullopt;  // also refuses NaN
    return value;
}

std::string shareText(const std::optional<double>& value) {
    return value ? std::to_string(*value) : std::string("-");
}

void readLine(WindowState& s, std::string_view name, std::string_view value) {
    if (name == "frame") {
        if (auto n = numbers<int>(value, 4); n && (*n)[2] > 0 && (*n)[3] > 0)
            s.frame =
                WindowFrame{(*n)[0], (*n)[1], (*n)[2], (*n)[3], s.frame && s.frame->maximized};
    } else if (name == "maximized") {
        if (auto on = flag(value); on && s.frame) s.frame->maximized = *on;
    } else if (name == "split") {
        // "-" keeps a splitter the user never moved at its designed place.
        std::vector<std::optional<double>> parts;
        std::size_t start = 0;
        for (int i = 0; i < 3; ++i) {
            const std::size_t comma = value.find(',', start);
            const std::string_view part = value.substr(start, comma - start);
            auto n = numbers<double>(part, 1);
            parts.push_back(n ? share((*n)[0]) : std::nullopt);
            if (comma == std::string_view::npos) break;
            start = comma + 1;
        }
        if (parts.size() != 3) return;
        s.leftShare = parts[0];
        s.listShare = parts[1];
        s.sourceShare = parts[2];
    } else if (name == "ignoreCase") {
        s.ignoreCase = flag(value);
    } else if (name == "global") {
        s.global = flag(value);
    } else if (name == "dotAll") {
        s.dotAll = flag(value);
    } else if (name == "multiline") {
        s.multiline = flag(value);
    } else if (name == "openFolder") {
        s.openFolder = unescapeLine(value);
    } else if (name == "pickerFolder") {
        s.pickerFolder = unescapeLine(value);
    } else if (name == "pattern") {
        if (!value.empty()) s.patterns.push_back(unescapeLine(value));
    } else if (name == "recent") {
        if (!value.empty()) s.recentFiles.push_back(unescapeLine(value));
    } else if (name == "recentFolder") {
        if (!value.empty()) s.recentFolders.push_back(unescapeLine(value));
    } else if (name == "lastPattern") {
        s.lastPattern = unescapeLine(value);
    } else if (name == "matchList") {
        s.matchList = flag(value);
    } else if (name == "invisible") {
        s.invisible = flag(value);
    } else if (name == "wordWrap") {
        s.wordWrap = flag(value);
    }
}

}  // namespace

std::u16string windowStatePath(const std::u16string& folder) {
    return folder + u"window-state";
}

std::string formatWindowState(const WindowState& s) {
    std::string out = kFirstLine;
    auto line = [&](const char* name, const std::string& value) {
        out += name;
        out += '=';
        out += value;
        out += '\n';
    };
    if (s.frame) {
        const WindowFrame& f = *s.frame;
        line("frame", std::to_string(f.x) + ',' + std::to_string(f.y) + ',' +
                          std::to_string(f.width) + ',' + std::to_string(f.height));
        line("maximized", f.maximized ? "1" : "0");
    }
    if (s.leftShare || s.listShare || s.sourceShare)
        line("split", shareText(s.leftShare) + ',' + shareText(s.listShare) + ',' +
                          shareText(s.sourceShare));
    const std::pair<const char*, const std::optional<bool>*> switches[] = {
        {"ignoreCase", &s.ignoreCase}, {"global", &s.global},       {"dotAll", &s.dotAll},
        {"multiline", &s.multiline},   {"matchList", &s.matchList}, {"invisible", &s.invisible},
        {"wordWrap", &s.wordWrap}};
    for (const auto& [name, value] : switches)
        if (*value) line(name, **value ? "1" : "0");
    if (!s.openFolder.empty()) line("openFolder", escapeLine(s.openFolder));
    if (!s.pickerFolder.empty()) line("pickerFolder", escapeLine(s.pickerFolder));
    for (const std::u16string& p : s.patterns) line("pattern", escapeLine(p));
    for (const std::u16string& r : s.recentFiles) line("recent", escapeLine(r));
    for (const std::u16string& r : s.recentFolders) line("recentFolder", escapeLine(r));
    if (s.lastPattern) line("lastPattern", escapeLine(*s.lastPattern));
    return out;
}

WindowState parseWindowState(std::string_view bytes) {
    WindowState s;
    forEachStateLine(
        bytes, [&](std::string_view name, std::string_view value) { readLine(s, name, value); });
    return s;
}

WindowState loadWindowState(const std::u16string& path) {
    const std::optional<std::string> bytes = readStateFile(path, kLargestFile);
    return bytes ? parseWindowState(*bytes) : WindowState{};
}

void saveWindowState(const std::u16string& path, const WindowState& state) {
    writeStateFile(path, formatWindowState(state));
}

}  // namespace lodestar
