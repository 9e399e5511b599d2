// The options file: which lines are taken, the defaults, and the save/load round trip.
#include "settings/options.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_dir.h"
#include "support/without_root.h"

namespace lodestar {
namespace {

// The first eight values of the options, as the file would hold them (the ninth, the steps
// kept, has a test of its own).
std::u16string all(const Options& o) {
    const std::u16string lines = optionLines(o, o.showSyntax, !o.noCountOnReplace);
    return lines.substr(0, lines.rfind(u"\r\n"));
}

class OptionsFile : public ::testing::Test {
  protected:
    // Loads a file of these bytes into `options` (a fresh Options unless given).
    bool load(const std::string& bytes, Options start = Options()) {
        options = start;
        return loadOptions(dir.put("lodestar.opt", bytes), options);
    }
    testing::TempDir dir;
    Options options;
};

TEST_F(OptionsFile, WithoutAFileTheDefaultsApplyAndTheFontIsAsDesigned) {
    Options untouched;
    untouched.backupFolder = u"mine";
    Options loaded = untouched;
    EXPECT_FALSE(loadOptions(dir.file("lodestar.opt"), loaded));
    EXPECT_EQ(all(loaded), all(untouched));
    EXPECT_EQ(all(startupOptions(dir.file("lodestar.opt"))),
              u"True\r\nbak\r\nTrue\r\n0\r\n1\r\n1\r\nCourier New\r\n11.25");
}

TEST_F(OptionsFile, AnUnreadableFileGivesTheDefaultsAtStartUp) {
    const std::u16string path = dir.put("lodestar.opt", "False\r\nx\r\nFalse\r\n1\r\n0\r\n0");
    std::filesystem::permissions(dir.path() / "lodestar.opt", std::filesystem::perms::none);
    int outcome = testing::exitCodeWithoutRoot(
        [&] { return all(startupOptions(path)) == all(startupOptions(dir.file("none"))) ? 0 : 1; });
    if (outcome == testing::kCannotDropRoot) GTEST_SKIP() << "cannot give up root here";
    EXPECT_EQ(outcome, 0);
}

TEST_F(OptionsFile, FiveElementsAreTakenAndAMissingSixthLineTurnsCountingOff) {
    for (const char* bytes :
         {"False\r\nold\r\nTrue\r\n3\r\n1", "False\r\nold\r\nTrue\r\n3\r\n1\r\n"}) {
        ASSERT_TRUE(load(bytes)) << bytes;
        EXPECT_EQ(all(options), u"False\r\nold\r\nTrue\r\n3\r\n1\r\n0\r\nCourier New\r\n11.25");
    }
    // Four lines: ignored, unless a final CR LF makes a fifth (empty) element. Then line 5 is
    // no truth value and keeps the zero value: the defaults do not run.
    Options before;
    before.backupFolder = u"kept";
    EXPECT_FALSE(load("True\r\nbak\r\nTrue\r\n0", before));
    EXPECT_EQ(all(options), all(before));
    ASSERT_TRUE(load("True\r\nbak\r\nTrue\r\n2\r\n"));
    EXPECT_EQ(all(options), u"True\r\nbak\r\nTrue\r\n2\r\n0\r\n0\r\nCourier New\r\n11.25");
}

TEST_F(OptionsFile, TruthValuesAreWordsInAnyCaseOrNumbers) {
    for (const char* yes : {"True", " TRUE ", "1", "-1", "2"}) {
        ASSERT_TRUE(load(std::string("x\r\nb\r\n") + yes + "\r\n0\r\n" + yes + "\r\n0"));
        EXPECT_TRUE(options.escapeSupport && options.showSyntax) << yes;
        EXPECT_TRUE(options.noCountOnReplace);  // line 6 "0": do not count
    }
    for (const char* unreadable : {"yes", "", "1,5"}) {
        Options before;
        before.escapeSupport = true;
        ASSERT_TRUE(load(std::string("x\r\nb\r\n") + unreadable + "\r\n0\r\n0\r\n1", before));
        EXPECT_TRUE(options.escapeSupport) << '"' << unreadable << '"';
        EXPECT_FALSE(options.noCountOnReplace);  // line 6 "1": count
    }
    ASSERT_TRUE(load("false\r\nb\r\nFALSE\r\n0\r\n0\r\n1"));
    EXPECT_FALSE(options.backupOnReplace || options.escapeSupport);
}

TEST_F(OptionsFile, FontIndexAndSizeTakeOnlyUsableValues) {
    Options start;
    start.sourceFontIndex = 5;
    auto font = [&](const std::string& index, const std::string& size) {
        load("True\r\nbak\r\nTrue\r\n" + index + "\r\n1\r\n1\r\nArial\r\n" + size, start);
        return std::to_string(options.sourceFontIndex) + " " +
               std::to_string(options.patternFontSize);
    };
    EXPECT_EQ(font("7", "9.75"), "7 9.750000");
    EXPECT_EQ(options.patternFontName, u"Arial");
    EXPECT_EQ(font("8", "12"), "0 12.000000");       // past the font list: the first font
    EXPECT_EQ(font("2.5", "+14.5"), "2 14.500000");  // halves round to even
    for (const char* bad : {"256", "-1", "x", ""}) EXPECT_EQ(font(bad, "11,25"), "5 11.250000");
    EXPECT_EQ(font("1", "0"), "1 11.250000");
    EXPECT_EQ(font("1", "nan"), "1 11.250000");
}

TEST_F(OptionsFile, AtStartUpALineThatCannotBeReadKeepsItsDefaultAndIsNamed) {
    // Backups stay on, the counting line keeps counting on; the others are taken.
    dir.put("lodestar.opt", "Yes\r\nold\r\nFalse\r\n2\r\n0\r\nmaybe\r\nArial\r\n12");
    std::vector<std::u16string> ignored;
    const Options started = startupOptions(dir.file("lodestar.opt"), &ignored);
    EXPECT_EQ(all(started), u"True\r\nold\r\nFalse\r\n2\r\n0\r\n1\r\nArial\r\n12");
    EXPECT_EQ(ignored, (std::vector<std::u16string>{
                           u"Line 1 of the options file (\"Yes\") was ignored: it is not a truth "
                           u"value.",
                           u"Line 6 of the options file (\"maybe\") was ignored: it is not a "
                           u"truth value."}));
}

TEST_F(OptionsFile, LineFeedsAloneEndLinesToo) {
    ASSERT_TRUE(load("False\nold\nTrue\n3\n1\n0\nArial\n9.75\n"));
    EXPECT_EQ(all(options), u"False\r\nold\r\nTrue\r\n3\r\n1\r\n0\r\nArial\r\n9.75");
}

TEST_F(OptionsFile, TheStepsKeptAreANinthLineThatMayBeMissingOrWrong) {
    const struct {
        const char* line;  // the ninth line, if any
        int steps;
        bool noted;
    } rows[] = {{nullptr, 10, false}, {"3", 3, false},   {"99", 99, false},
                {"0", 10, true},      {"100", 10, true}, {"many", 10, true}};
    for (const auto& row : rows) {
        std::string text = "True\r\nbak\r\nTrue\r\n0\r\n1\r\n1\r\nVerdana\r\n11";
        if (row.line) text += std::string("\r\n") + row.line;
        dir.put("lodestar.opt", text);
        std::vector<std::u16string> ignored;
        const Options o = startupOptions(dir.file("lodestar.opt"), &ignored);
        EXPECT_EQ(o.keptSteps, row.steps) << (row.line ? row.line : "none");
        EXPECT_EQ(!ignored.empty(), row.noted) << (row.line ? row.line : "none");
    }
}

TEST_F(OptionsFile, SaveWritesNineLinesAndLoadRestoresEveryValue) {
    Options chosen;
    defaultOptions(chosen);
    chosen.patternFontName = u"Verdana";
    chosen.patternFontSize = 11;
    saveOptions(dir.file("lodestar.opt"), chosen, true, true);
    EXPECT_EQ(dir.bytes("lodestar.opt"),
              "True\r\nbak\r\nTrue\r\n0\r\n1\r\n1\r\nVerdana\r\n11\r\n10\r\n");

    Options saved;
    saved.backupFolder = u"backup copies";
    saved.sourceFontIndex = 6;
    saved.noCountOnReplace = true;
    for (float size : {9.75f, 12.0f, 10.1f, 0.3f, 1234.5f}) {
        saved.patternFontSize = size;
        saveOptions(dir.file("lodestar.opt"), saved, saved.showSyntax, !saved.noCountOnReplace);
        Options loaded;
        ASSERT_TRUE(loadOptions(dir.file("lodestar.opt"), loaded));
        EXPECT_EQ(all(loaded), all(saved));
        EXPECT_EQ(loaded.patternFontSize, size);
    }
    EXPECT_TRUE(all(saved).ends_with(u"\r\n1234.5"));
    EXPECT_EQ(fontList().size(), 8u);
    EXPECT_EQ(fontList()[3], u"Times New Roman");
}

}  // namespace
}  // namespace lodestar
