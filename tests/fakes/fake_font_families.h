// The fonts of a machine as a test lists them.
#pragma once

#include <string>
#include <vector>

#include "platform/font_families.h"

namespace lodestar::fakes {

class FakeFontFamilies : public FontFamilies {
  public:
    explicit FakeFontFamilies(std::vector<std::u16string> installed)
        : installed_(std::move(installed)) {}
    std::vector<std::u16string> families() const override { return installed_; }

  private:
    std::vector<std::u16string> installed_;
};

}  // namespace lodestar::fakes
