// The options dialog, and Enter, Esc and the access keys of every dialog.
#include <gtest/gtest.h>

#include <cctype>
#include <set>

#include "fakes/desktop_fakes.h"
#include "forms/main/window_fixture.h"
#include "forms/options/option_setting.h"

namespace lodestar {
namespace {

using testing::u8;

class OptionSettingTest : public testing::WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        w->setFontFamilies(&fonts);
        form = &ws->optionSetting();
    }
    const Control& o(const std::string& name) const { return form->controls()[name]; }
    std::string entry(const std::string& name) const {
        const Control& c = o(name);
        return c.selected < 0 ? "" : u8(c.items[c.selected]);
    }
    std::string userFile() const { return program.bytes("config/lodestar/lodestar.opt"); }

    OptionSetting* form = nullptr;
    fakes::FakeFontFamilies fonts{{u"DejaVu Sans Mono", u"Liberation Mono", u"DejaVu Sans",
                                   u"FreeSans", u"Arial", u"Georgia"}};
};

TEST_F(OptionSettingTest, OkTakesShowsAndWritesTheUsersFile) {
    openNew("page.htm", "<b>x</b>");
    form->open();
    form->click("Check2");  // backups off
    form->typeText("txtBak", u"  saved  ");
    EXPECT_EQ(form->controls()["txtSteps"].text, u"10");
    form->typeText("txtSteps", u" 4 ");
    form->select("selFont", 5);         // Georgia
    form->select("selRegFontName", 5);  // Arial, after the box's own Courier New
    form->select("selRegFontSize", 12 - 8);
    form->click("countChk");  // counting off
    form->click("Command1");

    EXPECT_FALSE(form->shown());
    EXPECT_FALSE(w->currentOptions().backupOnReplace);
    EXPECT_EQ(w->currentOptions().backupFolder, u"saved");
    EXPECT_TRUE(w->currentOptions().noCountOnReplace);
    EXPECT_EQ(source().codeFont(), u"Georgia");  // seen at once
    EXPECT_EQ(c("inRepFrom").fontName, u"Arial");
    EXPECT_EQ(c("inRepFrom").fontSize, 12);
    EXPECT_EQ(w->currentOptions().keptSteps, 4);
    EXPECT_EQ(userFile(), "False\r\nsaved\r\nTrue\r\nGeorgia\r\n1\r\n0\r\nArial\r\n12\r\n4\r\n");
    EXPECT_FALSE(std::filesystem::exists(program.path() / "lodestar.opt"));

    // The next start reads the user's file back.
    MainWindow next(program.folder(), {prompts, clipboard, timer, shell});
    next.load();
    EXPECT_EQ(next.currentOptions().backupFolder, u"saved");
    EXPECT_EQ(next.currentOptions().sourceFont, u"Georgia");
    EXPECT_TRUE(next.currentOptions().noCountOnReplace);
    EXPECT_EQ(next.controls()["inRepFrom"].fontName, u"Arial");
    EXPECT_EQ(next.controls()["inRepFrom"].fontSize, 12);
}

TEST_F(OptionSettingTest, TheSyntaxSwitchRendersAgainOnlyWhileTheSourceViewIsShown) {
    openNew("page.htm", "<b>x</b>");
    form->open();
    for (bool shown : {true, false}) {
        w->controls().setVisible("SuperMonitor", shown);
        const int before = w->statusRepaints();
        form->click("syntaxChk");
        form->click("Command1");
        EXPECT_EQ(w->currentOptions().showSyntax, !shown);
        EXPECT_EQ(w->statusRepaints() > before, shown) << shown;
        form->open();
    }
}

TEST_F(OptionSettingTest, AFailedSaveSaysSoAndKeepsTheDialogsValues) {
    program.put("config", "a file where the folder should be");
    form->open();
    form->typeText("txtBak", u" mine");
    form->click("Command1");
    ASSERT_EQ(prompts.asked.size(), 1u);
    EXPECT_EQ(prompts.asked[0].kind, "message");
    EXPECT_EQ(u8(prompts.asked[0].text).find("The options could not be saved to "), 0u);
    EXPECT_TRUE(form->shown());
    EXPECT_EQ(u8(o("txtBak").text), " mine");
}

// Enter, Esc and the access keys of every dialog, and what each dialog keeps after Cancel.
class DialogKeys : public testing::WindowTest {
  protected:
    std::vector<Form*> openAll() {
        w->click("btnOpenFolder");
        ws->exportForm().show();
        ws->optionSetting().open();
        ws->assistant().open();
        return {&ws->folder().picker(), &ws->exportForm(), &ws->optionSetting(), &ws->assistant()};
    }
};

TEST_F(DialogKeys, EachDialogHasItsKeyButtonsAndDistinctAccessKeysAndEscIsItsCancel) {
    for (Form* form : openAll()) {
        SCOPED_TRACE(form->name());
        const ControlModel& c = form->controls();
        EXPECT_EQ(c[form->defaultButton()].kind, ControlKind::Button);
        EXPECT_EQ(c[form->cancelButton()].kind, ControlKind::Button);
        std::set<int> used;
        for (const std::string& name : c.names()) {
            const Control& k = c[name];
            if (k.kind != ControlKind::Button && k.kind != ControlKind::CheckBox) continue;
            EXPECT_TRUE(k.accessKey != 0 || k.kind == ControlKind::CheckBox) << name;
            if (k.accessKey == 0) continue;
            const int key = std::tolower(k.accessKey);
            EXPECT_TRUE(used.insert(key).second) << name << " repeats its access key";
            EXPECT_TRUE(std::any_of(k.text.begin(), k.text.end(), [key](char16_t ch) {
                return std::tolower(ch) == key;
            })) << name;
        }
        form->pressEscape();
        EXPECT_FALSE(form->shown());
    }
}

TEST_F(DialogKeys, EnterInABoxPressesTheDefaultButtonAndCancelledOptionsAreNotShownAgain) {
    const std::uint8_t steps = w->currentOptions().keptSteps;
    OptionSetting& options = ws->optionSetting();
    options.open();
    options.typeText("txtSteps", u"7");
    options.pressEscape();
    options.open();
    EXPECT_EQ(options.controls()["txtSteps"].text, decimal(steps));
    options.typeText("txtSteps", u"7");
    options.pressEnter("txtSteps");
    EXPECT_FALSE(options.shown());
    EXPECT_EQ(w->currentOptions().keptSteps, 7);

    ws->exportForm().show();
    ws->exportForm().pressEnter("inDelimiter");  // Export, which asks for the file first
    EXPECT_EQ(u8(prompts.asked.back().text), "Please specify your export file name.");
}

TEST_F(DialogKeys, TheAssistantExplainsOnlyItsPick) {
    RegAssist& assistant = ws->assistant();
    assistant.open();
    const ControlModel& a = assistant.controls();
    assistant.select("selMetaChar", 0);
    EXPECT_EQ(u8(a["txtExp"].text), "Any digit 0-9");
    assistant.click("btnUndo");
    EXPECT_EQ(a["txtExp"].text, u"");  // the undone entry is no longer explained
    assistant.select("selRegExp", 0);  // a heading is not kept as chosen
    EXPECT_EQ(a["selRegExp"].selected, -1);
}

}  // namespace
}  // namespace lodestar
