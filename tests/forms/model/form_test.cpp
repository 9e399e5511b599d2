// The form base: events reach a form only through enabled, known controls; showing and hiding
// go through the host.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/scripted_prompts.h"
#include "forms/model/form.h"

namespace lodestar {
namespace {

// A form with one control of each kind it reacts to, recording what reached its handlers.
class ProbeForm : public Form {
  public:
    explicit ProbeForm(Prompts& prompts) : Form("Probe", prompts) {
        add("Probe", ControlKind::Frame);
        add("btnGo", ControlKind::Button);
        add("chkMine", ControlKind::CheckBox);
        add("box", ControlKind::TextBox);
        Control& list = add("pick", ControlKind::Combo);
        controls().setItems(list.name, {u"a", u"b"});
    }
    std::vector<std::string> seen;

  protected:
    void onClick(const std::string& c) override { seen.push_back("click " + c); }
    void onTextChanged(const std::string& c) override { seen.push_back("text " + c); }
    void onSelect(const std::string& c) override { seen.push_back("select " + c); }
    void onEnter(const std::string& c) override { seen.push_back("enter " + c); }
    void onFocusLost(const std::string& c) override { seen.push_back("blur " + c); }

  private:
    Control& add(const char* name, ControlKind kind) {
        Control c;
        c.name = name;
        c.kind = kind;
        return controls().add(std::move(c));
    }
};

TEST(Form, EventsReachTheFormOnlyThroughEnabledKnownControls) {
    fakes::ScriptedPrompts prompts;
    ProbeForm form(prompts);
    form.click("chkMine");
    EXPECT_TRUE(form.controls()["chkMine"].checked);  // a check box flips before its handler
    form.click("btnGo");
    form.click("nothing");
    form.typeText("box", u"txt");
    form.enter("box");
    form.focusLost("box");
    form.select("pick", 1);
    form.select("pick", 2);  // no such item
    form.controls().setEnabled("btnGo", false);
    form.click("btnGo");
    EXPECT_EQ(form.seen, (std::vector<std::string>{"click chkMine", "click btnGo", "text box",
                                                   "enter box", "blur box", "select pick"}));
    EXPECT_EQ(form.controls()["box"].text, u"txt");
    EXPECT_EQ(form.controls()["pick"].selected, 1);
}

}  // namespace
}  // namespace lodestar
