// Finding lines in a text and measuring them in printed bytes.
#include "search/line_index.h"

#include <algorithm>
#include <cstring>

namespace lodestar {

std::size_t utf8Length(std::u16string_view text) {
    std::size_t bytes = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        if (unit < 0x80) {
            bytes += 1;
        } else if (unit < 0x800) {
            bytes += 2;
        } else if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() &&
                   text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            bytes += 4;
            ++i;
        } else if (unit >= 0xDC80 && unit <= 0xDCFF) {
            bytes += 1;
        } else {
            bytes += 3;
        }
    }
    return bytes;
}

namespace {

// The next line feed from `from` on, or npos: memchr over the code units' bytes, which is far
// quicker than a loop over the code units.
std::size_t nextFeed(std::u16string_view text, std::size_t from) {
    const char* bytes = reinterpret_cast<const char*>(text.data());
    const std::size_t size = text.size() * 2;
    for (std::size_t at = from * 2; at < size;) {
        const void* found = std::memchr(bytes + at, '\n', size - at);
        if (found == nullptr) break;
        const std::size_t byte = static_cast<std::size_t>(static_cast<const char*>(found) - bytes);
        if (byte % 2 == 0 && text[byte / 2] == u'\n') return byte / 2;
        at = byte + 1;
    }
    return std::u16string_view::npos;
}

}  // namespace

bool LineIndex::extend() {
    if (scanned_) return false;
    const std::size_t feed = nextFeed(text_, starts_.back());
    if (feed == std::u16string_view::npos || feed + 1 == text_.size()) {
        scanned_ = true;
        return false;
    }
    starts_.push_back(feed + 1);
    return true;
}

std::size_t LineIndex::lineOf(std::size_t position) {
    while (starts_.back() <= position && extend()) {
    }
    return static_cast<std::size_t>(std::upper_bound(starts_.begin(), starts_.end(), position) -
                                    starts_.begin()) -
           1;
}

bool LineIndex::exists(std::size_t line) {
    while (starts_.size() <= line && extend()) {
    }
    return line < starts_.size();
}

std::size_t LineIndex::end(std::size_t line) {
    if (!exists(line)) return text_.size();
    std::size_t stop = text_.size();
    if (exists(line + 1)) {
        stop = starts_[line + 1] - 1;
    } else if (const std::size_t feed = nextFeed(text_, starts_[line]);
               feed != std::u16string_view::npos) {
        stop = feed;
    }
    if (stop > starts_[line] && text_[stop - 1] == u'\r') --stop;
    return stop;
}

std::u16string_view LineIndex::text(std::size_t line) {
    const std::size_t from = start(line);
    return text_.substr(from, end(line) - from);
}

std::size_t LineIndex::bytesBefore(std::size_t line) {
    if (line < bytesLine_) {
        bytesLine_ = 0;
        bytes_ = 0;
    }
    const std::size_t from = start(bytesLine_);
    bytes_ += utf8Length(text_.substr(from, start(line) - from));
    bytesLine_ = line;
    return bytes_;
}

}  // namespace lodestar
