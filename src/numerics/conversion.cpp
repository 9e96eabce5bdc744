#include "numerics/conversion.h"

#include <cmath>
#include <cstdint>
#include <limits>

#include "numerics/hex_digits.h"
#include "runtime/number_text.h"

namespace numerics {

namespace {

using Count = std::int16_t;

bool fitsCount(long long value) {
  return value >= std::numeric_limits<Count>::min() && value <= std::numeric_limits<Count>::max();
}

bool isUtf8Continuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// At most `characters` characters of a text, for a message; a cut text ends in "...".
std::string shortened(std::string_view text, int characters) {
  int n = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (!isUtf8Continuation(text[i]) && n++ == characters) return std::string(text.substr(0, i)) + "...";
  }
  return std::string(text);
}

std::string_view trimmed(std::string_view text) {
  constexpr std::string_view blanks = " \t\n";
  const auto first = text.find_first_not_of(blanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

}  // namespace

std::string DigiSci(double decimain, int decipt) {
  double v = decimain;
  double factor = 0;
  int exponent = 0;
  if (v < 1) factor = 16;
  if (v > 16) factor = 0.0625;
  const char* suffix = v < 1 ? " nega-" : " posi-";
  if (v > 0) {
    while (v < 1 || v > 16) {
      v *= factor;
      ++exponent;
    }
  }
  const double m = std::floor(v);
  return DigiHex(m) + "." + Remnihex(v - m, static_cast<Count>(decipt - 1)) + suffix +
         runtime::hexText(static_cast<std::uint64_t>(exponent));
}

std::optional<Conversion> DeciConvert(std::string_view text) {
  const auto value = runtime::leadingValueInRange(text);
  if (!value) return std::nullopt;
  const int sign = *value < 0 ? -1 : (*value > 0 ? 1 : 0);

  std::string_view t = text;
  while (!t.empty() && t.front() == ' ') t.remove_prefix(1);

  // Counted in characters, not bytes; the first "E" in either case counts.
  long long characters = 0;
  long long firstE = 0;
  for (const char c : t) {
    if (isUtf8Continuation(c)) continue;
    ++characters;
    if (firstE == 0 && (c == 'E' || c == 'e')) firstE = characters;
  }
  long long characterCount = characters;
  if (sign == -1) --characterCount;
  if (firstE != 0) characterCount = firstE;

  const double a = std::fabs(*value);
  const double i = std::floor(a);
  const double r = a - i;
  const long long fractionCount =
      i > 0 ? characterCount - static_cast<long long>(runtime::plainNumberText(i).size()) : characterCount;
  if (!fitsCount(characterCount) || !fitsCount(fractionCount)) return std::nullopt;

  const std::string signText = sign == -1 ? "- " : "+ ";
  return Conversion{signText + DigiHex(i) + "." + Remnihex(r, static_cast<Count>(fractionCount)),
                    signText + DigiSci(a, static_cast<int>(characterCount))};
}

Reading DeciRead(std::string_view text) {
  Reading reading{DeciConvert(text), {}};
  const std::size_t read = runtime::leadingValueLength(text);
  const std::string_view rest = trimmed(text.substr(read));
  if (!runtime::leadingValueInRange(text)) {
    reading.note = shortened(trimmed(text.substr(0, read)), 24) + " lies beyond the range of a double";
  } else if (!reading.texts) {
    reading.note = "The text is too long to convert";
  } else if (!rest.empty()) {
    const std::string value = runtime::plainNumberText(runtime::leadingValue(text));
    reading.note = read == 0 ? "Read as 0: '" + shortened(rest, 24) + "' is not a number"
                             : "Read as " + value + ": the text goes on with '" + shortened(rest, 24) +
                                   "', which is not part of a number";
  }
  return reading;
}

}  // namespace numerics
