#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace runtime {

// Decimal text of a number: whole numbers below 1E15 in full, larger ones and
// tiny ones in exponent form ("1E+15", "1.23456789012346E+17", "1E-05"),
// at most 15 significant digits. Negative zero reads "0".
std::string plainNumberText(double value);

// plainNumberText with a blank in front of zero and positive numbers.
std::string signedNumberText(double value);

// Upper-case hexadecimal digits without leading zeros; 0 gives "0".
std::string hexText(std::uint64_t value);

// The number at the start of a text: blanks, tabs and line feeds are skipped
// anywhere; then an optional sign, digits with at most one ".", and an optional
// exponent ("E" or "e", optional sign, digits). 0 when the text starts with no
// number. Empty when the number lies beyond the double range; a number too
// small for a double reads 0. Never NaN or infinite.
std::optional<double> leadingValueInRange(std::string_view text);

// The bytes of `text` that the leading value reads: the number, with the blanks, tabs
// and line feeds before, inside and after it. 0 when the text starts with no number.
std::size_t leadingValueLength(std::string_view text);

// As leadingValueInRange, with a number beyond the range saturated to the
// largest double of its sign.
double leadingValue(std::string_view text);

// The number that the whole text spells, blanks around it allowed. Empty for
// text that spells no number (empty, a lone sign, letters, "inf", "nan") and
// for numbers beyond the double range.
std::optional<double> strictValue(std::string_view text);

}  // namespace runtime
