// Where the options file is looked for: the user's XDG configuration folder first, then the
// copy beside the program, then the defaults. (Writing it is checked through the options
// dialog, OptionSettingTest.)
#include <gtest/gtest.h>

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

}  // namespace
}  // namespace lodestar
