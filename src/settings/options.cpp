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

void takeTruth(const std::u16string& line, bool& target) {
    if (std::optional<bool> value = parseTruthValue(line)) target = *value;
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

void defaultOptions(Options& options) {
    options.backupOnReplace = true;
    options.backupFolder = u"bak";
    options.escapeSupport = true;
    options.sourceFontIndex = 0;
    options.showSyntax = true;
    options.noCountOnReplace = false;
}

std::u16string backupFolderName(std::u16string_view text) {
    return trimSpaces(text);
}

bool loadOptions(const std::u16string& path, Options& options) {
    if (!fileExists(path)) return false;
    const std::vector<std::u16string> lines = splitText(ReadTextFile(path), u"\r\n");
    if (lines.size() < kFewestElements) return false;

    takeTruth(lines[0], options.backupOnReplace);
    options.backupFolder = backupFolderName(lines[1]);
    takeTruth(lines[2], options.escapeSupport);
    if (std::optional<std::uint8_t> index = parseByte(lines[3])) {
        // fontList() has no entry past 7; a hand-edited larger index falls back to the first.
        options.sourceFontIndex = *index <= kLastFontIndex ? *index : 0;
    }
    takeTruth(lines[4], options.showSyntax);
    if (lines.size() > 5) takeTruth(lines[5], options.noCountOnReplace);
    // The file says whether to count; the setting says whether not to.
    options.noCountOnReplace = !options.noCountOnReplace;
    // The pattern box takes neither an empty font name nor a size that is not positive.
    if (lines.size() > 6 && !lines[6].empty()) options.patternFontName = lines[6];
    if (lines.size() > 7) {
        std::optional<float> size = parseSingle(lines[7]);
        if (size && *size > 0) options.patternFontSize = *size;
    }
    return true;
}

Options startupOptions(const std::u16string& path) {
    Options options;
    try {
        if (loadOptions(path, options)) return options;
    } catch (const FileError&) {
        // An options file that exists but cannot be read must not stop the program's start.
        options = Options();
    }
    defaultOptions(options);
    return options;
}

std::u16string optionLines(const Options& options, bool syntaxChecked, bool countChecked) {
    return joinText(
        {
            truthWord(options.backupOnReplace),
            options.backupFolder,
            truthWord(options.escapeSupport),
            decimal(options.sourceFontIndex),
            syntaxChecked ? u"1" : u"0",
            countChecked ? u"1" : u"0",
            options.patternFontName,
            formatSingle(options.patternFontSize),
        },
        u"\r\n");
}

void saveOptions(const std::u16string& path, const Options& options, bool syntaxChecked,
                 bool countChecked) {
    PrintTextFile(path, optionLines(options, syntaxChecked, countChecked));
}

}  // namespace lodestar
