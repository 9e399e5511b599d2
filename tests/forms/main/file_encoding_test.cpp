// The window and the current file's encoding: the binary question, the question when
// Windows-1252 cannot hold a replacement, and reopening the file in another encoding.
#include <filesystem>

#include "forms/main/window_fixture.h"

namespace lodestar::testing {
namespace {

using namespace std::string_literals;

using FileEncoding = WindowTest;

TEST_F(FileEncoding, ABinaryFileOpensOnlyWhenTheUserSaysSo) {
    const std::u16string path = put("data.bin", "ab\0cd"s);
    prompts.answerCancel();
    open(path);
    EXPECT_EQ(lastQuestion(), "This file looks binary (it holds NUL bytes). Open it anyway?");
    EXPECT_TRUE(w->document().path.empty());
    prompts.answerOk();
    open(path);
    EXPECT_EQ(w->document().path, path);
    EXPECT_EQ(w->document().text, std::u16string(u"ab\0cd", 5));
    EXPECT_EQ(text("lblEncoding"), "Windows-1252");
}

TEST_F(FileEncoding, AReplacementWindows1252CannotHoldAsksToSaveAsUtf8) {
    openNew("w.txt", "caf\xE9 1\n");
    prompts.answerOk();
    replace(u"1", u"\u4E2D", false);  // OK to the replace, Cancel to the encoding question
    EXPECT_NE(lastQuestion().find("(U+4E2D)"), std::string::npos);
    EXPECT_EQ(u8(w->document().text), "caf\u00E9 1\n");
    EXPECT_FALSE(c("btnSave").enabled);
    EXPECT_EQ(text("lblEncoding"), "Windows-1252");

    prompts.answerOk();
    replace(u"1", u"\u4E2D");
    EXPECT_EQ(text("lblEncoding"), "UTF-8");
    w->click("btnSave");
    EXPECT_EQ(docs.bytes("w.txt"), "caf\xC3\xA9 \xE4\xB8\xAD\n");
    // Restore puts the old bytes back, and the old encoding with them.
    w->click("btnRestore");
    EXPECT_EQ(docs.bytes("w.txt"), "caf\xE9 1\n");
    EXPECT_EQ(text("lblEncoding"), "Windows-1252");
}

TEST_F(FileEncoding, TheViewMenuReopensTheFileInAnotherEncoding) {
    openNew("u8.txt", "caf\xC3\xA9");
    w->click("mEnc1252");
    EXPECT_EQ(u8(w->document().text), "caf\u00C3\u00A9");
    EXPECT_EQ(text("lblEncoding"), "Windows-1252");
    w->click("mEncAuto");
    EXPECT_EQ(u8(w->document().text), "caf\u00E9");
    EXPECT_EQ(text("lblEncoding"), "UTF-8");
    // Unsaved replaced text: asked first; Cancel keeps it.
    replace(u"caf", u"tea");
    prompts.answerCancel();
    w->click("mEncUtf16le");
    EXPECT_EQ(lastQuestion(),
              "Your file not saved, save it before reading it again as another encoding?");
    EXPECT_EQ(u8(w->document().text), "tea\u00E9");
    // Closing the file clears the label and turns the entry off.
    w->click("mClose");
    EXPECT_EQ(text("lblEncoding"), "");
    EXPECT_FALSE(c("mEncoding").enabled);
}

}  // namespace
}  // namespace lodestar::testing
