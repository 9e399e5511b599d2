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
    // Every dialog, opened as the user opens it.
    std::vector<Form*> openAll() {
        w->click("btnOpenFolder");
        ws->exportForm().show();
        ws->optionSetting().open();
        ws->assistant().open();
        return {&ws->folder().picker(), &ws->exportForm(), &ws->optionSetting(), &ws->assistant()};
    }
    std::vector<std::string> messages() const {
        std::vector<std::string> texts;
        for (const auto& p : prompts.asked)
            if (p.kind == "message") texts.push_back(u8(p.text));
        return texts;
    }
};

TEST_F(DialogKeys, EachDialogHasADefaultAndACancelButtonAndDistinctAccessKeysInItsCaptions) {
    for (Form* form : openAll()) {
        SCOPED_TRACE(form->name());
        const ControlModel& c = form->controls();
        for (const std::string& key : {form->defaultButton(), form->cancelButton()}) {
            ASSERT_TRUE(c.has(key));
            EXPECT_EQ(c[key].kind, ControlKind::Button);
            EXPECT_TRUE(c[key].visible);
        }
        EXPECT_NE(form->defaultButton(), form->cancelButton());
        std::set<char16_t> used;
        for (const std::string& name : c.names()) {
            const Control& k = c[name];
            if (k.kind != ControlKind::Button && k.kind != ControlKind::CheckBox) continue;
            if (k.kind == ControlKind::Button) {
                EXPECT_NE(k.accessKey, 0) << name;
            }
            if (k.accessKey == 0) continue;
            const char16_t lower = static_cast<char16_t>(std::tolower(k.accessKey));
            EXPECT_TRUE(used.insert(lower).second) << name << " repeats its access key";
            std::u16string caption = k.text;
            for (char16_t& ch : caption) ch = static_cast<char16_t>(std::tolower(ch));
            EXPECT_NE(caption.find(lower), std::u16string::npos) << name;
        }
    }
}

TEST_F(DialogKeys, EscClosesEachDialogAsItsCancelDoesAndKeepsNothingOfWhatWasChanged) {
    const std::uint8_t steps = w->currentOptions().keptSteps;
    for (Form* form : openAll()) {
        SCOPED_TRACE(form->name());
        form->pressEscape();
        EXPECT_FALSE(form->shown());
    }
    // What Cancel left in the options is not shown at the next opening.
    OptionSetting& options = ws->optionSetting();
    options.open();
    options.typeText("txtSteps", u"7");
    options.pressEscape();
    options.open();
    EXPECT_EQ(options.controls()["txtSteps"].text, decimal(steps));
    EXPECT_EQ(w->currentOptions().keptSteps, steps);
}

TEST_F(DialogKeys, EnterPressesTheDefaultButtonOrTheFocusedOneOrStaysInABoxThatActsOnIt) {
    openAll();
    // In a text box of the options: OK, which applies the box.
    OptionSetting& options = ws->optionSetting();
    options.typeText("txtSteps", u"7");
    options.pressEnter("txtSteps");
    EXPECT_FALSE(options.shown());
    EXPECT_EQ(w->currentOptions().keptSteps, 7);

    // In the export dialog's delimiter box: Export, which asks for the file first.
    ExportForm& exporter = ws->exportForm();
    exporter.pressEnter("inDelimiter");
    EXPECT_EQ(messages(), std::vector<std::string>{"Please specify your export file name."});
    EXPECT_TRUE(exporter.shown());

    // On a focused button of the assistant: that button, not OK.
    RegAssist& assistant = ws->assistant();
    w->typeText("inRepFrom", u"");
    assistant.select("selMetaChar", 0);
    assistant.pressEnter("btnUndo");
    EXPECT_TRUE(assistant.shown());
    EXPECT_EQ(assistant.controls()["txtTmpReg"].text, u"");
    assistant.pressEnter("selMetaChar");
    EXPECT_FALSE(assistant.shown());

    // In the picker's own type box: the type is taken and the picker stays; in the tree: OK.
    put("a.txt", "x");
    FolderDlg& picker = ws->folder().picker();
    picker.typeText("Dir1", docs.folder());
    picker.select("filter", 5);
    picker.typeText("newfilter", u"txt");
    picker.pressEnter("newfilter");
    EXPECT_TRUE(picker.shown());
    EXPECT_EQ(picker.controls()["File1"].items, std::vector<std::u16string>{u"a.txt"});
    picker.pressEnter("Dir1");
    EXPECT_FALSE(picker.shown());
    EXPECT_EQ(ws->folder().folder(), docs.folder());
}

TEST_F(DialogKeys, ExportHidesTheWholeDelimiterFrameForXmlAndTheAssistantExplainsOnlyItsPick) {
    ExportForm& exporter = ws->exportForm();
    const auto& types = exporter.controls()["selExType"].items;
    for (std::size_t i = 0; i < types.size(); ++i) {
        exporter.select("selExType", static_cast<int>(i));
        EXPECT_EQ(exporter.controls()["framDelimiter"].visible, types[i] != u"XML") << u8(types[i]);
    }

    RegAssist& assistant = ws->assistant();
    assistant.open();
    const ControlModel& a = assistant.controls();
    assistant.select("selMetaChar", 0);
    EXPECT_EQ(u8(a["txtExp"].text), "Any digit 0-9");
    assistant.click("btnUndo");
    EXPECT_EQ(a["txtExp"].text, u"");  // the undone entry is no longer explained
    // A heading of the presets is not kept as chosen and changes nothing.
    assistant.select("selRegExp", 0);
    EXPECT_EQ(a["selRegExp"].selected, -1);
    EXPECT_EQ(a["txtTmpReg"].text, u"");
}

}  // namespace
}  // namespace lodestar
