// The library files, syntax table and command files the program ships: every line is read, the
// files keep the CR LF line ends the parsers need, every fragment compiles in the program's
// engine, and a few presets find what their descriptions promise.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>
#include <set>
#include <string>

#include "assistant/library.h"
#include "core/text.h"
#include "search/regexp.h"
#include "support/temp_dir.h"

namespace lodestar {
namespace {

const std::filesystem::path kSource = LODESTAR_SOURCE_DIR;

AssistantLibraries shippedLibraries() {
    return loadAssistantLibraries(fromUtf8(LODESTAR_SOURCE_DIR "/lib"));
}

std::vector<std::u16string> matchesOf(const std::u16string& pattern, std::u16string_view text) {
    RegExp re;
    re.setGlobal(true);
    re.setPattern(pattern);
    std::vector<std::u16string> values;
    for (const Match& m : re.execute(text)) values.push_back(m.value);
    return values;
}

std::size_t crlfLines(const std::string& bytes) {
    std::size_t count = 0;
    for (std::size_t at = bytes.find("\r\n"); at != std::string::npos;
         at = bytes.find("\r\n", at + 2)) {
        ++count;
    }
    return count;
}

TEST(ShippedFiles, AreAsciiWithCrLfLineEnds) {
    std::vector<std::filesystem::path> files = {
        "lib/metachar.lib", "lib/limit.lib",  "lib/repeat.lib",  "lib/regExp.lib",
        "lib/symbol.lib",   "lib/syntax.tbl", "lib/showHTM.rep", "lib/showSrc.rep"};
    for (const auto& entry : std::filesystem::directory_iterator(kSource / "rep")) {
        if (entry.path().extension() == ".rep") files.push_back(entry.path());
    }
    EXPECT_GT(files.size(), 9u) << "example command files in rep/";
    for (const auto& file : files) {
        const std::string bytes = testing::readBytes(kSource / file);
        ASSERT_FALSE(bytes.empty()) << file;
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            const unsigned char c = static_cast<unsigned char>(bytes[i]);
            ASSERT_TRUE(c < 0x80 && (c >= 0x20 || c == '\r' || c == '\n')) << file << " @" << i;
            if (c == '\n') {
                ASSERT_TRUE(i > 0 && bytes[i - 1] == '\r') << file << " @" << i;
            }
            if (c == '\r') {
                ASSERT_TRUE(i + 1 < bytes.size() && bytes[i + 1] == '\n') << file << " @" << i;
            }
        }
        if (file != "lib/symbol.lib") {
            EXPECT_TRUE(bytes.ends_with("\r\n")) << file;
        }
    }
}

TEST(ShippedLibraries, EveryLineBecomesAnEntry) {
    const AssistantLibraries libs = shippedLibraries();
    const std::pair<const char*, const std::vector<LibraryEntry>*> tables[] = {
        {"metachar.lib", &libs.metaChars},
        {"limit.lib", &libs.limits},
        {"repeat.lib", &libs.repeats},
        {"regExp.lib", &libs.presets}};
    for (const auto& [name, entries] : tables) {
        EXPECT_EQ(entries->size(), crlfLines(testing::readBytes(kSource / "lib" / name))) << name;
        for (const LibraryEntry& e : *entries) {
            const std::string what = std::string(name) + ": " + toUtf8(e.name);
            EXPECT_FALSE(e.fragment.empty()) << what;
            // Only headings go without a description; only a pair may start or end with its
            // space ("^ ", " $"); a pair needs its space to wrap a selection.
            EXPECT_EQ(e.name.starts_with(u'-'), e.description.empty()) << what;
            if (entries == &libs.limits) {
                EXPECT_NE(e.fragment.find(u' '), std::u16string::npos) << what;
            } else {
                EXPECT_EQ(e.fragment, trimSpaces(e.fragment)) << what;
            }
        }
    }
    EXPECT_GT(libs.presets.size(), 40u);
    EXPECT_EQ(std::u16string(libs.symbols.begin(), libs.symbols.end()), u"\\^$.|?*+()[]{}-/");
}

TEST(ShippedSyntaxTable, EveryLineNamesAnExistingRenderRulesFile) {
    const std::string bytes = testing::readBytes(kSource / "lib/syntax.tbl");
    std::set<std::string> keys;
    for (const std::u16string& line : splitText(fromUtf8(bytes), u"\r\n")) {
        if (line.empty()) continue;  // after the final line end
        const std::size_t colon = line.find(u':');
        ASSERT_NE(colon, std::u16string::npos) << toUtf8(line);
        const std::string key = toUtf8(line.substr(0, colon));
        EXPECT_TRUE(keys.insert(key).second) << "repeated key " << key;
        // Extensions are looked up lower-cased, so a key with a capital would never match.
        EXPECT_TRUE(std::none_of(key.begin(), key.end(), ::isupper)) << key;
        const std::string value = toUtf8(line.substr(colon + 1));
        ASSERT_TRUE(value.starts_with("/lib/")) << value;
        EXPECT_TRUE(std::filesystem::is_regular_file(kSource / value.substr(1))) << value;
    }
    EXPECT_TRUE(keys.count("htm") && keys.count("html") && keys.count("txt"));
}

TEST(ShippedPatterns, EveryFragmentCompiles) {
    const AssistantLibraries libs = shippedLibraries();
    std::vector<std::u16string> patterns;
    for (const LibraryEntry& e : libs.metaChars) patterns.push_back(e.fragment);
    for (const LibraryEntry& e : libs.repeats) patterns.push_back(u"a" + e.fragment);
    for (const LibraryEntry& e : libs.limits) {
        patterns.push_back(replacedAll(e.fragment, u" ", u"a"));
    }
    for (const LibraryEntry& e : libs.presets) {
        if (!e.name.starts_with(u'-')) patterns.push_back(e.fragment);
    }
    for (char16_t c : libs.symbols) patterns.push_back(std::u16string{u'\\', c});
    ASSERT_GT(patterns.size(), 100u);
    for (const std::u16string& p : patterns) {
        EXPECT_NO_THROW(matchesOf(p, u"sample text 12 <a href='x'>")) << toUtf8(p);
    }
}

TEST(ShippedPatterns, PresetsFindTheirExamples) {
    std::map<std::u16string, std::u16string> preset;
    for (const LibraryEntry& e : shippedLibraries().presets) preset[e.name] = e.fragment;
    using Values = std::vector<std::u16string>;
    EXPECT_EQ(matchesOf(preset[u"E-mail address"], u"to jane.doe+x@mail.example.co.uk, bob@x.org."),
              (Values{u"jane.doe+x@mail.example.co.uk", u"bob@x.org"}));
    EXPECT_EQ(matchesOf(preset[u"IPv4 address"], u"192.168.0.1 256.1.1.1 10.0.0.255"),
              (Values{u"192.168.0.1", u"10.0.0.255"}));
    EXPECT_EQ(matchesOf(preset[u"Date yyyy-mm-dd"], u"2024-03-31 2024-13-01"),
              (Values{u"2024-03-31"}));
    EXPECT_EQ(matchesOf(preset[u"HTML comment"], u"a<!-- x\r\n y -->b<!---->"),
              (Values{u"<!-- x\r\n y -->", u"<!---->"}));
    EXPECT_EQ(matchesOf(preset[u"Trailing spaces"], u"a  \r\nb\t\nc "),
              (Values{u"  ", u"\t", u" "}));
    EXPECT_EQ(matchesOf(preset[u"Duplicate word"], u"the the cat cat s"),
              (Values{u"the the", u"cat cat"}));
}

}  // namespace
}  // namespace lodestar
