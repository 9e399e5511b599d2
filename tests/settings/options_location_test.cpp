// Where the options file is looked for and written: the user's XDG configuration folder first,
// then the copy beside the program, then the defaults.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/error.h"
#include "core/text.h"
#include "settings/options_location.h"
#include "support/temp_dir.h"

namespace lodestar {
namespace {

using testing::TempDir;

TEST(StartupOptions, TheUsersFileComesBeforeTheProgramsAndTheDefaultsLast) {
    TempDir dir;
    const std::u16string user = dir.file("user.opt");
    const std::u16string program = dir.put("program.opt", "False\r\nshipped\r\nTrue\r\n1\r\n1\r\n");
    EXPECT_EQ(startupOptions(user, program).backupFolder, u"shipped");
    dir.put("user.opt", "False\r\n mine \r\nTrue\r\n2\r\n1\r\n");
    const Options options = startupOptions(user, program);
    EXPECT_EQ(options.backupFolder, u"mine");  // trimmed as the dialog and the CLI trim it
    EXPECT_EQ(options.sourceFontIndex, 2);
    // A user file too short to be taken gives the defaults, not the program's copy.
    dir.put("user.opt", "False\r\n");
    EXPECT_EQ(startupOptions(user, program).backupFolder, u"bak");
    EXPECT_EQ(startupOptions(u"", dir.file("none.opt")).backupFolder, u"bak");
}

TEST(SaveUserOptions, CreatesTheFolderAndRoundTrips) {
    TempDir dir;
    const std::u16string user = dir.file("config/lodestar/lodestar.opt");
    Options saved;
    defaultOptions(saved);
    saved.backupFolder = u"old";
    saved.sourceFontIndex = 5;
    saved.patternFontName = u"Georgia";
    saved.patternFontSize = 9.75f;
    saveUserOptions(user, saved, false, true);
    EXPECT_EQ(dir.bytes("config/lodestar/lodestar.opt"),
              "True\r\nold\r\nTrue\r\n5\r\n0\r\n1\r\nGeorgia\r\n9.75\r\n");
    const Options read = startupOptions(user, u"");
    EXPECT_EQ(read.backupFolder, u"old");
    EXPECT_EQ(read.sourceFontIndex, 5);
    EXPECT_FALSE(read.showSyntax);
    EXPECT_FALSE(read.noCountOnReplace);
    EXPECT_EQ(read.patternFontName, u"Georgia");
    EXPECT_EQ(read.patternFontSize, 9.75f);
}

TEST(SaveUserOptions, AFolderThatCannotBeMadeIsAnError) {
    TempDir dir;
    dir.put("config", "a file where the folder should be");
    EXPECT_THROW(saveUserOptions(dir.file("config/lodestar/lodestar.opt"), Options(), true, true),
                 Error);
}

}  // namespace
}  // namespace lodestar
