// The font families installed on the machine, for the lists that offer a font.
#pragma once

#include <string>
#include <vector>

namespace lodestar {

class FontFamilies {
  public:
    virtual ~FontFamilies() = default;

    // Every family once: the fixed-pitch ones first (they suit source text), then the others,
    // each group in alphabetical order.
    virtual std::vector<std::u16string> families() const = 0;
};

}  // namespace lodestar
