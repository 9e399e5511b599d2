// The one run over a folder's files, with each of its transforms: the replace counting or not and
// the batch run. What is written, backed up, reported and logged; read-only files; the stop at
// the first failure; encodings; and the preview that matches the run byte for byte.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <map>

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

// One question per run: declined, the read-only files are left alone; accepted, they are made
// writable and rewritten. Without a question a read-only file ends the run there.
TEST(RunDriver, ReadOnlyFilesFollowTheOneAnswerOfTheRun) {
    const struct {
        const Kind& kind;
        std::optional<bool> answer;
        std::u16string cells;
        std::string bytes;
        std::u16string error;
    } rows[] = {
        {kCounted, false, u"-|ReadOnly;1|Written;-|ReadOnly", "1px2em3px", u""},
        {kBatch, true, u"-|Written;-|Written;-|Written", "1em2em3em", u""},
        {kBatch, std::nullopt, u"", "1px2px3px", std::u16string(kBatchErrorMessage)},
        {kCounted, std::nullopt, u"", "1px2px3px", std::u16string(kFileErrorMessage)},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.kind.name);
        TempDir dir;
        const std::vector<FileItem> files{{dir.put("a.txt", "1px"), true},
                                          {dir.put("b.txt", "2px"), true},
                                          {dir.put("c.txt", "3px"), true}};
        for (const char* name : {"a.txt", "c.txt"})
            fs::permissions(dir.path() / name, fs::perms::owner_write, fs::perm_options::remove);
        ReadOnlyAnswer answer(row.answer.value_or(false));
        RecordingSink sink;
        runFolder(files, *row.kind.make(u"px", u"em"), inFolder(dir.folder()), sink,
                  row.answer ? &answer : nullptr);
        EXPECT_EQ(answer.asked, row.answer ? 1 : 0);
        EXPECT_EQ(sink.cells(), row.cells);
        EXPECT_EQ(dir.bytes("a.txt") + dir.bytes("b.txt") + dir.bytes("c.txt"), row.bytes);
        EXPECT_EQ(sink.errors, row.error.empty() ? std::vector<std::u16string>{}
                                                 : std::vector<std::u16string>{row.error});
    }
}

// The files before the failing one keep their new content and backups, the files after it are
// untouched, and the journal stays unfinished so the next run is refused.
TEST(RunDriver, StopsAtTheFirstFailingFileWithItsHeading) {
    const struct {
        const Kind& kind;
        std::u16string pattern, heading;
    } rows[] = {
        {kCounted, u"px", std::u16string(kFileErrorMessage)},       // the file is gone
        {kBatch, u"px", std::u16string(kBatchErrorMessage)},        //
        {kUncounted, u"(px", std::u16string(kSearchErrorMessage)},  // the pattern is broken
        {kBatch, u"(px", std::u16string(kBatchErrorMessage)},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.kind.name) + " " + toUtf8(row.pattern));
        TempDir dir;
        dir.put("a.txt", "1px");
        dir.put("c.txt", "3px");
        const bool broken = row.pattern.starts_with(u"(");
        std::vector<FileItem> files{{dir.file(broken ? "a.txt" : "gone.txt"), true},
                                    {dir.file("c.txt"), true}};
        if (!broken) files.insert(files.begin(), {dir.file("a.txt"), true});
        RecordingSink sink;
        const RunSummary summary =
            runFolder(files, *row.kind.make(row.pattern, u"em"), inFolder(dir.folder()), sink);
        EXPECT_FALSE(summary.ok);
        EXPECT_EQ(sink.errors, std::vector<std::u16string>{row.heading});
        EXPECT_EQ(dir.bytes("a.txt") + dir.bytes("c.txt"), broken ? "1px3px" : "1em3px");
        EXPECT_EQ(sink.outcomes.size(), broken ? 0u : 1u);
        EXPECT_EQ(lastRunUnfinished(dir.folder(), u""), !broken);
    }
}

