// The dialect's replacement text: "$1".."$99", "$&", "$`", "$'" and "$$", parsed once per
// replace and expanded for each match without further allocation.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace lodestar {

class Replacement {
  public:
    // `groupCount` is the number of capturing groups of the pattern: it decides whether "$12"
    // is group 12, group 1 followed by "2", or literal text.
    Replacement(std::u16string_view text, std::size_t groupCount);

    // Appends the expansion for one match of `subject`. `offsets` holds begin and end of the
    // whole match and of each group (kNoOffset for a group that took no part).
    void appendTo(std::u16string& out, std::u16string_view subject,
                  const std::size_t* offsets) const;
    // The number of code units appendTo would add for that match.
    std::size_t expandedLength(std::u16string_view subject, const std::size_t* offsets) const;

  private:
    enum class Kind { Literal, Group, Before, After };
    struct Piece {
        Kind kind;
        std::size_t first;   // Literal: start in text_; Group: group number (0 = whole match)
        std::size_t length;  // Literal only
    };
    void addLiteral(std::size_t first, std::size_t length);

    std::u16string text_;
    std::vector<Piece> pieces_;
};

}  // namespace lodestar
