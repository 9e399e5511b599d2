// The source view's "invisible characters" display: line ends, spaces and tabs shown as marks.
#pragma once

#include <string>
#include <string_view>

namespace lodestar {

// CR becomes "↓" (U+2193); LF becomes "』" (U+300F) followed by the LF, so lines still break;
// a space becomes "·" (U+00B7); a TAB becomes six low lines and a space. All else is kept.
std::u16string toInvisibleMarks(std::u16string_view text);

}  // namespace lodestar
