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

    // The piece in which item k starts: the last piece whose first item is at most k.
    std::size_t pieceOfItem(std::size_t item) const {
        std::size_t lo = 0, hi = pieceCount();
        while (lo < hi) {
            const std::size_t mid = (lo + hi) / 2;
            if (outline(mid).first <= item)
                lo = mid + 1;
            else
                hi = mid;
        }
        return lo > 0 ? lo - 1 : 0;
    }
};

}  // namespace lodestar
