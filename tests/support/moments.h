#pragma once

#include <chrono>

#include "runtime/date_time.h"

namespace testsupport {

// The serial of a calendar moment, for tables that read like dates.
inline runtime::DateTimeSerial at(int y, unsigned mo, unsigned d, int h, int mi, int s) {
  using namespace std::chrono;
  return runtime::serialOf(year{y} / mo / d, hours{h} + minutes{mi} + seconds{s});
}

}  // namespace testsupport
