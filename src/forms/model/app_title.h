// The caption of message boxes that carry the program's title.
#pragma once

namespace lodestar {

inline constexpr char16_t kAppTitle[] = u"Lodestar";

}  // namespace lodestar
