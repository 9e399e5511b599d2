// Conversions of the options file's lines to and from their values, independent of the
// locale: truth values ("True"/"False" in any case, or a number, nonzero meaning true), small
// unsigned numbers and single-precision decimals with "." as the decimal point.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace lodestar {

// "True"/"False" in any case, or a decimal number (nonzero is true, as "-1" and "2" are);
// nothing for any other text, the empty text included. Blanks around the value are ignored.
std::optional<bool> parseTruthValue(std::u16string_view text);
// A decimal number rounded to the nearest whole number (halves to even) within 0..255.
std::optional<std::uint8_t> parseByte(std::u16string_view text);
// A decimal number (optional sign, digits, "." fraction, exponent) as single precision.
std::optional<float> parseSingle(std::u16string_view text);
// The shortest plain decimal that parses back to the same value: 11.25, 12, 9.75.
std::u16string formatSingle(float value);

}  // namespace lodestar
