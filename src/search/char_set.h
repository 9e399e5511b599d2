// Sets of UTF-16 code units as sorted ranges: the contents of a bracket class and of the
// dialect's \d \w \s, which the pattern translator spells out for PCRE2.
#pragma once

#include <initializer_list>
#include <vector>

namespace lodestar {

class CharSet {
  public:
    struct Range {
        char32_t first;
        char32_t last;  // inclusive
        bool operator==(const Range&) const = default;
    };
    static constexpr char32_t kLastCodeUnit = 0xFFFF;

    CharSet() = default;
    CharSet(std::initializer_list<Range> ranges);

    static CharSet digits();  // \d: 0-9
    static CharSet word();    // \w: A-Z a-z 0-9 _
    static CharSet space();   // \s: the white space and line terminators of the dialect

    void add(char32_t c) { add(c, c); }
    void add(char32_t first, char32_t last);
    void add(const CharSet& other);
    void remove(char32_t c);

    CharSet complement() const;
    bool contains(char32_t c) const;
    bool empty() const { return ranges_.empty(); }
    bool full() const;
    const std::vector<Range>& ranges() const { return ranges_; }

  private:
    std::vector<Range> ranges_;  // sorted, disjoint, not adjacent
};

}  // namespace lodestar
