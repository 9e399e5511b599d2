// Translates the program's pattern dialect into PCRE2 syntax, one construct at a time; the
// rules are listed on each construct below.
#include "search/dialect_translator.h"

#include <algorithm>
#include <optional>
#include <string>
#include <variant>

#include "search/char_set.h"
#include "search/regexp.h"

namespace lodestar {
namespace {

// PCRE2's caseless matching folds these to ASCII letters; the dialect's does not.
constexpr char32_t kLongS = 0x017F;        // s, S
constexpr char32_t kKelvinSign = 0x212A;   // k, K
constexpr std::size_t kMaxRepeat = 65535;  // PCRE2's largest bound in {n,m}

bool isDigit(char32_t c) {
    return c >= u'0' && c <= u'9';
}
bool isOctal(char32_t c) {
    return c >= u'0' && c <= u'7';
}
bool isAsciiLetter(char32_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}
bool isAsciiAlnum(char32_t c) {
    return isAsciiLetter(c) || isDigit(c);
}

int hexValue(char32_t c) {
    if (isDigit(c)) return static_cast<int>(c - u'0');
    if (c >= u'a' && c <= u'f') return static_cast<int>(c - u'a' + 10);
    if (c >= u'A' && c <= u'F') return static_cast<int>(c - u'A' + 10);
    return -1;
}

std::u16string ascii(std::string_view text) {
    return {text.begin(), text.end()};
}

std::u16string hexEscape(char32_t c) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::u16string hex;
    do {
        hex.insert(hex.begin(), kDigits[c % 16]);
        c /= 16;
    } while (c != 0);
    return u"\\x{" + hex + u"}";
}

// A code unit as PCRE2 reads it literally, outside or inside a class: letters and digits as
// they are, other printable ASCII escaped, everything else as \x{...}.
std::u16string literalText(char32_t c) {
    if (isAsciiAlnum(c)) return std::u16string(1, static_cast<char16_t>(c));
    if (c >= 0x20 && c < 0x7F) return {u'\\', static_cast<char16_t>(c)};
    return hexEscape(c);
}

// How many capturing groups the pattern opens: a \N escape is a back-reference only when
// group N exists anywhere in the pattern.
std::size_t countGroups(std::u16string_view p) {
    std::size_t count = 0;
    bool inClass = false;
    for (std::size_t i = 0; i < p.size(); ++i) {
        const char16_t c = p[i];
        if (c == u'\\') {
            ++i;
        } else if (inClass) {
            inClass = c != u']';
        } else if (c == u'[') {
            inClass = true;
            if (i + 1 < p.size() && p[i + 1] == u'^') ++i;
        } else if (c == u'(' && (i + 1 >= p.size() || p[i + 1] != u'?')) {
            ++count;
        }
    }
    return count;
}

class Translator {
  public:
    Translator(std::u16string_view source, bool ignoreCase, bool multiline)
        : src_(source), ignoreCase_(ignoreCase), multiline_(multiline) {
        out_.groupCount = countGroups(source);
    }

    TranslatedPattern run() {
        while (pos_ < src_.size()) parseTerm();
        if (!openGroups_.empty()) fail("missing )", src_.size());
        out_.origin.push_back(src_.size());
        return std::move(out_);
    }

  private:
    struct SetEscape {
        CharSet base;
        bool negated = false;  // \D \W \S
    };

    [[noreturn]] static void fail(const char* what, std::size_t position) {
        throw RegExpError(std::string(what), position);
    }

    bool more(std::size_t offset = 0) const { return pos_ + offset < src_.size(); }

    void emit(std::u16string_view text, std::size_t origin) {
        out_.pcre2 += text;
        out_.origin.insert(out_.origin.end(), text.size(), origin);
    }

