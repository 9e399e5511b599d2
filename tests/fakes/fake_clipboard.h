// An in-memory clipboard.
#pragma once

#include <optional>
#include <string>

#include "platform/clipboard.h"

namespace lodestar::fakes {

class FakeClipboard : public Clipboard {
  public:
    bool hasText() const override { return content.has_value(); }
    std::u16string text() const override { return content.value_or(u""); }
    void setText(const std::u16string& text) override {
        content = text;
        ++writes;
    }

    std::optional<std::u16string> content;
    int writes = 0;
};

}  // namespace lodestar::fakes
