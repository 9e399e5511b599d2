// The assistant's library files: four tables of named fragments with descriptions and one list
// of reserved symbols, read from the program's lib folder when the assistant first opens.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lodestar {

struct LibraryEntry {
    std::u16string name;         // shown in the drop-down list
    std::u16string fragment;     // inserted, or wrapped around the selection
    std::u16string description;  // shown when the entry is picked; may be empty

    bool operator==(const LibraryEntry&) const = default;
};

// Reads every entry of an entry library, in file order. An entry is one line ending in CR LF
// holding three fields separated by ", ": the first field runs to the first ", " after its first
// character, the second to the next ", " after its first character, and the third is the rest
// of the line (it may itself hold ", "). Lines that do not fit (fewer than two separators, an
// empty first or second field, no CR LF at the end) are skipped. A carriage return that is not
// followed by a line feed is an ordinary character of a field.
//
// With `metacharOrder` the fields are fragment, name, description (the order of metachar.lib)
// and the description must not be empty; otherwise they are name, fragment, description.
std::vector<LibraryEntry> parseEntryLibrary(std::u16string_view text, bool metacharOrder);

// Every character of the text is one symbol, in order.
std::vector<char16_t> parseSymbolLibrary(std::u16string_view text);

struct AssistantLibraries {
    std::vector<LibraryEntry> metaChars;  // metachar.lib
    std::vector<LibraryEntry> limits;     // limit.lib: fragment is a pair such as "( )"
    std::vector<LibraryEntry> repeats;    // repeat.lib: fragment is a quantifier
    std::vector<LibraryEntry> presets;    // regExp.lib: names beginning with "-" are headings
    std::vector<char16_t> symbols;        // symbol.lib
};

// Reads the five library files from the folder (with or without a trailing "/"). A file that is
// missing or cannot be read gives an empty list, so the assistant still opens.
AssistantLibraries loadAssistantLibraries(const std::u16string& libFolder);

}  // namespace lodestar
