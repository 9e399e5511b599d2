// Number and truth conversions on std::from_chars and std::to_chars, which never consult the
// locale, so a file written under one locale reads back the same under any other.
#include "settings/option_values.h"

#include <charconv>
#include <cmath>

namespace lodestar {
namespace {

std::u16string_view trimBlanks(std::u16string_view text) {
    while (!text.empty() && (text.front() == u' ' || text.front() == u'\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == u' ' || text.back() == u'\t')) text.remove_suffix(1);
    return text;
}

// The text as plain ASCII when it only holds characters a decimal number may hold ("inf" and
// "nan", which from_chars would take, are not numbers here).
std::optional<std::string> numberCharacters(std::u16string_view text) {
    std::string ascii;
    for (char16_t c : trimBlanks(text)) {
        bool allowed = (c >= u'0' && c <= u'9') || c == u'.' || c == u'+' || c == u'-' ||
                       c == u'e' || c == u'E';
        if (!allowed) return std::nullopt;
        ascii.push_back(static_cast<char>(c));
    }
    if (ascii.empty()) return std::nullopt;
    return ascii;
}

template <typename Number>
std::optional<Number> parseDecimal(std::u16string_view text) {
    std::optional<std::string> ascii = numberCharacters(text);
    if (!ascii) return std::nullopt;
    std::string_view digits = *ascii;
    if (digits.starts_with('+')) digits.remove_prefix(1);  // from_chars takes only "-"
    Number value{};
    auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
    return value;
}

bool equalsIgnoringCase(std::u16string_view text, std::u16string_view lowerWord) {
    if (text.size() != lowerWord.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char16_t c = text[i] >= u'A' && text[i] <= u'Z' ? text[i] + 32 : text[i];
        if (c != lowerWord[i]) return false;
    }
    return true;
}

}  // namespace

std::optional<bool> parseTruthValue(std::u16string_view text) {
    std::u16string_view word = trimBlanks(text);
    if (equalsIgnoringCase(word, u"true")) return true;
    if (equalsIgnoringCase(word, u"false")) return false;
    std::optional<double> number = parseDecimal<double>(word);
    if (!number) return std::nullopt;
    return *number != 0;
}

std::optional<std::uint8_t> parseByte(std::u16string_view text) {
    std::optional<double> number = parseDecimal<double>(text);
    if (!number) return std::nullopt;
    double whole = std::nearbyint(*number);  // the default rounding mode: halves to even
    if (!(whole >= 0 && whole <= 255)) return std::nullopt;
    return static_cast<std::uint8_t>(whole);
}

std::optional<float> parseSingle(std::u16string_view text) {
    std::optional<float> number = parseDecimal<float>(text);
    if (!number || !std::isfinite(*number)) return std::nullopt;
    return number;
}

std::u16string formatSingle(float value) {
    char buffer[64];
    auto [end, error] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    if (error != std::errc()) return u"0";
    return std::u16string(buffer, end);
}

}  // namespace lodestar
