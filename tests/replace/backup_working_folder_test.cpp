// Backups and restores refuse an empty or relative working folder, whoever calls them: nothing
// is copied, created or deleted, and the error entry says why.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/text.h"
#include "files/recording_sink.h"
#include "replace/backup.h"
#include "replace/multi_replace.h"
#include "support/temp_dir.h"

namespace lodestar {
namespace {

using testing::RecordingSink;
using testing::TempDir;

class AlwaysYes : public ReadOnlyQuestion {
    bool makeWritable() override { return true; }
};

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
        EXPECT_FALSE(BackupAllFiles({{file, true}}, folder, u"", sink));
        EXPECT_FALSE(RestoreFolder(folder, u"", sink));
        RegExp x;
        x.setPattern(u"x");
        ReplaceSettings settings{true, true, folder, u""};
        AlwaysYes yes;
        EXPECT_FALSE(ReplaceAllFiles(x, u"y", {{file, true}}, settings, yes, sink).ok);
        EXPECT_EQ(sink.errors.size(), 3u);
        EXPECT_EQ(dir.bytes("a.htm"), "x");
    }
    std::filesystem::current_path(cwd);
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "bak"));
    EXPECT_EQ(backupFolderPath(u"/data/", u""), u"/data/bak/");
}

}  // namespace
}  // namespace lodestar
