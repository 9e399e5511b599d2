// Loading and saving the options file. The loader keeps the old program's reading rules,
// because existing files rely on them: each line is taken on its own and a line that cannot be
// converted is skipped, and the "count matches" line is negated as a separate step.
#include "settings/options.h"

#include "core/text.h"
#include "files/paths.h"
#include "files/text_file.h"
#include "settings/option_values.h"

namespace lodestar {
namespace {

constexpr std::size_t kFewestElements = 5;
constexpr std::uint8_t kLastFontIndex = 7;
constexpr std::uint8_t kMostKeptSteps = 99;

// Records a line that could not be read, as "Line 1 of the options file ("Yes") was ignored:
// it is not a truth value."
void noteIgnored(std::vector<std::u16string>* ignored, std::size_t index,
                 const std::u16string& line, std::u16string_view expected) {
    if (!ignored) return;
    ignored->push_back(u"Line " + decimal(static_cast<long long>(index + 1)) +
                       u" of the options file (\"" + line + u"\") was ignored: it is not " +
                       std::u16string(expected) + u".");
}

// A font name never holds a line break or another control character: the options file keeps
// one value a line, and no installed font is named so.
bool hasControlCharacter(const std::u16string& text) {
    for (char16_t c : text)
        if (c < u' ' || c == u'\x7F') return true;
    return false;
}

void takeTruth(const std::vector<std::u16string>& lines, std::size_t index, bool& target,
               std::vector<std::u16string>* ignored) {
    if (std::optional<bool> value = parseTruthValue(lines[index]))
        target = *value;
    else
        noteIgnored(ignored, index, lines[index], u"a truth value");
}

// The lines of the file, whether they end in CR LF (as the program writes them) or in LF alone.
std::vector<std::u16string> linesOf(const std::u16string& text) {
    std::vector<std::u16string> lines = splitText(text, u"\n");
    for (std::u16string& line : lines)
        if (line.ends_with(u'\r')) line.pop_back();
    return lines;
}

std::u16string truthWord(bool value) {
    return value ? u"True" : u"False";
}

}  // namespace

const std::vector<std::u16string>& fontList() {
    static const std::vector<std::u16string> names = {
        u"Courier New", u"Tahoma",  u"Verdana",  u"Times New Roman",
        u"Arial",       u"Georgia", u"Fixedsys", u"System",
    };
    return names;
}

std::u16string sourceFontFamily(const Options& options) {
    return options.sourceFont.empty() ? u"monospace" : options.sourceFont;
}

void defaultOptions(Options& options) {
    options.backupOnReplace = true;
    options.backupFolder = u"bak";
    options.escapeSupport = true;
    options.sourceFont.clear();
    options.showSyntax = true;
    options.noCountOnReplace = false;
    options.keptSteps = 10;
}

std::u16string backupFolderName(std::u16string_view text) {
    return trimSpaces(text);
}

bool loadOptions(const std::u16string& path, Options& options,
                 std::vector<std::u16string>* ignored) {
    return fileExists(path) && parseOptionText(LoadFileText(path), options, ignored);
}

bool parseOptionText(const std::u16string& text, Options& options,
                     std::vector<std::u16string>* ignored) {
    const std::vector<std::u16string> lines = linesOf(text);
    if (lines.size() < kFewestElements) return false;

    takeTruth(lines, 0, options.backupOnReplace, ignored);
    options.backupFolder = backupFolderName(lines[1]);
    takeTruth(lines, 2, options.escapeSupport, ignored);
    if (std::optional<std::uint8_t> index = parseByte(lines[3])) {
        // An older file numbers one of eight fonts; a larger number means none of them.
        options.sourceFont = *index <= kLastFontIndex ? fontList()[*index] : u"";
    } else if (std::u16string name = trimSpaces(lines[3]); !hasControlCharacter(name)) {
        options.sourceFont = std::move(name);
    } else {
        noteIgnored(ignored, 3, lines[3], u"a font name");
    }
    takeTruth(lines, 4, options.showSyntax, ignored);
    // The file says whether to count; the setting says whether not to. A file of five lines
    // (or an empty sixth) turns counting off, as it always has.
    bool count = false;
    if (lines.size() > 5 && !lines[5].empty()) {
        count = !options.noCountOnReplace;
        takeTruth(lines, 5, count, ignored);
    }
    options.noCountOnReplace = !count;
    // The pattern box takes neither an empty font name nor a size that is not positive.
    if (lines.size() > 6 && !lines[6].empty() && !hasControlCharacter(lines[6]))
        options.patternFontName = lines[6];
    if (lines.size() > 7 && !lines[7].empty()) {
        std::optional<float> size = parseSingle(lines[7]);
        if (size && *size > 0)
            options.patternFontSize = *size;
        else
            noteIgnored(ignored, 7, lines[7], u"a font size");
    }
    if (lines.size() > 8 && !lines[8].empty()) {
        const std::optional<std::uint8_t> steps = parseByte(lines[8]);
        if (steps && *steps >= 1 && *steps <= kMostKeptSteps)
            options.keptSteps = *steps;
        else
            noteIgnored(ignored, 8, lines[8], u"a number of steps from 1 to 99");
    }
    return true;
}

Options startupOptions(const std::u16string& path, std::vector<std::u16string>* ignored) {
    // A line that cannot be read keeps the setting's default (backups stay on).
    Options options;
    defaultOptions(options);
    try {
        if (loadOptions(path, options, ignored)) return options;
    } catch (const FileError&) {
        // An options file that exists but cannot be read must not stop the program's start.
    }
    options = Options();
    defaultOptions(options);
    return options;
}

std::u16string optionLines(const Options& options, bool syntaxChecked, bool countChecked) {
    return joinText(
        {
            truthWord(options.backupOnReplace),
            options.backupFolder,
            truthWord(options.escapeSupport),
            options.sourceFont,
            syntaxChecked ? u"1" : u"0",
            countChecked ? u"1" : u"0",
            options.patternFontName,
            formatSingle(options.patternFontSize),
            decimal(options.keptSteps),
        },
        u"\r\n");
}

void saveOptions(const std::u16string& path, const Options& options, bool syntaxChecked,
                 bool countChecked) {
    PrintTextFile(path, optionLines(options, syntaxChecked, countChecked));
}

}  // namespace lodestar
