// The commands' twins: a button and its menu entry are one command and cannot drift apart,
// whichever of the two the window sets; a run stands the conflicting ones down and gives each
// back as it was.
#include "forms/main/window_fixture.h"

namespace lodestar::testing {
namespace {

using Commands = WindowTest;

const std::pair<const char*, const char*> kTwins[] = {
    {"selFile", "mOpenFile"},   {"btnOpenFolder", "mOpenFolder"},
    {"btnSave", "mSave"},       {"btnFind", "mFind"},
    {"btnReplace", "mReplace"}, {"btnRestore", "mRestore"},
    {"btnAction", "mAction"},   {"btnExp", "mExp"},
    {"btnNext", "mNext"},       {"btnPrev", "mPrev"},
    {"View_FS", "mFsrc"},       {"View_ML", "mMlist"},
    {"btnViewIn", "mViewIn"},   {"btnWrap", "mWrap"},
    {"btnStop", "mStop"}};

TEST_F(Commands, ARunStandsTheConflictingCommandsDownAndGivesEachBack) {
    openNew("a.txt", "abc");
    std::vector<bool> before;
    for (const auto& twin : kTwins) before.push_back(c(twin.first).enabled);
    w->setRunning(true);
    for (const char* name : {"btnFind", "mOpenFile", "mClose", "mOptions", "inputPath"})
        EXPECT_FALSE(c(name).enabled) << name;
    EXPECT_TRUE(c("btnStop").enabled && c("mStop").enabled && c("btnStop").visible);
    w->setRunning(false);
    for (std::size_t i = 0; i < std::size(kTwins); ++i)
        EXPECT_EQ(c(kTwins[i].first).enabled, before[i]) << kTwins[i].first;
    EXPECT_TRUE(c("inputPath").enabled);
}

}  // namespace
}  // namespace lodestar::testing
