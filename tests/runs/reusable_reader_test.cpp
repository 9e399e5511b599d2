// Reading a folder's files: the loops' reader, FIFOs never waited on, and the extraction run.
#include <gtest/gtest.h>

#include "core/text.h"
#include "files/file_bytes.h"
#include "files/open_for_reading.h"
#include "files/text_file.h"
#include "runs/extraction.h"
#include "runs/reusable_reader.h"
#include "support/expression.h"
#include "support/fifo_watchdog.h"
#include "support/recording_sink.h"
#include "support/temp_dir.h"

namespace lodestar {
namespace {

using testing::makeFifo;
using testing::RecordingSink;
using testing::returnsPromptly;
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

// A FIFO where a file is expected is never waited on: every reader refuses it at once.
TEST(SpecialFile, EveryReaderRefusesAFifoAtOnce) {
    TempDir dir;
    const std::u16string fifo = dir.file("pipe.txt");
    makeFifo(dir.path() / "pipe.txt");
    const std::vector<std::function<void()>> readers{
        [&] { readFileBytes(fifo); },
        [&] { loadTextFile(fifo); },
        [&] { LoadFileText(fifo); },
        [&] { ReusableTextReader(TextReading{}).read(fifo); },
        [&] { ReusableTextReader(TextReading{}).readBytes(fifo); },
    };
    for (std::size_t i = 0; i < readers.size(); ++i) {
        SCOPED_TRACE(i);
        returnsPromptly([&] { EXPECT_THROW(readers[i](), NotAFileError); },
                        {dir.path() / "pipe.txt"});
    }
}

// The extraction run: which files are read, what is written, the log line and the failures.
ExtractTarget commaTarget(const std::u16string& path) {
    return {path,
            [](const std::vector<std::u16string>& items) { return joinText(items, u","); },
            {},
            {}};
}

RegExp digits() {
    return testing::expression(u"\\d+");
}

TEST(ExtractAll, OneListedFileIsReadWhateverItsTick) {
    TempDir dir;
    std::vector<FileItem> files{{dir.put("a.txt", "5"), false}};
    RecordingSink sink;
    EXPECT_EQ(ExtractAll(digits(), u"d", files, 0u, commaTarget(dir.file("o")), sink).items, 1u);
}

TEST(ExtractAll, FailuresAreReportedAndWriteNothing) {
    TempDir dir;
    std::vector<FileItem> files{{dir.put("a.txt", "1"), true}, {dir.file("gone.txt"), true}};
    RecordingSink sink;
    EXPECT_EQ(ExtractAll(digits(), u"d", files, {}, commaTarget(dir.file("o")), sink).result,
              ExtractResult::Failed);
    ExtractTarget badFormat = commaTarget(dir.file("o"));
    badFormat.format = [](const std::vector<std::u16string>&) -> std::u16string {
        throw Error("no \"..\" in the wrapper");
    };
    EXPECT_EQ(ExtractAll(digits(), u"d", {files[0]}, {}, badFormat, sink).result,
              ExtractResult::Failed);
    EXPECT_EQ(sink.errors.size(), 2u);
    EXPECT_EQ(sink.errors[0], kExtractErrorMessage);
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "o"));
}

}  // namespace
}  // namespace lodestar
