// What the pattern assistant sees of the main window: the pattern box, to append to.
#pragma once

#include <string>

namespace lodestar {

class PatternBox {
  public:
    virtual ~PatternBox() = default;
    virtual const std::u16string& patternText() const = 0;
    // As if the user had typed `text` into the box.
    virtual void typePattern(const std::u16string& text) = 0;
};

}  // namespace lodestar
