#include "numerics/hex_digits.h"

#include <algorithm>
#include <cassert>
#include <cmath>

namespace numerics {

namespace {

char hexDigit(double wholeFrom0To15) { return "0123456789ABCDEF"[static_cast<int>(wholeFrom0To15)]; }

}  // namespace

double dimodal(double dimain, double divisory) {
  return std::floor(dimain - divisory * std::floor(dimain / divisory));
}

std::string DigiHex(double deciint) {
  // A negative or NaN value would never reach zero below.
  assert(deciint >= 0 && std::isfinite(deciint));
  std::string digits;
  double q = std::floor(deciint);
  do {
    digits += hexDigit(dimodal(q, 16));
    q = std::floor(q / 16);
  } while (q != 0);
  std::reverse(digits.begin(), digits.end());
  return digits;
}

std::string Remnihex(double deciremn, std::int16_t sigfigs) {
  assert(deciremn >= 0 && deciremn < 1);
  std::string digits;
  double x = deciremn;
  int counter = 1;
  do {
    x *= 16;
    const double d = std::floor(x);
    x -= d;
    digits += hexDigit(d);
    if (!(d == 0 && counter == 1 && x > 0)) ++counter;
  } while (counter < sigfigs);
  return digits;
}

}  // namespace numerics
