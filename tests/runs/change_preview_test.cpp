// The preview as ticked changes: they rebuild the new text, and Apply writes only those ticked.
#include <gtest/gtest.h>

#include <random>

#include "core/text.h"
#include "files/paths.h"
#include "runs/batch_files.h"
#include "runs/change_preview.h"
#include "runs/multi_replace.h"
#include "support/recording_sink.h"
#include "support/run_helpers.h"
#include "support/temp_dir.h"

namespace lodestar {
namespace {

using testing::globalExpression;
using testing::inFolder;
using testing::RecordingSink;
using testing::TempDir;

std::vector<bool> allTicked(std::size_t n, bool on) {
    return std::vector<bool>(n, on);
}

TEST(TextChanges, AllChangesGiveTheNewTextAndNoneTheOld) {
    const struct {
        std::u16string before, after;
        std::size_t changes;
    } cases[] = {
        {u"a\nb\nc\n", u"a\nB\nc\n", 1},
        {u"a\nb\nc\n", u"A\nb\nC\n", 2},
        {u"a\nb\nc\n", u"A\nB\nC\n", 3},        // as many lines: one change per line
        {u"a\nb\nc\n", u"a\nx\ny\nb\nc\n", 1},  // lines added
        {u"a\nb\nc\nd\n", u"a\nd\n", 1},        // lines removed
        {u"a\r\nb\r\n", u"a\nb\n", 2},          // line ends
        {u"a\nb", u"a\nb\n", 1},                // the last line gains its line end
        {u"", u"new\n", 1},
        {u"old\n", u"", 1},
        {u"x\ny\n", u"x\ny\n", 0},
        {u"1\n2\n3\n4\n5\n", u"0\n1\n2x\n3\n5\n6\n", 4},
    };
    for (const auto& c : cases) {
        const auto changes = changesBetween(c.before, c.after);
        SCOPED_TRACE(toUtf8(c.before) + " -> " + toUtf8(c.after));
        EXPECT_EQ(changes.size(), c.changes);
        EXPECT_EQ(withChanges(c.before, c.after, changes, allTicked(changes.size(), true)),
                  c.after);
        EXPECT_EQ(withChanges(c.before, c.after, changes, allTicked(changes.size(), false)),
                  c.before);
    }
}

TEST(TextChanges, NamesLinesAndTheChangedPart) {
    const auto changes = changesBetween(u"one\nthe cat sat\nend\n", u"one\nthe dog sat\nend\n");
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].beforeLine, 2u);
    EXPECT_EQ(changes[0].afterLine, 2u);
    EXPECT_EQ(changes[0].sameHead, 4u);  // "the "
    EXPECT_EQ(changes[0].sameTail, 5u);  // " sat\n"
    EXPECT_EQ(changes[0].beforeEnd - changes[0].beforeStart, 12u);
}

// Random texts edited at random lines: every subset of the changes applied is the old text
// with exactly those lines edited, and all of them the new text.
TEST(TextChanges, RandomEditsRebuildExactly) {
    std::mt19937 random(7);
    for (int round = 0; round < 300; ++round) {
        std::vector<std::u16string> lines;
        const int n = static_cast<int>(random() % 40);
        for (int i = 0; i < n; ++i)
            lines.push_back(std::u16string(1 + random() % 3, u"abc"[random() % 3]) +
                            (random() % 9 ? u"\n" : u"\r\n"));
        std::u16string before, after;
        for (const auto& line : lines) before += line;
        for (const auto& line : lines) {  // removed, one added before it, changed, or kept
            const auto edit = random() % 6;
            if (edit != 0) after += (edit == 1 ? u"new\n" : edit == 2 ? u"X" : u"") + line;
        }
        if (random() % 4 == 0 && !after.empty()) after.pop_back();  // no last line end
        const auto changes = changesBetween(before, after);
        ASSERT_EQ(withChanges(before, after, changes, allTicked(changes.size(), true)), after);
        std::vector<bool> some;
        for (std::size_t k = 0; k < changes.size(); ++k) some.push_back(random() % 2);
        // A subset, then the rest, gives the new text: the changes do not overlap.
        const std::u16string part = withChanges(before, after, changes, some);
        const auto rest = changesBetween(part, after);
        EXPECT_EQ(withChanges(part, after, rest, allTicked(rest.size(), true)), after);
    }
}

