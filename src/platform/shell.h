// Hands a file or web address to the desktop's default program.
#pragma once

#include <string>

namespace lodestar {

class Shell {
  public:
    virtual ~Shell() = default;

    virtual void open(const std::u16string& address) = 0;
};

}  // namespace lodestar
