// Parsing and loading of the assistant's library files.
#include "assistant/library.h"

#include <optional>

#include "core/error.h"
#include "files/text_file.h"

namespace lodestar {

namespace {

constexpr std::u16string_view kSeparator = u", ";

// One line without its CR LF. Each field needs at least one character before the separator
// that ends it, which is why the searches start one place after the field's start.
std::optional<LibraryEntry> parseEntryLine(std::u16string_view line, bool metacharOrder) {
    const std::size_t first = line.find(kSeparator, 1);
    if (first == std::u16string_view::npos) return std::nullopt;
    const std::size_t secondStart = first + kSeparator.size();
    const std::size_t second = line.find(kSeparator, secondStart + 1);
    if (second == std::u16string_view::npos) return std::nullopt;

    std::u16string a(line.substr(0, first));
    std::u16string b(line.substr(secondStart, second - secondStart));
    std::u16string description(line.substr(second + kSeparator.size()));
    if (metacharOrder) {
        if (description.empty()) return std::nullopt;
        return LibraryEntry{std::move(b), std::move(a), std::move(description)};
    }
    return LibraryEntry{std::move(a), std::move(b), std::move(description)};
}

std::u16string loadOrEmpty(const std::u16string& path) {
    try {
        return LoadFileText(path);
    } catch (const Error&) {
        return {};
    }
}

}  // namespace

std::vector<LibraryEntry> parseEntryLibrary(std::u16string_view text, bool metacharOrder) {
    std::vector<LibraryEntry> entries;
    std::size_t lineStart = 0;
    for (;;) {
        const std::size_t lf = text.find(u'\n', lineStart);
        if (lf == std::u16string_view::npos) break;
        // Only a line ending in CR LF can hold an entry; a bare LF ends a line that is skipped.
        if (lf > lineStart && text[lf - 1] == u'\r') {
            auto entry = parseEntryLine(text.substr(lineStart, lf - 1 - lineStart), metacharOrder);
            if (entry) entries.push_back(std::move(*entry));
        }
        lineStart = lf + 1;
    }
    return entries;
}

std::vector<char16_t> parseSymbolLibrary(std::u16string_view text) {
    return std::vector<char16_t>(text.begin(), text.end());
}

AssistantLibraries loadAssistantLibraries(const std::u16string& libFolder) {
    std::u16string folder = libFolder;
    if (!folder.empty() && folder.back() != u'/') folder += u'/';

    AssistantLibraries libraries;
    libraries.metaChars = parseEntryLibrary(loadOrEmpty(folder + u"metachar.lib"), true);
    libraries.limits = parseEntryLibrary(loadOrEmpty(folder + u"limit.lib"), false);
    libraries.repeats = parseEntryLibrary(loadOrEmpty(folder + u"repeat.lib"), false);
    libraries.presets = parseEntryLibrary(loadOrEmpty(folder + u"regExp.lib"), false);
    libraries.symbols = parseSymbolLibrary(loadOrEmpty(folder + u"symbol.lib"));
    return libraries;
}

}  // namespace lodestar