    void parseTerm() {
        const std::size_t start = pos_;
        const char16_t c = src_[pos_];
        switch (c) {
            case u'\\':
                parseEscape();
                return;
            case u'^':
                // Multiline: at the start, after LF, or after a CR that no LF follows: a CR LF
                // pair is one line break, with no line position between its two halves.
                ++pos_;
                emit(multiline_ ? u"(?<![^\\n\\r])(?!(?<=\\r)\\n)" : u"^", start);
                canRepeat_ = false;
                return;
            case u'$':
                // Multiline: at the end, before CR, or before an LF that no CR precedes.
                // Without multiline only at the very end (PCRE2_DOLLAR_ENDONLY).
                ++pos_;
                emit(multiline_ ? u"(?![^\\n\\r])(?!(?<=\\r)\\n)" : u"$", start);
                canRepeat_ = false;
                return;
            case u'.':
                // Any code unit but LF, as PCRE2's dot with PCRE2_NEWLINE_LF.
                ++pos_;
                emit(u".", start);
                canRepeat_ = true;
                return;
            case u'(':
                parseGroupOpening();
                return;
            case u')': {
                if (openGroups_.empty()) fail("unmatched )", start);
                const bool lookAhead = src_.substr(openGroups_.back(), 3) == u"(?=";
                openGroups_.pop_back();
                ++pos_;
                // Only a look-ahead that ends the whole pattern leaves PCRE2's hints sound.
                if (lookAhead && !(openGroups_.empty() && pos_ == src_.size()))
                    out_.needsPlainStart = true;
                emit(u")", start);
                canRepeat_ = true;  // groups and look-aheads alike take quantifiers
                return;
            }
            case u'|':
                ++pos_;
                emit(u"|", start);
                canRepeat_ = false;
                return;
            case u'*':
            case u'+':
            case u'?':
                if (!canRepeat_) fail("nothing to repeat", start);
                ++pos_;
                emit(std::u16string(1, c), start);
                finishQuantifier();
                return;
            case u'{':
                if (parseBraceQuantifier()) return;
                break;  // a brace that does not start a quantifier is literal
            case u'[':
                parseClass();
                return;
            default:
                break;
        }
        ++pos_;
        emit(literalText(c), start);
        canRepeat_ = true;
    }

    void finishQuantifier() {
        if (more() && src_[pos_] == u'?') {
            emit(u"?", pos_);
            ++pos_;
        }
        canRepeat_ = false;  // "a**" is an error, as in the dialect
    }

    bool readNumber(std::size_t& i, std::size_t& value) const {
        const std::size_t begin = i;
        value = 0;
        for (; i < src_.size() && isDigit(src_[i]); ++i)
            value = std::min<std::size_t>(value * 10 + (src_[i] - u'0'), kMaxRepeat + 1);
        return i > begin;
    }

    // {n}, {n,} or {n,m}, optionally lazy; false (nothing consumed) for any other brace.
    bool parseBraceQuantifier() {
        const std::size_t start = pos_;
        std::size_t i = pos_ + 1;
        std::size_t min = 0;
        std::size_t max = 0;
        bool bounded = true;
        if (!readNumber(i, min)) return false;
        if (i < src_.size() && src_[i] == u',') {
            ++i;
            bounded = readNumber(i, max);
        } else {
            max = min;
        }
        if (i >= src_.size() || src_[i] != u'}') return false;
        if (!canRepeat_) fail("nothing to repeat", start);
        if (bounded && max < min) fail("numbers out of order in {} quantifier", start);
        if (min > kMaxRepeat || max > kMaxRepeat) fail("number too big in {} quantifier", start);
        if (bounded && max == 0) out_.needsPlainStart = true;
        std::string text = std::string("{").append(std::to_string(min));
        if (!bounded) text += ",";
        if (bounded && max != min) text.append(",").append(std::to_string(max));
        emit(ascii(text + "}"), start);
        pos_ = i + 1;
        finishQuantifier();
        return true;
    }

    // "(", "(?:", "(?=" and "(?!"; every other "(?" (look-behind, named groups, inline options,
    // PCRE2's own group kinds) is not in the dialect.
    void parseGroupOpening() {
        const std::size_t start = pos_;
        std::size_t length = 1;
        if (more(1) && src_[pos_ + 1] == u'?') {
            const bool known = more(2) && (src_[pos_ + 2] == u':' || src_[pos_ + 2] == u'=' ||
                                           src_[pos_ + 2] == u'!');
            if (!known) fail("invalid group", start);
            length = 3;
        }
        emit(src_.substr(pos_, length), start);
        pos_ += length;
        openGroups_.push_back(start);
        canRepeat_ = false;
    }

    static bool isNativeAscii(char16_t letter) {
        return std::u16string_view(u"dDwWbB").find(letter) != std::u16string_view::npos;
    }

    static std::optional<SetEscape> setEscape(char16_t letter) {
        switch (letter) {
            case u'd':
            case u'D':
                return SetEscape{CharSet::digits(), letter == u'D'};
            case u'w':
            case u'W':
                return SetEscape{CharSet::word(), letter == u'W'};
            case u's':
            case u'S':
                return SetEscape{CharSet::space(), letter == u'S'};
            default:
                return std::nullopt;
        }
    }

