// A shell that records the addresses it was asked to open, and answers as a desktop with or
// without a program to open them would.
#pragma once

#include <string>
#include <vector>

#include "platform/shell.h"

namespace lodestar::fakes {

class FakeShell : public Shell {
  public:
    bool open(const std::u16string& address) override {
        opened.push_back(address);
        return opens;
    }
    std::vector<std::u16string> opened;
    bool opens = true;
};

}  // namespace lodestar::fakes
