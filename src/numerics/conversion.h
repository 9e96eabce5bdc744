#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace numerics {

// The longest text the calculator's box and the command take, in characters.
inline constexpr int kMaxInput = 32767;

// The hexadecimal scientific form of a number of zero or more, without sign:
// mantissa from 1 to 16, then " posi-" or " nega-" and the hex exponent of 16.
// decipt, the character count, sets the number of mantissa digits.
std::string DigiSci(double decimain, int decipt);

struct Conversion {
  std::string positional;  // "+ 15180.0"
  std::string scientific;  // "+ 1.518 posi-4"
};

// The calculator's two texts for a typed decimal text. Empty when the number
// lies beyond the double range or the text is too long for the digit counts.
std::optional<Conversion> DeciConvert(std::string_view text);

struct Reading {
  std::optional<Conversion> texts;  // as DeciConvert gives them
  // What was read and why it is not the number typed, when the texts do not stand for
  // all of the text (blanks around it aside): "Read as 1: the text goes on with ',5',
  // which is not part of a number". Empty when they do.
  std::string note;
};
// DeciConvert, and whether its texts are those of the whole text typed.
Reading DeciRead(std::string_view text);

}  // namespace numerics
