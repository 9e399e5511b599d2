// A file's text both ways: its encoding found, decoded in any pieces, written back byte for byte.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <utility>
#include <vector>

#include "files/block_text_read.h"
#include "files/byte_scan.h"
#include "files/codepage.h"
#include "files/file_error.h"
#include "files/text_decoder.h"
#include "files/text_encoding.h"
#include "files/user_folders.h"
#include "support/temp_dir.h"

namespace lodestar {
namespace {

using E = TextEncoding;

struct Row {
    const char* name;
    std::string bytes;
    E encoding;
    bool mark = false;
    bool binary = false;
    std::optional<std::u16string> text = std::nullopt;  // when the row names the text exactly
};

std::string operator""_b(const char* bytes, std::size_t size) {
    return std::string(bytes, size);
}

const std::string kAscii300(300, 'x');

// The plain files of each encoding are read and written back by the command-line tests.
std::vector<Row> detectionTable() {
    return {
        {"empty", ""_b, E::Utf8, false, false, u""},
        {"ascii with CR LF", "abc\r\nd\r\n"_b, E::Utf8, false, false, u"abc\r\nd\r\n"},
        {"utf-8 four bytes", "\xF0\x9F\x98\x80"_b, E::Utf8, false, false, u"\U0001F600"},
        {"utf-8 across a block", kAscii300.substr(0, 255) + "\xE4\xB8\xAD", E::Utf8},
        {"utf-8 mark", "\xEF\xBB\xBFhi\n"_b, E::Utf8, true, false, u"hi\n"},
        {"utf-8 mark alone", "\xEF\xBB\xBF"_b, E::Utf8, true, false, u""},
        {"utf-16 le lone surrogates", "\xFF\xFE\x00\xD8\x61\x00\x00\xDC"_b, E::Utf16LE, true, false,
         std::u16string{0xD800, u'a', 0xDC00}},
        {"utf-16 be odd last byte", "\xFE\xFF\0h\x41"_b, E::Utf16BE, true, false, u"h"},
        {"utf-16 mark alone", "\xFF\xFE"_b, E::Utf16LE, true, false, u""},
        {"undefined bytes", "\x81\x8D\x8F\x90\x9D"_b, E::Windows1252, false, false,
         u"\u0081\u008D\u008F\u0090\u009D"},
        {"overlong two bytes", "a\xC0\x80"_b, E::Windows1252},
        {"overlong three bytes", "\xE0\x80\xAF"_b, E::Windows1252},
        {"encoded surrogate", "\xED\xA0\x80"_b, E::Windows1252},
        {"beyond U+10FFFF", "\xF4\x90\x80\x80"_b, E::Windows1252},
        {"lone continuation byte", "a\x80z"_b, E::Windows1252, false, false, u"a\u20ACz"},
        {"truncated at the end", "ab\xE4\xB8"_b, E::Windows1252},
        {"truncated mark", "\xEF\xBB"_b, E::Windows1252},
        {"valid, then invalid", "\xE4\xB8\xAD " + kAscii300 + "\xE9", E::Windows1252},
        {"ascii, then invalid", kAscii300 + "\xE9", E::Windows1252},
        {"NUL after a long ascii run", kAscii300 + "\0\xC3\xA9"_b, E::Windows1252, false, true},
        {"NUL in the middle", "ab\0cd"_b, E::Windows1252, false, true,
         std::u16string(u"ab\0cd", 5)},
        {"utf-8 mark, then invalid", "\xEF\xBB\xBF\xC3\xA9 \xE9"_b, E::Windows1252},
        {"NUL after invalid", "\xE9x\0"_b, E::Windows1252, false, true},
        {"NUL after utf-8 mark", "\xEF\xBB\xBF\xC3\xA9\0"_b, E::Windows1252, false, true},
        {"NUL with utf-16 mark", "\xFF\xFE\0\0a\0"_b, E::Utf16LE, true, false},
        {"ascii page declaring windows-1252",
         "<html><head><meta charset=\"Windows-1252\"></head></html>\r\n"_b, E::Windows1252},
        {"ascii xml declaring latin-1", "<?xml version=\"1.0\" encoding='iso-8859-1'?><a/>"_b,
         E::Windows1252},
        {"utf-8 page declaring windows-1252", "<meta charset=windows-1252>\xC3\xA9"_b, E::Utf8},
    };
}

// The decoder fed one byte at a time, as a reader whose chunks end anywhere would feed it.
DecodedText decodeByteByByte(const std::string& bytes, const TextReading& reading) {
    std::u16string text(bytes.size(), u'\0');
    std::size_t filled = 0;
    TextDecoder decoder(reading);
    for (char byte : bytes) {
        const auto b = static_cast<unsigned char>(byte);
        decoder.feed(&b, 1, text.data(), filled);
    }
    decoder.finish(text.data(), filled);
    text.resize(filled);
    return {text, decoder.format(), decoder.binary()};
}

TEST(TextEncoding, DetectsEachFileAndWritesItBackByteForByte) {
    for (const Row& row : detectionTable()) {
        SCOPED_TRACE(row.name);
        const DecodedText decoded = decodeText(row.bytes);
        EXPECT_EQ(decoded.format.encoding, row.encoding);
        EXPECT_EQ(decoded.format.byteOrderMark, row.mark);
        EXPECT_EQ(decoded.binary, row.binary);
        if (row.text) {
            EXPECT_EQ(decoded.text, *row.text);
        }
        if (row.encoding == E::Windows1252) {
            EXPECT_EQ(decoded.text, decodeWindows1252(row.bytes));
        }
        EXPECT_EQ(encodeText(decoded.text, decoded.format), row.bytes);
        const DecodedText piecewise = decodeByteByByte(row.bytes, {});
        EXPECT_EQ(piecewise.text, decoded.text);
        EXPECT_EQ(piecewise.format, decoded.format);
        EXPECT_EQ(piecewise.binary, decoded.binary);
        // The scan of the bytes, in blocks that end anywhere, finds what the decoder found.
        const bool beyondBmp = std::any_of(decoded.text.begin(), decoded.text.end(),
                                           [](char16_t c) { return c >= 0xD800 && c < 0xDC00; });
        for (const std::size_t piece : {std::size_t{1}, std::size_t{3}, row.bytes.size() + 1}) {
            SCOPED_TRACE(piece);
            ByteScan scan;
            for (std::size_t at = 0; at < row.bytes.size(); at += piece)
                scan.feed(std::string_view(row.bytes).substr(at, piece));
            scan.finish();
            EXPECT_EQ(scan.head(), row.bytes.substr(0, 3));
            EXPECT_EQ(scan.nul(), row.bytes.find('\0') != std::string::npos);
            if (row.encoding == E::Utf16LE || row.encoding == E::Utf16BE || row.binary) continue;
            EXPECT_EQ(scan.utf8() == ByteScan::Utf8::Invalid,
                      row.encoding == E::Windows1252 && scan.beyondAscii());
            EXPECT_EQ(scan.utf8() == ByteScan::Utf8::BeyondBmp, beyondBmp);
        }
    }
}

TEST(TextEncoding, AFixedEncodingReadsEveryFileSoAndStillKeepsEveryByte) {
    const struct {
        const char* name;
        std::string bytes;
        E fixed;
        std::u16string text;
        bool mark;
    } rows[] = {
        {"utf-8 with invalid bytes", "a\xE9z\xE4\xB8"_b, E::Utf8,
         std::u16string{u'a', 0xDCE9, u'z', 0xDCE4, 0xDCB8}, false},
        {"utf-8 with its mark", "\xEF\xBB\xBF\xC3\xA9"_b, E::Utf8, u"\u00E9", true},
        {"windows-1252 on utf-8 bytes", "\xEF\xBB\xBF\xC3\xA9"_b, E::Windows1252,
         u"\u00EF\u00BB\u00BF\u00C3\u00A9", false},
        {"windows-1252 with NUL", "a\0b"_b, E::Windows1252, std::u16string(u"a\0b", 3), false},
        {"utf-16 le without a mark", "h\0i\0"_b, E::Utf16LE, u"hi", false},
        {"utf-16 be read as le", "\xFE\xFF\0h"_b, E::Utf16LE, u"\uFFFE\u6800", false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const TextReading reading{row.fixed, false};
        const DecodedText decoded = decodeText(row.bytes, reading);
        EXPECT_EQ(decoded.text, row.text);
        EXPECT_EQ(decoded.format.encoding, row.fixed);
        EXPECT_EQ(decoded.format.byteOrderMark, row.mark);
        EXPECT_FALSE(decoded.binary);
        EXPECT_EQ(encodeText(decoded.text, decoded.format), row.bytes);
        EXPECT_EQ(decodeByteByByte(row.bytes, reading).text, decoded.text);
    }
}

TEST(TextEncoding, ANewTextIsWrittenInTheFileFormatOrRefusedByName) {
    const std::u16string text = u"\u00E9\u4E2D\U0001F600";
    EXPECT_EQ(encodeText(text, {E::Utf8, true, ""}),
              "\xEF\xBB\xBF\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80"_b);
    EXPECT_EQ(encodeText(u"\u4E2D", {E::Utf16LE, true, ""}), "\xFF\xFE\x2D\x4E"_b);
    EXPECT_EQ(encodeText(u"\u4E2D", {E::Utf16BE, false, "!"}), "\x4E\x2D!"_b);

    const auto failure = [](std::u16string_view t, const TextFormat& format) -> std::string {
        try {
            encodeText(t, format);
        } catch (const FileError& error) {
            return error.what();
        }
        return "no error";
    };
    EXPECT_EQ(failure(text, {}),
              "The text holds a character (U+4E2D) that cannot be saved in the Windows-1252 code "
              "page.");
    EXPECT_EQ(failure(std::u16string{u'a', 0xD800}, {E::Utf8, false, ""}),
              "The text holds a character (U+D800) that cannot be saved in UTF-8.");

    EXPECT_EQ(unholdableCharacter(text, E::Windows1252), char32_t(0x4E2D));
    EXPECT_EQ(unholdableCharacter(u"\u20AC\U0001F600", E::Windows1252), char32_t(0x1F600));
    EXPECT_EQ(unholdableCharacter(text, E::Utf8), std::nullopt);
    EXPECT_EQ(unholdableCharacter(std::u16string{0xDC41}, E::Utf8), char32_t(0xDC41));
    EXPECT_EQ(formatThatHolds(u"caf\u00E9 \u20AC").encoding, E::Windows1252);
    EXPECT_EQ(formatThatHolds(text).encoding, E::Utf8);
}

TEST(UserFolders, FollowTheXdgVariablesElseTheHomeFolder) {
    const auto environment = [](std::map<std::string, std::string> values) -> Environment {
        return [values](const char* name) -> std::optional<std::string> {
            auto it = values.find(name);
            if (it == values.end()) return std::nullopt;
            return it->second;
        };
    };
    const Environment set = environment({{"HOME", "/home/ann"},
                                         {"XDG_CONFIG_HOME", "/cfg/"},
                                         {"XDG_STATE_HOME", "/state"},
                                         {"XDG_RUNTIME_DIR", "/run/user/7"}});
    EXPECT_EQ(userConfigFolder(set), u"/cfg/lodestar/");
    EXPECT_EQ(userStateFolder(set), u"/state/lodestar/");
    EXPECT_EQ(userRuntimeFolder(set), u"/run/user/7/lodestar/");
    // Unset, empty or relative variables do not count.
    const Environment home =
        environment({{"HOME", "/home/ann"}, {"XDG_CONFIG_HOME", ""}, {"XDG_STATE_HOME", "s"}});
    EXPECT_EQ(userConfigFolder(home), u"/home/ann/.config/lodestar/");
    EXPECT_EQ(userStateFolder(home), u"/home/ann/.local/state/lodestar/");
    EXPECT_EQ(
        userRuntimeFolder(environment({{"TMPDIR", "/scratch"}})).rfind(u"/scratch/lodestar-", 0),
        0u);
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

TEST(BlockTextRead, GivesWhatTheWholeBytesDecodeTo) {
    testing::TempDir dir;
    constexpr std::size_t kBlock = std::size_t{1} << 20;
    std::string straddling(kBlock - 1, 'a');
    straddling += "\xE2\x82\xAC tail";  // a euro sign cut by the first block's end
    std::string lateInvalid(kBlock + 10, 'b');
    lateInvalid.insert(2, "\xC3\xA9");  // valid UTF-8 before ...
    lateInvalid[kBlock + 5] = '\x93';   // ... a byte that is not: all of it is Windows-1252
    std::string lateNul(kBlock + 10, 'c');
    lateNul[kBlock + 3] = '\0';
    const std::pair<const char*, std::string> cases[] = {{"straddling", straddling},
                                                         {"invalid-late", lateInvalid},
                                                         {"nul-late", lateNul},
                                                         {"utf16", "\xFF\xFE\x61\0b\0"_b},
                                                         {"empty", ""}};
    for (const auto& [name, bytes] : cases) {
        SCOPED_TRACE(name);
        const DecodedText read = readTextInBlocks(dir.put(name, bytes), {});
        const DecodedText whole = decodeText(bytes);
        EXPECT_TRUE(read.text == whole.text);
        EXPECT_EQ(read.binary, whole.binary);
        EXPECT_EQ(read.format.encoding, whole.format.encoding);
    }
    EXPECT_THROW(readTextInBlocks(dir.file("missing"), {}), FileError);
}

}  // namespace
}  // namespace lodestar
