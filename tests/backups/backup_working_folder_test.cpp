// Backups and restores refuse an empty or relative working folder, whoever calls them: nothing
// is copied, created or deleted, and the error entry says why.
#include <gtest/gtest.h>

#include <filesystem>

#include "backups/backup.h"
#include "core/text.h"
#include "runs/multi_replace.h"
#include "support/recording_sink.h"
#include "support/run_helpers.h"
#include "support/temp_dir.h"

namespace lodestar {
namespace {

using testing::RecordingSink;
using testing::TempDir;

TEST(BackupWorkingFolder, EmptyOrRelativeFoldersAreRefusedByEveryBackupAndRestore) {
    TempDir dir;
    const std::u16string file = dir.put("a.htm", "x");
    const auto cwd = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());  // a relative folder would land here
    for (const std::u16string folder : {u"", u"docs/", u"./"}) {
        SCOPED_TRACE(toUtf8(folder));
        EXPECT_THROW(backupFolderPath(folder, u"bak"), BackupError);
        EXPECT_THROW(BackupOneFile(file, folder + u"bak/"), BackupError);

        RecordingSink sink;
        EXPECT_FALSE(RestoreFolder(folder, u"", sink));
        EXPECT_FALSE(runFolder({{file, true}},
                               ReplaceTransform(testing::globalExpression(u"x"), u"y"),
                               testing::inFolder(folder), sink)
                         .ok);
        EXPECT_EQ(sink.errors.size(), 2u);
        EXPECT_EQ(dir.bytes("a.htm"), "x");
    }
    std::filesystem::current_path(cwd);
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "bak"));
}

}  // namespace
}  // namespace lodestar
