// Windows-1252 both ways: every byte round-trips, and what the code page cannot hold is named.
#include "files/codepage.h"

#include <gtest/gtest.h>

namespace lodestar {
namespace {

std::string encodeFailure(std::u16string_view text) {
    try {
        encodeWindows1252(text);
    } catch (const FileError& error) {
        return error.what();
    }
    return "no error";
}

TEST(Codepage, EveryByteRoundTripsAndTheUpperRangeMapsAsTheCodePageSays) {
    std::string bytes;
    for (int b = 0; b < 256; ++b) bytes.push_back(static_cast<char>(b));
    const std::u16string text = decodeWindows1252(bytes);
    ASSERT_EQ(text.size(), 256u);
    EXPECT_EQ(encodeWindows1252(text), bytes);
    EXPECT_EQ(text.substr(0x7F, 4), u"\u007F\u20AC\u0081\u201A");
    EXPECT_EQ(text.substr(0x9C, 5), u"\u0153\u009D\u017E\u0178\u00A0");
    for (char16_t undefined : {0x81, 0x8D, 0x8F, 0x90, 0x9D}) EXPECT_EQ(text[undefined], undefined);
}

TEST(Codepage, RefusesACharacterOutsideTheCodePageByName) {
    EXPECT_EQ(encodeFailure(u"ab\u4E2Dc"),
              "The text holds a character (U+4E2D) that cannot be saved in the Windows-1252 code "
              "page.");
    // A C1 control the code page gives another meaning, a character beyond the first plane
    // (named whole, not by its surrogates), a lone surrogate.
    EXPECT_NE(encodeFailure(u"\u0080").find("(U+0080)"), std::string::npos);
    EXPECT_NE(encodeFailure(u"\u20ACx\U0001F600").find("(U+1F600)"), std::string::npos);
    EXPECT_NE(encodeFailure(std::u16string(1, char16_t(0xD800))).find("(U+D800)"),
              std::string::npos);
}

}  // namespace
}  // namespace lodestar
