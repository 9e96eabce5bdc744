#include "runtime/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace runtime {

namespace {

constexpr int kSignificantDigits = 15;

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// What the leading value passes over, wherever it stands.
bool isSkipped(char c) { return c == ' ' || c == '\t' || c == '\n'; }

bool isBlank(char c) { return c == ' ' || c == '\t'; }

struct Spelling {
  std::string compact;  // sign, digits, point and exponent, as from_chars reads them
  std::size_t consumed = 0;
  bool hasDigits = false;
};

// Reads the longest number at the start of `text`. With `skipInside`, blanks,
// tabs and line feeds are passed over anywhere, also between digits.
Spelling scanNumber(std::string_view text, bool skipInside) {
  Spelling s;
  std::size_t i = 0;
  auto skip = [&] {
    while (skipInside && i < text.size() && isSkipped(text[i])) ++i;
  };
  skip();
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    if (text[i] == '-') s.compact += '-';
    ++i;
  }
  bool point = false;
  for (skip(); i < text.size(); skip()) {
    const char c = text[i];
    if (isDigit(c)) {
      s.hasDigits = true;
    } else if (c == '.' && !point) {
      point = true;
    } else {
      break;
    }
    s.compact += c;
    ++i;
  }
  s.consumed = i;
  if (!s.hasDigits || i >= text.size() || (text[i] != 'E' && text[i] != 'e')) return s;

  // The exponent counts only when digits follow its mark.
  std::size_t j = i + 1;
  std::string exponent = "e";
  auto skipExponent = [&] {
    while (skipInside && j < text.size() && isSkipped(text[j])) ++j;
  };
  skipExponent();
  if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
    exponent += text[j];
    ++j;
  }
  bool exponentDigits = false;
  for (skipExponent(); j < text.size() && isDigit(text[j]); skipExponent()) {
    exponent += text[j];
    exponentDigits = true;
    ++j;
  }
  if (exponentDigits) {
    s.compact += exponent;
    s.consumed = j;
  }
  return s;
}

// Whether a spelling that from_chars could not hold is too large (rather than
// too small): the decimal order of its first significant digit decides.
bool spellsOverflow(std::string_view compact) {
  std::size_t i = compact.empty() || compact[0] != '-' ? 0 : 1;
  long long order = 0;
  bool seenPoint = false;
  bool seenSignificant = false;
  for (; i < compact.size() && compact[i] != 'e'; ++i) {
    const char c = compact[i];
    if (c == '.') {
      seenPoint = true;
    } else if (!seenSignificant && c == '0') {
      if (seenPoint) --order;
    } else {
      seenSignificant = true;
      if (!seenPoint) ++order;
    }
  }
  if (!seenSignificant) return false;
  long long exponent = 0;
  if (i < compact.size()) {
    ++i;
    const bool negative = i < compact.size() && compact[i] == '-';
    if (i < compact.size() && (compact[i] == '-' || compact[i] == '+')) ++i;
    for (; i < compact.size(); ++i) {
      exponent = std::min(exponent * 10 + (compact[i] - '0'), 1'000'000'000LL);
    }
    if (negative) exponent = -exponent;
  }
  return order + exponent > 0;
}

std::optional<double> valueOf(const Spelling& s) {
  if (!s.hasDigits) return 0.0;
  double value = 0.0;
  const char* first = s.compact.data();
  const char* last = first + s.compact.size();
  const auto [end, ec] = std::from_chars(first, last, value, std::chars_format::general);
  if (ec == std::errc::result_out_of_range) {
    if (spellsOverflow(s.compact)) return std::nullopt;
    return s.compact[0] == '-' ? -0.0 : 0.0;
  }
  if (ec != std::errc{} || end != last) return std::nullopt;
  return value;
}

}  // namespace

std::string plainNumberText(double value) {
  if (value == 0.0) return "0";
  char buffer[40];
  const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value,
                                       std::chars_format::scientific, kSignificantDigits - 1);
  std::string_view text(buffer, static_cast<std::size_t>(end - buffer));
  if (ec != std::errc{} || !std::isfinite(value)) return std::string(text);

  std::string result;
  if (text.front() == '-') {
    result += '-';
    text.remove_prefix(1);
  }
  // text is now "d.dddddddddddddde±XX".
  const std::size_t mark = text.find('e');
  std::string digits(1, text[0]);
  digits += text.substr(2, mark - 2);
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  int exponent = 0;
  std::from_chars(text.data() + mark + 2, text.data() + text.size(), exponent);
  if (text[mark + 1] == '-') exponent = -exponent;

  if (exponent >= kSignificantDigits || exponent < -4) {
    result += digits[0];
    if (digits.size() > 1) {
      result += '.';
      result.append(digits, 1);
    }
    result += exponent < 0 ? "E-" : "E+";
    const int magnitude = exponent < 0 ? -exponent : exponent;
    if (magnitude < 10) result += '0';
    result += std::to_string(magnitude);
  } else if (exponent >= 0) {
    const auto whole = static_cast<std::size_t>(exponent) + 1;
    if (digits.size() <= whole) {
      result += digits;
      result.append(whole - digits.size(), '0');
    } else {
      result.append(digits, 0, whole);
      result += '.';
      result.append(digits, whole);
    }
  } else {
    result += "0.";
    result.append(static_cast<std::size_t>(-exponent - 1), '0');
    result += digits;
  }
  return result;
}

std::string signedNumberText(double value) {
  std::string text = plainNumberText(value);
  if (text.front() != '-') text.insert(text.begin(), ' ');
  return text;
}

std::string hexText(std::uint64_t value) {
  char buffer[20];
  const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, 16);
  std::string text(buffer, end);
  std::transform(text.begin(), text.end(), text.begin(),
                 [](char c) { return c >= 'a' && c <= 'f' ? static_cast<char>(c - 'a' + 'A') : c; });
  return text;
}

std::optional<double> leadingValueInRange(std::string_view text) {
  return valueOf(scanNumber(text, true));
}

std::size_t leadingValueLength(std::string_view text) {
  const Spelling s = scanNumber(text, true);
  return s.hasDigits ? s.consumed : 0;
}

double leadingValue(std::string_view text) {
  const Spelling s = scanNumber(text, true);
  if (const auto value = valueOf(s)) return *value;
  const double largest = std::numeric_limits<double>::max();
  return s.compact[0] == '-' ? -largest : largest;
}

std::optional<double> strictValue(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  const Spelling s = scanNumber(text, false);
  if (!s.hasDigits || s.consumed != text.size()) return std::nullopt;
  return valueOf(s);
}

}  // namespace runtime
