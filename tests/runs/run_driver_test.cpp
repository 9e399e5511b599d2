// The one run over a folder's files, with each of its transforms: the replace counting or not and
// the batch run. What is written, backed up, reported and logged; read-only files; the stop at
// the first failure; encodings; and the preview that matches the run byte for byte.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>

#include "backups/backup.h"
#include "backups/run_journal.h"
#include "runs/batch_files.h"
#include "runs/multi_replace.h"
#include "runs/multi_search.h"
#include "support/recording_sink.h"
#include "support/run_helpers.h"
#include "support/temp_dir.h"

namespace lodestar {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using testing::globalExpression;
using testing::inFolder;
using testing::ReadOnlyAnswer;
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
const Kind kUncounted{"uncounted replace", [](std::u16string_view from, std::u16string_view to) {
                          return std::make_unique<ReplaceTransform>(globalExpression(from), to,
                                                                    false);
                      }};
const Kind kBatch{"batch", [](std::u16string_view from, std::u16string_view to) {
                      const std::vector<Command> commands{
                          {std::u16string(from), std::u16string(to), true, CommandKind::Reg}};
                      return std::make_unique<CommandTransform>(commands, globalExpression());
                  }};

ino_t inodeOf(const fs::path& path) {
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info.st_ino;
}

TEST(RunDriver, RewritesAndBacksUpOnlyTheFilesItChanges) {
    const struct {
        const Kind& kind;
        std::u16string cells;
        std::vector<std::u16string> lines;
    } rows[] = {
        {kCounted, u"2|Written;0|Unchanged;-|Unticked", {u"1 files replaced in 3 files."}},
        {kUncounted, u"-|Written;-|Unchanged;-|Unticked", {u"Files replaced successfully."}},
        {kBatch,
         u"-|Written;-|Unchanged;-|Unticked",
         {u"Files backed up successfully.", u"2 files batch replaced successfully."}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.kind.name);
        TempDir dir;
        std::vector<FileItem> files{{dir.put("a.txt", "1px 2px"), true},
                                    {dir.put("b.txt", "none"), true},
                                    {dir.put("c.txt", "3px"), false}};
        const ino_t unchanged = inodeOf(dir.path() / "b.txt");
        RecordingSink sink;
        const RunSummary summary =
            runFolder(files, *row.kind.make(u"(\\d)px", u"$1em"), inFolder(dir.folder()), sink);
        EXPECT_TRUE(summary.ok);
        EXPECT_EQ(summary.written, 1u);
        EXPECT_EQ(sink.cells(), row.cells);
        EXPECT_EQ(sink.lines, row.lines);
        EXPECT_EQ(dir.bytes("a.txt") + dir.bytes("c.txt"), "1em 2em3px");
        EXPECT_EQ(dir.bytes("bak/a.txt"), "1px 2px");
        // A file the run leaves as it was is neither written nor backed up.
        EXPECT_EQ(inodeOf(dir.path() / "b.txt"), unchanged);
        EXPECT_FALSE(fs::exists(dir.path() / "bak/b.txt"));
        EXPECT_EQ(RunJournal::stateOf(dir.folder() + u"bak/"), RunJournal::State::Finished);
    }
}

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
