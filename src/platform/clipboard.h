// The system clipboard, as text.
#pragma once

#include <string>

namespace lodestar {

class Clipboard {
  public:
    virtual ~Clipboard() = default;

    virtual bool hasText() const = 0;
    virtual std::u16string text() const = 0;
    virtual void setText(const std::u16string& text) = 0;
};

}  // namespace lodestar
