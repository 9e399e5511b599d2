// Enter, Esc and the access keys of every dialog, and what each dialog keeps after Cancel.
#include <gtest/gtest.h>

#include <cctype>
#include <set>

#include "forms/main/window_fixture.h"

namespace lodestar {
namespace {

using testing::u8;

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
