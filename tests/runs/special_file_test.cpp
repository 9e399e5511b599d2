// A FIFO where a file is expected is never waited on: every reader refuses it at once, and the
// folder search passes a file swapped for one after the listing by.
#include <gtest/gtest.h>

#include "files/file_bytes.h"
#include "files/open_for_reading.h"
#include "files/text_file.h"
#include "runs/multi_search.h"
#include "runs/reusable_reader.h"
#include "support/fifo_watchdog.h"
#include "support/recording_sink.h"
#include "support/temp_dir.h"

namespace lodestar {
namespace {

using testing::makeFifo;
using testing::RecordingSink;
using testing::returnsPromptly;
using testing::TempDir;

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

}  // namespace
}  // namespace lodestar
