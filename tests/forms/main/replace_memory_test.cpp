// A replace whose result outgrows memory is an error message, never an abort: this program's
// allocations fail on purpose above a limit the test sets, as they would when memory runs out.
#include "forms/main/allocation_limit.h"
#include "forms/main/window_fixture.h"

namespace lodestar::testing {
namespace {

using ReplaceMemory = WindowTest;

TEST_F(ReplaceMemory, AReplacementThatOutgrowsMemoryIsReportedAndChangesNothing) {
    const std::string original(2000, 'a');
    openNew("big.txt", original);
    w->typeText("inRepFrom", u"x*");  // an empty match before every character
    w->typeText("inRepWith", std::u16string(20000, u'y'));
    prompts.answerOk();
    {
        const AllocationLimit limit(8 << 20);  // 40 million characters will not fit
        w->click("btnReplace");
    }
    // Memory runs out first, unless the engine refuses such growth before: either way the reason
    // follows the first line.
    EXPECT_NE(log().find("Err:Error in Replace.\r\n"), std::string::npos) << log().substr(0, 300);
    EXPECT_EQ(text("lblStatus"), "Error in Replace.");
    EXPECT_EQ(u8(w->document().text), original);
    EXPECT_FALSE(c("btnSave").enabled);
    EXPECT_EQ(docs.bytes("big.txt"), original);

    // The window goes on.
    find(u"a{2000}");
    EXPECT_EQ(w->file().matchCount(), 1);
}

}  // namespace
}  // namespace lodestar::testing
