// The user's settings file: the encoding setting read from it, whatever else it holds.
#include "settings/user_settings.h"

#include <gtest/gtest.h>

#include "support/fifo_watchdog.h"
#include "support/temp_dir.h"

namespace lodestar {
namespace {

using testing::TempDir;

TEST(UserSettings, ReadsTheEncodingAndIgnoresWhatItDoesNotKnow) {
    TempDir dir;
    const struct {
        const char* content;
        std::optional<TextEncoding> encoding;
    } rows[] = {
        {"encoding=utf-8\n", TextEncoding::Utf8},
        {"# a comment\r\n  encoding =  Windows-1252 \r\ncolour=blue\r\n",
         TextEncoding::Windows1252},
        {"encoding=utf-16be", TextEncoding::Utf16BE},
        {"encoding=auto\n", std::nullopt},
        {"encoding=klingon\n", std::nullopt},
        {"encoding\n", std::nullopt},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(loadUserSettings(dir.put("settings", row.content)).encoding, row.encoding)
            << row.content;
    }
    EXPECT_EQ(loadUserSettings(dir.file("missing")).encoding, std::nullopt);
    EXPECT_EQ(userSettingsPath(u"/home/ann/.config/lodestar/"),
              u"/home/ann/.config/lodestar/settings");
}

TEST(UserSettings, AFifoIsNeverReadAndSaysSo) {
    TempDir dir;
    testing::makeFifo(dir.path() / "settings");
    UserSettings settings;
    testing::returnsPromptly([&] { settings = loadUserSettings(dir.file("settings")); },
                             {dir.path() / "settings"});
    EXPECT_TRUE(settings.notAFile);
    EXPECT_EQ(settings.encoding, std::nullopt);
    EXPECT_FALSE(loadUserSettings(dir.put("plain", "encoding=utf-8\n")).notAFile);
}

}  // namespace
}  // namespace lodestar