// Each file is written in the encoding it was read in; a Windows-1252 file that cannot hold the
// new text stays whole and the run goes on; a binary file is not touched.
TEST(RunDriver, KeepsEachEncodingAndLeavesWhatCannotHoldTheText) {
    const struct {
        const Kind& kind;
        std::u16string cells, firstLine;
    } rows[] = {
        {kCounted, u"1|CannotHold;1|Written;-|Binary;1|Written", u"2 files replaced in 4 files."},
        {kBatch, u"-|CannotHold;-|Written;-|Binary;-|Written",
         u"2 files batch replaced successfully."},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.kind.name);
        TempDir dir;
        const std::vector<FileItem> files{
            {dir.put("a.txt", "1px caf\xE9"), true},
            {dir.put("b.txt", "\xFF\xFE" + "2\0p\0x\0"s), true},
            {dir.put("c.bin", "3px\0"s), true},
            {dir.put("d.txt", "\xEF\xBB\xBF" + "4px \xC3\xA9"s), true}};
        RecordingSink sink;
        RunSettings settings = inFolder(dir.folder());
        settings.backup = false;
        const RunSummary summary =
            runFolder(files, *row.kind.make(u"px", u"\u4e2d"), settings, sink);
        EXPECT_TRUE(summary.ok);
        EXPECT_EQ(summary.cannotHold, 1u);
        EXPECT_EQ(dir.bytes("a.txt"), "1px caf\xE9");
        EXPECT_EQ(dir.bytes("b.txt"), "\xFF\xFE" + "2\0\x2D\x4E"s);
        EXPECT_EQ(dir.bytes("c.bin"), "3px\0"s);
        EXPECT_EQ(dir.bytes("d.txt"), "\xEF\xBB\xBF" + "4\xE4\xB8\xAD \xC3\xA9"s);
        EXPECT_EQ(sink.cells(), row.cells);
        ASSERT_EQ(sink.errors, std::vector<std::u16string>{std::u16string(kCannotHoldMessage)});
        EXPECT_NE(sink.causes[0].find(u"(U+4E2D)"), std::u16string::npos);
        EXPECT_EQ(sink.lines,
                  (std::vector<std::u16string>{row.firstLine, u"Binary files skipped: 1."}));
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

TEST(RunDriver, ARefusedBackupFolderTouchesNoFile) {
    TempDir dir;
    for (const Kind* kind : {&kCounted, &kBatch}) {
        SCOPED_TRACE(kind->name);
        const std::vector<FileItem> files{{dir.put("a.txt", "1px"), true}};
        RunSettings refused = inFolder(dir.folder());
        refused.backupFolderName = u"..";
        RecordingSink sink;
        EXPECT_FALSE(runFolder(files, *kind->make(u"px", u"em"), refused, sink).ok);
        EXPECT_TRUE(sink.outcomes.empty());
        EXPECT_EQ(sink.errors.size(), 1u);
        EXPECT_EQ(dir.bytes("a.txt"), "1px");
    }
}

std::map<std::string, std::string> contentsOf(const fs::path& folder) {
    std::map<std::string, std::string> contents;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file())
            contents[fs::relative(entry.path(), folder).string()] =
                testing::readBytes(entry.path());
    return contents;
}

// A preview changes nothing; what it shows is exactly what the run then writes, and the other
// files get the outcome the run gives them.
TEST(RunDriver, APreviewIsWhatTheRunThenWritesByteForByte) {
    for (const Kind* kind : {&kCounted, &kUncounted, &kBatch}) {
        SCOPED_TRACE(kind->name);
        TempDir dir;
        std::vector<FileItem> files{{dir.put("a.txt", "1px caf\xC3\xA9"), true},
                                    {dir.put("b.txt", "none"), true},
                                    {dir.put("c.txt", "\xFF\xFE" + "2\0p\0x\0"s), true},
                                    {dir.put("d.bin", "3px\0"s), true},
                                    {dir.put("e.txt", "9px"), false},
                                    {dir.put("f.txt", "caf\xE9 4px"), true}};
        const auto before = contentsOf(dir.path());
        const auto transform = kind->make(u"(\\d)px", u"$1\u00e9m");
        const RunSettings settings = inFolder(dir.folder());
        std::map<std::u16string, std::string> shown;
        RecordingSink previewed;
        const RunSummary preview =
            previewFolder(files, *transform, settings, previewed,
                          [&](FilePreview file) { shown[file.path] = std::move(file.bytes); });
        EXPECT_EQ(contentsOf(dir.path()), before);
        EXPECT_EQ(preview.previewed, 3u);

        RecordingSink run;
        runFolder(files, *transform, settings, run);
        EXPECT_EQ(previewed.errors, run.errors);
        ASSERT_EQ(previewed.outcomes.size(), run.outcomes.size());
        for (std::size_t i = 0; i < files.size(); ++i) {
            const FileResult shownAs = previewed.outcomes[i].result;
            EXPECT_EQ(shownAs == FileResult::Previewed,
                      run.outcomes[i].result == FileResult::Written);
            if (shownAs != FileResult::Previewed) {
                EXPECT_EQ(shownAs, run.outcomes[i].result);
            }
            const std::string now = testing::readBytes(toUtf8(files[i].path));
            if (shown.contains(files[i].path))
                EXPECT_EQ(now, shown[files[i].path]) << toUtf8(files[i].path);
            else
                EXPECT_EQ(now, before.at(fs::path(toUtf8(files[i].path)).filename().string()));
        }
    }
}

}  // namespace
}  // namespace lodestar
