// The reader of the folder loops gives exactly what LoadFileText gives, file after file.
#include <gtest/gtest.h>

#include "files/text_file.h"
#include "runs/reusable_reader.h"
#include "support/temp_dir.h"

namespace lodestar {
namespace {

using testing::TempDir;

TEST(ReusableTextReader, DecodesEveryByteLikeLoadFileTextAcrossReads) {
    TempDir dir;
    std::string every;
    for (int round = 0; round < 3; ++round)
        for (int byte = 0; byte < 256; ++byte) every += static_cast<char>(byte);
    std::string big(5000, 'a');
    big[300] = '\x80';  // in a later block than the first
    big[4999] = '\x9f';
    const auto a = dir.put("every", every);
    const auto b = dir.put("big", big);
    const auto c = dir.put("small", "x\x93y");
    const auto d = dir.put("empty", "");
    ReusableTextReader reader;
    EXPECT_EQ(std::u16string(reader.read(a)), LoadFileText(a));
    EXPECT_EQ(std::u16string(reader.read(b)), LoadFileText(b));
    EXPECT_EQ(std::u16string(reader.read(c)), u"x\u201cy");
    EXPECT_EQ(reader.read(d).size(), 0u);
    EXPECT_THROW(reader.read(dir.file("missing")), FileError);
}

}  // namespace
}  // namespace lodestar
