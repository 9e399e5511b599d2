// Reading a file a block at a time decodes exactly what the whole bytes decode to, whatever
// falls on a block boundary; it tells how far it got and stops between blocks when asked.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <vector>

#include "files/block_text_read.h"
#include "files/file_error.h"
#include "support/temp_dir.h"

namespace lodestar {
namespace {

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
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {{"straddling", straddling},
                 {"invalid-late", lateInvalid},
                 {"nul-late", lateNul},
                 {"utf16", std::string("\xFF\xFE"
                                       "a\0b\0",
                                       6)},
                 {"empty", ""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const DecodedText read = readTextInBlocks(dir.put(c.name, c.bytes), {});
        const DecodedText whole = decodeText(c.bytes);
        EXPECT_TRUE(read.text == whole.text);
        EXPECT_EQ(read.binary, whole.binary);
        EXPECT_EQ(read.format.encoding, whole.format.encoding);
    }
    EXPECT_THROW(readTextInBlocks(dir.file("missing"), {}), FileError);
}

TEST(BlockTextRead, TellsHowFarItGotAndStopsBetweenBlocks) {
    testing::TempDir dir;
    const std::string bytes((std::size_t{5} << 19) + 7, 'x');  // two and a half blocks
    const std::u16string path = dir.put("long", bytes);
    StopToken stop;
    std::vector<std::uint64_t> told;
    ReadWatch watch{&stop, [&](std::uint64_t done, std::uint64_t total) {
                        EXPECT_EQ(total, bytes.size());
                        told.push_back(done);
                    }};
    EXPECT_EQ(readTextInBlocks(path, {}, watch).text.size(), bytes.size());
    EXPECT_GE(told.size(), 2u);
    EXPECT_EQ(std::adjacent_find(told.begin(), told.end(), std::greater_equal<>()), told.end());
    EXPECT_EQ(told.back(), bytes.size());

    // Stopped as the first block is told, or before the read begins: no block more is read.
    for (const bool before : {false, true}) {
        told.clear();
        watch.progress = [&](std::uint64_t done, std::uint64_t) {
            told.push_back(done);
            stop.request();
        };
        if (before) stop.request();
        EXPECT_THROW(readTextInBlocks(path, {}, watch), ReadStopped);
        EXPECT_EQ(told.size(), before ? 0u : 1u);
        stop.reset();
    }
}

}  // namespace
}  // namespace lodestar
