// Every fragment the shipped libraries offer is a valid pattern of the program's engine, and a
// few presets find what their descriptions promise.
#include <gtest/gtest.h>

#include <map>

#include "assistant/library.h"
#include "core/text.h"
#include "search/regexp.h"

namespace lodestar {
namespace {

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
