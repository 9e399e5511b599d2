// Hands a file or web address to the desktop's default program.
#pragma once

#include <string>

namespace lodestar {

class Shell {
  public:
    virtual ~Shell() = default;

    // False when no program could be asked to open the address (no launcher, no browser).
    virtual bool open(const std::u16string& address) = 0;
};

}  // namespace lodestar
