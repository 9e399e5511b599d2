// The user's preferences and the options file that keeps them: eight CR LF-separated lines in
// the program folder, read at start-up and written when the options dialog is confirmed.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lodestar {

// A fresh Options holds the zero value of each setting (what a line that cannot be read leaves
// behind) and the pattern box's designed font; `defaultOptions` gives the settings' defaults.
struct Options {
    bool backupOnReplace = false;  // back up a file before a replace changes it
    std::u16string backupFolder;   // name of the backup folder under the chosen folder
    bool escapeSupport = false;    // "\r", "\n", "\t" in the replacement stand for CR, LF, TAB
    // The source view's font family; empty: the desktop's fixed-pitch font.
    std::u16string sourceFont;
    bool showSyntax = false;        // highlight markup in the source view
    bool noCountOnReplace = false;  // multi-file replace does not count matches
    // How many steps the history of each file and folder keeps for Restore (1 to 99). Never
    // zero: a file written before this line existed keeps the default.
    std::uint8_t keptSteps = 10;
    // Font of the pattern box (always bold).
    std::u16string patternFontName = u"Courier New";
    float patternFontSize = 11.25f;
};

// The eight font names older options files give by number, 0 to 7.
const std::vector<std::u16string>& fontList();

// The family the source view shows: the chosen one, else "monospace".
std::u16string sourceFontFamily(const Options& options);

// Backup on, folder "bak", escapes on, the fixed-pitch font, syntax on, counting on, 10 steps
// kept. The
// pattern box font is left as it is.
void defaultOptions(Options& options);

// The backup folder name as the settings keep it, wherever it comes from (the options file,
// the options dialog, the command line): surrounding spaces removed.
std::u16string backupFolderName(std::u16string_view text);

// Reads the options file into `options`. Lines end in CR LF or in LF alone. False, with nothing
// changed, when the file does not exist or holds fewer than five elements. Otherwise every line
// that can be converted is taken and one that cannot leaves its setting unchanged and is named
// in `ignored` (when given); line 6 says whether to count and is stored negated, so a missing
// line 6 turns counting off. Line 9, the steps kept, may be missing (files written before it).
// Line 4 names the source font; a number there (older files) is one of fontList(), one above 7
// the fixed-pitch font. Throws FileError when the file exists but cannot be read.
bool loadOptions(const std::u16string& path, Options& options,
                 std::vector<std::u16string>* ignored = nullptr);
// The same for the file's text.
bool parseOptionText(const std::u16string& text, Options& options,
                     std::vector<std::u16string>* ignored = nullptr);

// Start-up: the defaults with what the file says on top, so a line that cannot be read keeps
// its default (named in `ignored`); just the defaults when the file is missing, too short or
// cannot be read.
Options startupOptions(const std::u16string& path, std::vector<std::u16string>* ignored = nullptr);

// The file's nine lines joined with CR LF (no final CR LF). Lines 5 and 6 are the options
// dialog's "show syntax" and "count matches" check boxes.
std::u16string optionLines(const Options& options, bool syntaxChecked, bool countChecked);
// Writes optionLines with PrintTextFile (which ends the file with one CR LF). Throws FileError.
void saveOptions(const std::u16string& path, const Options& options, bool syntaxChecked,
                 bool countChecked);

}  // namespace lodestar
