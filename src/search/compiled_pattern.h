// A dialect pattern translated and compiled by PCRE2 (16-bit library, JIT when available):
// built once per pattern and switch change and shared, read-only, by every RegExp copy and
// thread that matches with it.
#pragma once

#include <cstddef>
#include <string_view>

struct pcre2_real_code_16;

namespace lodestar {

class CompiledPattern {
  public:
    // Throws RegExpError with the position in `pattern` when it cannot be compiled.
    CompiledPattern(std::u16string_view pattern, bool ignoreCase, bool multiline);
    ~CompiledPattern();
    CompiledPattern(const CompiledPattern&) = delete;
    CompiledPattern& operator=(const CompiledPattern&) = delete;

    const pcre2_real_code_16* code() const { return code_; }
    bool jitCompiled() const { return jit_; }
    std::size_t groupCount() const { return groupCount_; }

  private:
    pcre2_real_code_16* code_ = nullptr;
    bool jit_ = false;
    std::size_t groupCount_ = 0;
};

}  // namespace lodestar