    void parseEscape() {
        const std::size_t start = pos_;
        if (!more(1)) fail("\\ at end of pattern", start);
        const char16_t letter = src_[pos_ + 1];
        canRepeat_ = true;
        if (!ignoreCase_ && isNativeAscii(letter)) {
            // Without PCRE2_UCP, PCRE2's own \d \w \b (and their negations) are ASCII-only, as
            // in the dialect, and its \b is faster than look-arounds.
            pos_ += 2;
            emit(src_.substr(start, 2), start);
            canRepeat_ = letter != u'b' && letter != u'B';
        } else if (auto set = setEscape(letter)) {
            // Spelled out: PCRE2's own \d \w \s are Unicode-wide once PCRE2_UCP is on, and
            // its \s lacks the dialect's Unicode spaces.
            pos_ += 2;
            emitClass(std::move(set->base), set->negated, start);
        } else if (letter == u'b' || letter == u'B') {
            pos_ += 2;
            emitWordBoundary(letter == u'b', start);
            canRepeat_ = false;
        } else if (letter >= u'1' && letter <= u'9' && parseBackReference()) {
            return;
        } else {
            emit(literalText(readCharacterEscape()), start);
        }
    }

    // \N or \NN naming an existing group; a two-digit number without its group falls back to
    // the one-digit group followed by a literal digit. False when neither group exists.
    bool parseBackReference() {
        const std::size_t start = pos_;
        const std::size_t first = src_[pos_ + 1] - u'0';
        std::size_t number = 0;
        std::size_t length = 0;
        if (more(2) && isDigit(src_[pos_ + 2])) {
            const std::size_t two = first * 10 + (src_[pos_ + 2] - u'0');
            if (two <= out_.groupCount) {
                number = two;
                length = 3;
            }
        }
        if (number == 0 && first <= out_.groupCount) {
            number = first;
            length = 2;
        }
        if (number == 0) return false;
        pos_ += length;
        emit(ascii(std::string("\\g{").append(std::to_string(number)).append("}")), start);
        return true;
    }

    // An escape that stands for one code unit; pos_ is at the backslash.
    char32_t readCharacterEscape() {
        const char16_t letter = src_[pos_ + 1];
        switch (letter) {
            case u'f':
                pos_ += 2;
                return 0x0C;
            case u'n':
                pos_ += 2;
                return 0x0A;
            case u'r':
                pos_ += 2;
                return 0x0D;
            case u't':
                pos_ += 2;
                return 0x09;
            case u'v':
                pos_ += 2;
                return 0x0B;  // only the vertical tab (PCRE2's \v is a class)
            case u'c':
                if (more(2) && isAsciiLetter(src_[pos_ + 2])) {
                    const char32_t control = src_[pos_ + 2] % 32;
                    pos_ += 3;
                    return control;
                }
                ++pos_;  // a literal backslash; the c that follows is read as itself
                return u'\\';
            case u'x':
            case u'u': {
                const std::size_t digits = letter == u'x' ? 2 : 4;
                if (auto value = readHex(pos_ + 2, digits)) {
                    pos_ += 2 + digits;
                    return *value;
                }
                pos_ += 2;
                return letter;  // not enough hex digits: the letter itself
            }
            default:
                if (isDigit(letter)) {
                    ++pos_;
                    return readLegacyOctal();
                }
                // Every other escaped character is itself, including the letters PCRE2 gives
                // a meaning (\A \Z \z \G \K \R \X \N \h \H \g \k \o \p \P \Q \E \a \e).
                pos_ += 2;
                return letter;
        }
    }

    std::optional<char32_t> readHex(std::size_t at, std::size_t digits) const {
        if (at + digits > src_.size()) return std::nullopt;
        char32_t value = 0;
        for (std::size_t i = at; i < at + digits; ++i) {
            const int v = hexValue(src_[i]);
            if (v < 0) return std::nullopt;
            value = value * 16 + static_cast<char32_t>(v);
        }
        return value;
    }

    // A digit escape that is no back-reference: up to three octal digits (value at most 0377),
    // or the digit 8 or 9 itself. pos_ is at the first digit.
    char32_t readLegacyOctal() {
        const char32_t first = src_[pos_++];
        if (!isOctal(first)) return first;
        char32_t value = first - u'0';
        const int maxMore = first <= u'3' ? 2 : 1;
        for (int k = 0; k < maxMore && more() && isOctal(src_[pos_]); ++k)
            value = value * 8 + (src_[pos_++] - u'0');
        return value;
    }

