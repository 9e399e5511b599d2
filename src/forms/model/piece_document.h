// A long pane document kept by the program and shown by the page a piece at a time.
#pragma once

#include <cstddef>
#include <string>

#include "platform/pane_host.h"

namespace lodestar {

class PieceDocument {
  public:
    virtual ~PieceDocument() = default;
    virtual std::size_t pieceCount() const = 0;
    virtual PieceOutline outline(std::size_t piece) const = 0;
    virtual std::u16string html(std::size_t piece) const = 0;
    // The items the pieces hold (marks of the source view, entries of the match list).
    virtual std::size_t itemCount() const = 0;
};

}  // namespace lodestar