// One transform of each kind over the same folder.
const std::pair<const char*, std::function<std::unique_ptr<TextTransform>()>> kRuns[] = {
    {"replace",
     [] { return std::make_unique<ReplaceTransform>(globalExpression(u"cat"), u"dog"); }},
    {"batch",
     [] {
         const std::vector<Command> commands{{u"cat", u"dog\nhouse", true, CommandKind::Reg},
                                             {u"x\\d", u"", true, CommandKind::Reg}};
         return std::make_unique<CommandTransform>(commands, globalExpression());
     }},
};

std::vector<FileChanges> preview(const std::vector<FileItem>& files, const TextTransform& run,
                                 const RunSettings& settings) {
    std::vector<FileChanges> previewed;
    RecordingSink sink;
    previewFolder(files, run, settings, sink,
                  [&](FilePreview file) { previewed.push_back(changesOf(std::move(file))); });
    return previewed;
}

TEST(TickedChanges, ApplyWritesWhatThePreviewShowedAndOnlyTheTickedChanges) {
    for (const auto& [name, make] : kRuns) {
        SCOPED_TRACE(name);
        TempDir dir;
        const std::string one = "a cat\nx1\nb cat\nc\nd cat\n";
        dir.put("one.txt", one);
        dir.put("two.txt", "\xEF\xBB\xBFthe cat\r\nx2\r\n");  // UTF-8 with its mark, CRLF
        dir.put("three.txt", "cat\n");
        dir.put("none.txt", "nothing\n");
        std::vector<FileItem> files;
        for (const char* name : {"one.txt", "two.txt", "three.txt", "none.txt"})
            files.push_back({dir.file(name), true});
        const RunSettings settings = inFolder(dir.folder());
        const auto transform = make();

        // Everything ticked shows the bytes the run itself writes.
        const std::vector<FileChanges> all = preview(files, *transform, settings);
        ASSERT_EQ(all.size(), 3u);
        TempDir direct;
        std::vector<FileItem> originals;
        for (const char* name : {"one.txt", "two.txt", "three.txt"})
            originals.push_back({direct.put(name, dir.bytes(name)), true});
        RecordingSink runSink;
        runFolder(originals, *transform, inFolder(direct.folder()), runSink);
        for (const FileChanges& file : all)
            EXPECT_EQ(encodeText(file.textToWrite(), file.format),
                      direct.bytes(toUtf8(FileNameOf(file.path))));

        // The first change of one.txt unticked, three.txt's only change unticked; two.txt
        // changed by another program since the preview.
        std::vector<FileChanges> some = preview(files, *transform, settings);
        ASSERT_GE(some[0].changes.size(), 2u);
        some[0].ticked[0] = false;
        some[2].ticked[0] = false;
        dir.put("two.txt", "changed meanwhile: cat\n");
        const std::string expectOne = encodeText(some[0].textToWrite(), some[0].format);
        RecordingSink sink;
        const RunSummary summary =
            runFolder(files, TickedChangesTransform(transform->run(), some), settings, sink);
        EXPECT_FALSE(summary.ok);
        EXPECT_EQ(summary.changedElsewhere, 1u);
        EXPECT_EQ(dir.bytes("one.txt"), expectOne);
        EXPECT_NE(expectOne, one);
        EXPECT_EQ(expectOne.substr(0, 6), "a cat\n");  // the unticked change is not written
        EXPECT_EQ(dir.bytes("two.txt"), "changed meanwhile: cat\n");
        EXPECT_EQ(dir.bytes("three.txt"), "cat\n");
        EXPECT_EQ(dir.bytes("none.txt"), "nothing\n");
        ASSERT_EQ(sink.outcomes.size(), 4u);
        EXPECT_EQ(sink.outcomes[0].result, FileResult::Written);
        EXPECT_EQ(sink.outcomes[1].result, FileResult::ChangedElsewhere);
    }
}

}  // namespace
}  // namespace lodestar
