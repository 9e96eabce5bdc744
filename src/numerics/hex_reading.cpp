#include "numerics/hex_reading.h"

#include <charconv>
#include <cstdint>

namespace numerics {

namespace {

constexpr std::string_view kHexDigits = "0123456789ABCDEFabcdef";

void skipBlanks(std::string_view& text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
}

bool startsWithWord(std::string_view text, std::string_view word) {
  if (text.size() < word.size()) return false;
  for (std::size_t i = 0; i < word.size(); ++i) {
    if ((text[i] | 0x20) != word[i]) return false;
  }
  return true;
}

std::optional<double> failure(std::string& why, std::string_view reason) {
  why = reason;
  return std::nullopt;
}

}  // namespace

std::optional<double> readHexText(std::string_view text, std::string& why) {
  constexpr std::string_view kNoNumber =
      "not a hexadecimal number (+ 15180.0, -FF.8, FF, + 1.518 posi-4, 4.189 nega-3)";
  std::string_view rest = text;
  skipBlanks(rest);
  const bool negative = !rest.empty() && rest.front() == '-';
  if (!rest.empty() && (rest.front() == '-' || rest.front() == '+')) rest.remove_prefix(1);
  skipBlanks(rest);

  const std::size_t integerDigits = std::min(rest.find_first_not_of(kHexDigits), rest.size());
  std::size_t mantissaEnd = integerDigits;
  if (mantissaEnd < rest.size() && rest[mantissaEnd] == '.') {
    mantissaEnd = std::min(rest.find_first_not_of(kHexDigits, mantissaEnd + 1), rest.size());
  }
  const std::string_view mantissa = rest.substr(0, mantissaEnd);
  if (mantissa.find_first_of(kHexDigits) == std::string_view::npos) return failure(why, kNoNumber);
  rest.remove_prefix(mantissaEnd);
  skipBlanks(rest);

  // The power of two the suffix stands for: sixteen to the exponent.
  std::int64_t binaryExponent = 0;
  if (!rest.empty()) {
    const bool up = startsWithWord(rest, "posi-");
    if (!up && !startsWithWord(rest, "nega-")) return failure(why, kNoNumber);
    rest.remove_prefix(5);
    const std::size_t digits = std::min(rest.find_first_not_of(kHexDigits), rest.size());
    if (digits == 0) return failure(why, kNoNumber);
    std::string_view exponent = rest.substr(0, digits);
    rest.remove_prefix(digits);
    skipBlanks(rest);
    if (!rest.empty()) return failure(why, kNoNumber);
    while (exponent.size() > 1 && exponent.front() == '0') exponent.remove_prefix(1);
    // Beyond 16^0x100000 every mantissa of a text of this length is out of range or 0.
    std::int64_t power = 0x100000;
    if (exponent.size() <= 5) std::from_chars(exponent.data(), exponent.data() + exponent.size(), power, 16);
    binaryExponent = (up ? 4 : -4) * power;
  }

  const std::string hexFloat = std::string(mantissa) + "p" + std::to_string(binaryExponent);
  double value = 0;
  const auto [next, ec] = std::from_chars(hexFloat.data(), hexFloat.data() + hexFloat.size(), value,
                                          std::chars_format::hex);
  if (ec == std::errc::result_out_of_range) {
    // Too large or too small: the place of the first non-zero digit tells which.
    const std::size_t first = mantissa.find_first_not_of("0.");
    const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
    const std::int64_t place = first < point ? static_cast<std::int64_t>(point - first)
                                             : -static_cast<std::int64_t>(first - point - 1);
    if (place * 4 + binaryExponent > 0) return failure(why, "lies beyond the range of a double");
    value = 0;
  } else if (ec != std::errc{} || next != hexFloat.data() + hexFloat.size()) {
    return failure(why, kNoNumber);
  }
  return negative ? -value : value;
}

}  // namespace numerics