    // ASCII word boundary as look-arounds: PCRE2's \b follows Unicode once PCRE2_UCP is on.
    void emitWordBoundary(bool boundary, std::size_t start) {
        const std::u16string w = u"[0-9A-Z_a-z]";
        if (boundary)
            emit(u"(?:(?<=" + w + u")(?!" + w + u")|(?<!" + w + u")(?=" + w + u"))", start);
        else
            emit(u"(?:(?<=" + w + u")(?=" + w + u")|(?<!" + w + u")(?!" + w + u"))", start);
    }

    void parseClass() {
        const std::size_t start = pos_++;
        bool negated = false;
        if (more() && src_[pos_] == u'^') {
            negated = true;
            ++pos_;
        }
        CharSet set;
        for (;;) {
            if (!more()) fail("missing ]", src_.size());
            if (src_[pos_] == u']') break;  // also right away: "[]" and "[^]"
            const std::size_t atomStart = pos_;
            const auto first = readClassAtom();
            if (more(1) && src_[pos_] == u'-' && src_[pos_ + 1] != u']') {
                ++pos_;
                const auto last = readClassAtom();
                if (first.index() == 1 || last.index() == 1) {
                    // A class escape at either end is no range: both and the dash are members.
                    addAtom(set, first);
                    set.add(u'-');
                    addAtom(set, last);
                } else {
                    const char32_t from = std::get<char32_t>(first);
                    const char32_t to = std::get<char32_t>(last);
                    if (from > to) fail("range out of order in character class", atomStart);
                    set.add(from, to);
                }
            } else {
                addAtom(set, first);
            }
        }
        ++pos_;
        emitClass(std::move(set), negated, start);
        canRepeat_ = true;
    }

    using ClassAtom = std::variant<char32_t, CharSet>;

    static void addAtom(CharSet& set, const ClassAtom& atom) {
        if (const auto* c = std::get_if<char32_t>(&atom))
            set.add(*c);
        else
            set.add(std::get<CharSet>(atom));
    }

    ClassAtom readClassAtom() {
        const char16_t c = src_[pos_];
        if (c != u'\\') {
            ++pos_;
            return char32_t{c};
        }
        if (!more(1)) fail("\\ at end of pattern", pos_);
        const char16_t letter = src_[pos_ + 1];
        if (auto set = setEscape(letter)) {
            pos_ += 2;
            return set->negated ? set->base.complement() : set->base;
        }
        if (letter == u'b') {
            pos_ += 2;
            return char32_t{0x08};  // backspace inside a class
        }
        return readCharacterEscape();  // digits here are octal or literal, never references
    }

    void emitClass(CharSet set, bool negated, std::size_t start) {
        if (ignoreCase_) {
            // PCRE2 would let U+017F match s and U+212A match k; where the class holds such a
            // code unit without its ASCII partner (\W, a range such as \x80-\uFFFF) leave it
            // out, so that the class never matches s or k through it.
            if (set.contains(kLongS) && !set.contains(u's') && !set.contains(u'S'))
                set.remove(kLongS);
            if (set.contains(kKelvinSign) && !set.contains(u'k') && !set.contains(u'K'))
                set.remove(kKelvinSign);
        }
        // With PCRE2_ALLOW_EMPTY_CLASS "[^]" is a single any-character opcode (fast in long
        // lazy or greedy runs such as [\s\S]*?) and "[]" never matches.
        if (set.full() || set.empty()) {
            emit(set.full() != negated ? u"[^]" : u"[]", start);
            return;
        }
        std::u16string text = negated ? u"[^" : u"[";
        for (const auto& r : set.ranges()) {
            text += literalText(r.first);
            if (r.last == r.first) continue;
            if (r.last > r.first + 1) text += u'-';
            text += literalText(r.last);
        }
        emit(text + u"]", start);
    }

    std::u16string_view src_;
    bool ignoreCase_;
    bool multiline_;
    std::size_t pos_ = 0;
    bool canRepeat_ = false;  // whether a quantifier may follow what was read last
    std::vector<std::size_t> openGroups_;
    TranslatedPattern out_;
};

}  // namespace

TranslatedPattern translateDialect(std::u16string_view pattern, bool ignoreCase, bool multiline) {
    return Translator(pattern, ignoreCase, multiline).run();
}

}  // namespace lodestar
