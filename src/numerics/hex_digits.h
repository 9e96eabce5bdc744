#pragma once

#include <cstdint>
#include <string>

namespace numerics {

// The floored remainder of dimain / divisory, fraction dropped; divisory not 0.
double dimodal(double dimain, double divisory);

// Hexadecimal digits of the integer part of a number of zero or more; 0 gives "0".
std::string DigiHex(double deciint);

// Hexadecimal digits of a fraction in [0, 1), cut off: sigfigs minus one
// counted digits (at least one); zeros before the first non-zero digit are
// written but not counted.
std::string Remnihex(double deciremn, std::int16_t sigfigs);

}  // namespace numerics
