// Parses and expands the dialect's replacement text.
#include "search/replacement.h"

#include "search/match_session.h"

namespace lodestar {
namespace {

bool isDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

}  // namespace

Replacement::Replacement(std::u16string_view text, std::size_t groupCount) : text_(text) {
    std::size_t i = 0;
    while (i < text_.size()) {
        const std::size_t dollar = text_.find(u'$', i);
        if (dollar == std::u16string::npos || dollar + 1 == text_.size()) {
            addLiteral(i, text_.size() - i);
            break;
        }
        addLiteral(i, dollar - i);
        const char16_t c = text_[dollar + 1];
        i = dollar + 2;
        if (c == u'$') {
            addLiteral(dollar, 1);
        } else if (c == u'&') {
            pieces_.push_back({Kind::Group, 0, 0});
        } else if (c == u'`') {
            pieces_.push_back({Kind::Before, 0, 0});
        } else if (c == u'\'') {
            pieces_.push_back({Kind::After, 0, 0});
        } else if (isDigit(c)) {
            // Two digits when that group exists, else one digit when that group exists
            // ("$10" with one group is group 1 and "0"); "$0" and missing groups stay literal.
            const std::size_t one = c - u'0';
            const bool twoDigits = dollar + 2 < text_.size() && isDigit(text_[dollar + 2]);
            const std::size_t two = twoDigits ? one * 10 + (text_[dollar + 2] - u'0') : 0;
            if (twoDigits && two >= 1 && two <= groupCount) {
                pieces_.push_back({Kind::Group, two, 0});
                i = dollar + 3;
            } else if (one >= 1 && one <= groupCount) {
                pieces_.push_back({Kind::Group, one, 0});
            } else {
                addLiteral(dollar, 1);
                i = dollar + 1;
            }
        } else {
            addLiteral(dollar, 1);  // any other "$" is itself; what follows is read again
            i = dollar + 1;
        }
    }
}

void Replacement::addLiteral(std::size_t first, std::size_t length) {
    if (length == 0) return;
    if (!pieces_.empty() && pieces_.back().kind == Kind::Literal &&
        pieces_.back().first + pieces_.back().length == first) {
        pieces_.back().length += length;
        return;
    }
    pieces_.push_back({Kind::Literal, first, length});
}

void Replacement::appendTo(std::u16string& out, std::u16string_view subject,
                           const std::size_t* offsets) const {
    for (const Piece& piece : pieces_) {
        switch (piece.kind) {
            case Kind::Literal:
                out.append(text_, piece.first, piece.length);
                break;
            case Kind::Group: {
                const std::size_t begin = offsets[2 * piece.first];
                const std::size_t end = offsets[2 * piece.first + 1];
                if (begin != kNoOffset) out.append(subject.substr(begin, end - begin));
                break;
            }
            case Kind::Before:
                out.append(subject.substr(0, offsets[0]));
                break;
            case Kind::After:
                out.append(subject.substr(offsets[1]));
                break;
        }
    }
}

std::size_t Replacement::expandedLength(std::u16string_view subject,
                                        const std::size_t* offsets) const {
    std::size_t length = 0;
    for (const Piece& piece : pieces_) {
        switch (piece.kind) {
            case Kind::Literal:
                length += piece.length;
                break;
            case Kind::Group:
                if (offsets[2 * piece.first] != kNoOffset)
                    length += offsets[2 * piece.first + 1] - offsets[2 * piece.first];
                break;
            case Kind::Before:
                length += offsets[0];
                break;
            case Kind::After:
                length += subject.size() - offsets[1];
                break;
        }
    }
    return length;
}

}  // namespace lodestar
