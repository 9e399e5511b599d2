// The pattern assistant on the shipped libraries: composing, the caret, Undo and Redo, OK.
#include <gtest/gtest.h>

#include "forms/assistant/reg_assist.h"
#include "forms/main/window_fixture.h"

namespace lodestar {
namespace {

using testing::u8;

// Entries of the shipped libraries by position.
constexpr int kDigit = 0;           // metachar.lib: "\d"
constexpr int kOneOrMore = 1;       // repeat.lib: "+"
constexpr int kGroup = 0;           // limit.lib: "( )"
constexpr int kNumbersHeading = 0;  // regExp.lib: "- Numbers -"
constexpr int kInteger = 1;         // regExp.lib: "-?\b\d+\b"

class RegAssistTest : public testing::WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        form = &ws->assistant();
        form->open();
    }
    const Control& a(const std::string& name) const { return form->controls()[name]; }
    std::string pattern() const { return u8(a("txtTmpReg").text); }
    std::size_t caret() const { return a("txtTmpReg").selStart; }

    RegAssist* form = nullptr;
};

TEST_F(RegAssistTest, ComposesTheGroupOfDigitsAndAppendsItToThePatternBox) {
    EXPECT_TRUE(form->shown());
    EXPECT_FALSE(a("btnUndo").enabled);
    EXPECT_FALSE(a("btnRedo").enabled);
    EXPECT_EQ(u8(a("selMetaChar").items[kDigit]), "Digit");
    EXPECT_EQ(u8(a("selSymbol").items[0]), "\\");

    form->select("selMetaChar", kDigit);
    EXPECT_EQ(pattern(), "\\d");
    EXPECT_EQ(caret(), 2u);
    EXPECT_EQ(u8(a("txtExp").text), "Any digit 0-9");
    EXPECT_TRUE(a("btnUndo").enabled);
    form->selectText("txtTmpReg", 0, 2);
    form->select("selRepeat", kOneOrMore);
    EXPECT_EQ(pattern(), "\\d+");
    form->selectText("txtTmpReg", 0, 3);
    form->select("selLimit", kGroup);
    EXPECT_EQ(pattern(), "(\\d+)");
    EXPECT_EQ(caret(), 5u);
    EXPECT_EQ(a("txtTmpReg").selLength, 0u);

    for (const char* expected : {"\\d+", "\\d", ""}) {
        form->click("btnUndo");
        EXPECT_EQ(pattern(), expected);
    }
    EXPECT_FALSE(a("btnUndo").enabled);
    for (int i = 0; i < 3; ++i) form->click("btnRedo");
    EXPECT_EQ(pattern(), "(\\d+)");
    EXPECT_FALSE(a("btnRedo").enabled);

    w->typeText("inRepFrom", u"abc");
    form->click("btnOk");
    EXPECT_EQ(u8(c("inRepFrom").text), "abc(\\d+)");
    EXPECT_FALSE(form->shown());
}

TEST_F(RegAssistTest, TypedTextAndPresetsSurviveUndo) {
    form->typeText("txtTmpReg", u"ab");
    form->selectText("txtTmpReg", 2, 0);
    form->select("selMetaChar", kDigit);
    EXPECT_EQ(pattern(), "ab\\d");
    form->click("btnUndo");
    EXPECT_EQ(pattern(), "ab");  // the typed text is a step of its own

    form->select("selRegExp", kInteger);  // "Insert" unticked: replaces the pattern
    EXPECT_EQ(pattern(), "-?\\b\\d+\\b");
    form->selectText("txtTmpReg", 0, 0);
    form->select("selMetaChar", kDigit);
    EXPECT_EQ(pattern(), "\\d-?\\b\\d+\\b");
    form->click("btnUndo");
    EXPECT_EQ(pattern(), "-?\\b\\d+\\b");

    form->click("chkAdd");  // ticked: inserted at the caret as a step
    form->selectText("txtTmpReg", 0, 0);
    form->select("selRegExp", kInteger);
    EXPECT_EQ(pattern(), "-?\\b\\d+\\b-?\\b\\d+\\b");
    form->select("selRegExp", kNumbersHeading);  // a heading does nothing
    EXPECT_EQ(pattern(), "-?\\b\\d+\\b-?\\b\\d+\\b");
}

TEST_F(RegAssistTest, LibrariesAreReadOnceAndMissingOnesLeaveTheirListEmpty) {
    const std::size_t shipped = a("selMetaChar").items.size();
    std::filesystem::remove(program.path() / "lib" / "metachar.lib");
    RegAssist bare(*w, prompts, program.folder() + u"lib/");
    bare.open();
    EXPECT_TRUE(bare.shown());
    EXPECT_TRUE(bare.controls()["selMetaChar"].items.empty());
    EXPECT_FALSE(bare.controls()["selLimit"].items.empty());
    // The first assistant read its lists when it opened; a later change of the file is not seen.
    form->open();
    EXPECT_EQ(a("selMetaChar").items.size(), shipped);
    EXPECT_GT(shipped, 0u);
}

}  // namespace
}  // namespace lodestar
