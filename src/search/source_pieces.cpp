// Cutting a rendered body into self-contained pieces.
#include "search/source_pieces.h"

#include <algorithm>
#include <array>

#include "core/text.h"

namespace lodestar {
namespace {

// The highlight elements open at a point of the body, in the order they were opened, and
// whether a match is open there. Inside a match the highlight elements were all opened after
// the match's own em, so they close before it.
class OpenElements {
  public:
    void apply(std::u16string_view tag) {
        const bool closing = tag.size() > 1 && tag[1] == u'/';
        const std::u16string_view name = tag.substr(closing ? 2 : 1);
        if (name.substr(0, 2) == u"em") {
            matchOpen_ = !closing;
            return;
        }
        const char16_t kind = name.empty() ? u'\0' : name[0];
        if (kind != u'b' && kind != u'i' && kind != u'u' && kind != u's') return;
        if (!closing) {
            runs_.push_back(kind);
            return;
        }
        for (auto it = runs_.rbegin(); it != runs_.rend(); ++it) {
            if (*it == kind) {
                runs_.erase(std::next(it).base());
                return;
            }
        }
    }
    void writeCloses(std::u16string& out) const {
        for (auto it = runs_.rbegin(); it != runs_.rend(); ++it) {
            out += u"</";
            out += *it;
            out += u'>';
        }
        if (matchOpen_) out += u"</em>";
    }
    void writeOpens(std::u16string& out, std::size_t openMark) const {
        if (matchOpen_) out += markStart(openMark);
        for (char16_t kind : runs_) {
            out += u'<';
            out += kind;
            out += u'>';
        }
    }
    static std::u16string markStart(std::size_t mark) {
        return u"<em data-k=" + decimal(static_cast<long long>(mark)) + u">";
    }

  private:
    std::u16string runs_;
    bool matchOpen_ = false;
};

bool continuesReference(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
           c == u'#' || c == u';';
}

}  // namespace

SourcePieces splitSourceBody(std::u16string_view body, std::size_t maxLines,
                             std::size_t maxCharacters) {
    SourcePieces result;
    OpenElements open;
    SourcePiece piece;
    std::size_t marks = 0;
    bool inReference = false;  // after "&", up to the end of its name or number
    bool lineOpen = false;

    auto cut = [&] {
        open.writeCloses(piece.html);
        if (lineOpen) ++piece.lines;
        result.pieces.push_back(std::move(piece));
        piece = SourcePiece();
        piece.firstMark = marks;
        open.writeOpens(piece.html, marks - 1);
        lineOpen = false;
    };

    for (std::size_t p = 0; p < body.size();) {
        if (!inReference) {
            // Plain characters up to the next tag, line break or reference go in as one run,
            // stopping short of the length at which a long line is cut.
            const std::size_t room =
                maxCharacters > piece.characters + 1 ? maxCharacters - piece.characters - 1 : 0;
            const std::u16string_view ahead = body.substr(p, room);
            const std::size_t run = std::min(ahead.find_first_of(u"<\n&"), ahead.size());
            if (run > 0) {
                piece.html.append(ahead.substr(0, run));
                piece.characters += run;
                lineOpen = true;
                p += run;
                continue;
            }
        }
        const char16_t c = body[p];
        if (c == u'<') {
            std::size_t end = body.find(u'>', p);
            end = end == std::u16string_view::npos ? body.size() : end + 1;
            const std::u16string_view tag = body.substr(p, end - p);
            open.apply(tag);
            if (tag == u"<em>") {
                piece.html += OpenElements::markStart(marks++);
            } else {
                piece.html += tag;
            }
            p = end;
            continue;
        }
        inReference = c == u'&' || (inReference && c != u';' && continuesReference(c));
        piece.html += c;
        ++piece.characters;
        ++p;
        if (c == u'\n') {
            ++piece.lines;
            lineOpen = false;
            if (piece.lines >= maxLines && p < body.size()) cut();
            continue;
        }
        lineOpen = true;
        const bool midReference = inReference && p < body.size() && continuesReference(body[p]);
        const bool inPair = c >= 0xD800 && c < 0xDC00;
        if (piece.characters >= maxCharacters && !midReference && !inPair && p < body.size()) cut();
    }
    if (lineOpen) ++piece.lines;
    if (!piece.html.empty() || result.pieces.empty()) result.pieces.push_back(std::move(piece));
    result.markCount = marks;
    return result;
}

}  // namespace lodestar
