// Makes every allocation of this test program above a size fail with std::bad_alloc while an
// AllocationLimit lives, as allocations fail when memory runs out.
#pragma once

#include <cstddef>

namespace lodestar::testing {

class AllocationLimit {
  public:
    explicit AllocationLimit(std::size_t bytes);
    ~AllocationLimit();
    AllocationLimit(const AllocationLimit&) = delete;
    AllocationLimit& operator=(const AllocationLimit&) = delete;
};

}  // namespace lodestar::testing
