// A replace whose result outgrows memory is an error message, never an abort: this program's
// allocations fail on purpose above a limit the test sets, as they would when memory runs out.
#include <atomic>
#include <cstdlib>
#include <new>

#include "forms/main/window_fixture.h"

namespace {
std::atomic<std::size_t> allocationLimit{0};  // 0: no limit
}  // namespace

void* operator new(std::size_t size) {
    const std::size_t limit = allocationLimit.load();
    if (limit != 0 && size > limit) throw std::bad_alloc();
    if (void* p = std::malloc(size != 0 ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace lodestar::testing {
namespace {

class AllocationLimit {
  public:
    explicit AllocationLimit(std::size_t bytes) { allocationLimit = bytes; }
    ~AllocationLimit() { allocationLimit = 0; }
    AllocationLimit(const AllocationLimit&) = delete;
    AllocationLimit& operator=(const AllocationLimit&) = delete;
};

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
    EXPECT_NE(log().find("Err:Error in Replace.\r\n"), std::string::npos) << log().substr(0, 300);
    EXPECT_EQ(text("lblStatus"), "Error in Replace.");
    EXPECT_EQ(u8(w->txtDoc), original);
    EXPECT_FALSE(c("btnSave").enabled);
    EXPECT_EQ(docs.bytes("big.txt"), original);

    // The window goes on.
    find(u"a{2000}");
    EXPECT_EQ(w->matchCount, 1);
}

}  // namespace
}  // namespace lodestar::testing
