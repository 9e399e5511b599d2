// The replace as a folder run's transform: the expression's matches replaced in each file's
// text, counted first when the user asked for counts.
#pragma once

#include <string>
#include <string_view>

#include "runs/run_driver.h"
#include "search/regexp.h"

namespace lodestar {

// With counting a file without matches is passed by unchanged and each file's outcome carries
// its count; without it every file is rewritten uncounted.
class ReplaceTransform : public TextTransform {
  public:
    ReplaceTransform(const RegExp& expr, std::u16string_view replacement, bool countMatches = true)
        : expr_(expr), replacement_(replacement), counts_(countMatches) {}

    std::unique_ptr<TextTransform> copy() const override {
        return std::make_unique<ReplaceTransform>(*this);
    }
    FileRun run() const override { return FileRun::Replace; }
    bool counts() const override { return counts_; }
    std::size_t count(std::u16string_view text) override { return expr_.count(text); }
    std::optional<BytePrefilter> prefilter() const override {
        // Only when a match always holds a literal.
        return BytePrefilter::forPattern(expr_.pattern(), expr_.ignoreCase());
    }
    std::u16string apply(std::u16string_view text) override {
        return expr_.replace(text, replacement_);
    }

  private:
    RegExp expr_;  // each copy matches on its own thread; the copies share the compiled pattern
    std::u16string replacement_;
    bool counts_;
};

}  // namespace lodestar
