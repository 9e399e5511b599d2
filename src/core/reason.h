// Why something failed, in words for the log: the exception's own message, or a plain note
// when memory ran out (whose message says nothing to a user).
#pragma once

#include <exception>
#include <new>
#include <string>

#include "core/text.h"

namespace lodestar {

inline std::u16string reasonOf(const std::exception& e) {
    if (dynamic_cast<const std::bad_alloc*>(&e)) return u"Not enough memory.";
    return fromUtf8(e.what());
}

}  // namespace lodestar
