// The program's own operator new and delete, in a file of their own so that no caller sees
// through them.
#include "forms/main/allocation_limit.h"

#include <atomic>
#include <cstdlib>
#include <new>

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

AllocationLimit::AllocationLimit(std::size_t bytes) {
    allocationLimit = bytes;
}
AllocationLimit::~AllocationLimit() {
    allocationLimit = 0;
}

}  // namespace lodestar::testing
