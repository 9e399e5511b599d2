// A shell that records the addresses it was asked to open.
#pragma once

#include <string>
#include <vector>

#include "platform/shell.h"

namespace lodestar::fakes {

class FakeShell : public Shell {
  public:
    void open(const std::u16string& address) override { opened.push_back(address); }
    std::vector<std::u16string> opened;
};

}  // namespace lodestar::fakes
