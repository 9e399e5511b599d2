// Reading a file a block at a time decodes exactly what the whole bytes decode to, whatever
// falls on a block boundary.
#include <gtest/gtest.h>

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

}  // namespace
}  // namespace lodestar
