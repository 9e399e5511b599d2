// The one run over a folder's files, with the replace and the batch run: a followed link to a
// file that is not ticked.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "runs/batch_files.h"
#include "runs/multi_replace.h"
#include "support/recording_sink.h"
#include "support/run_helpers.h"
#include "support/temp_dir.h"

namespace lodestar {
namespace {

namespace fs = std::filesystem;
using testing::globalExpression;
using testing::inFolder;
using testing::RecordingSink;
using testing::TempDir;

// One transform of each kind, replacing `from` (a regular expression) by `to`.
struct Kind {
    const char* name;
    std::function<std::unique_ptr<TextTransform>(std::u16string_view, std::u16string_view)> make;
};

const Kind kCounted{"counted replace", [](std::u16string_view from, std::u16string_view to) {
                        return std::make_unique<ReplaceTransform>(globalExpression(from), to);
                    }};
const Kind kBatch{"batch", [](std::u16string_view from, std::u16string_view to) {
                      const std::vector<Command> commands{
                          {std::u16string(from), std::u16string(to), true, CommandKind::Reg}};
                      return std::make_unique<CommandTransform>(commands, globalExpression());
                  }};

// A link to a file is passed by as its second name only when the run works on the file by its
// own name.
TEST(RunDriver, AFollowedLinkIsWorkedOnWhenTheFileItLeadsToIsNotTicked) {
    for (const Kind* kind : {&kCounted, &kBatch}) {
        SCOPED_TRACE(kind->name);
        TempDir dir;
        dir.put("a.txt", "1px");
        fs::create_directory(dir.path() / "sub");
        fs::create_symlink(dir.path() / "a.txt", dir.path() / "sub/l.txt");
        RecordingSink sink;
        RunSettings follow = inFolder(dir.folder());
        follow.followLinks = true;
        runFolder({{dir.file("a.txt"), false}, {dir.file("sub/l.txt"), true}},
                  *kind->make(u"px", u"em"), follow, sink);
        EXPECT_EQ(dir.bytes("a.txt"), "1em");
    }
}

}  // namespace
}  // namespace lodestar
