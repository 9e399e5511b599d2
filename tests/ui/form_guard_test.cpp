// The guard around every call from the skin into the form: a failure becomes a log entry with
// its reason, the caller gets its fallback answer, and nothing escapes into the event loop.
#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

#include "core/text.h"
#include "fakes/fake_clipboard.h"
#include "fakes/fake_shell.h"
#include "fakes/fake_timer.h"
#include "fakes/scripted_prompts.h"
#include "ui/form_guard.h"

namespace lodestar::ui {
namespace {

class FormGuardTest : public ::testing::Test {
  protected:
    std::string log() const { return toUtf8(form.controls()["logger"].text); }

    fakes::ScriptedPrompts prompts;
    fakes::FakeClipboard clipboard;
    fakes::FakeTimer timer;
    fakes::FakeShell shell;
    MainWindow form{u"/nonexistent/", WindowServices{prompts, clipboard, timer, shell}};
};

TEST_F(FormGuardTest, AFailureBecomesALogEntryWithItsReasonAndTheFallback) {
    struct Case {
        const char* name;
        std::function<bool()> call;
        const char* reason;
    };
    const Case cases[] = {
        {"an engine error", []() -> bool { throw Error("the disk is gone"); }, "the disk is gone"},
        {"memory exhaustion", []() -> bool { throw std::bad_alloc(); }, "Not enough memory."},
        {"not an exception class", []() -> bool { throw 42; }, "An unknown failure."},
    };
    for (const Case& c : cases) {
        const std::size_t before = log().size();
        EXPECT_FALSE(guarded(form, false, c.call)) << c.name;
        EXPECT_EQ(log().substr(before),
                  std::string("Err:The last action failed.\r\n") + c.reason + "\r\n")
            << c.name;
        EXPECT_EQ(toUtf8(form.controls()["lblStatus"].text), "The last action failed.");
    }
}

TEST_F(FormGuardTest, ACallThatSucceedsGivesItsOwnAnswerAndLogsNothing) {
    EXPECT_TRUE(guarded(form, false, [] { return true; }));
    int runs = 0;
    guarded(form, [&] { ++runs; });
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(log(), "");
}

}  // namespace
}  // namespace lodestar::ui
