#include "cli/follow.h"

namespace cli {

std::optional<runtime::UtcReading> awaitNextSecond(std::int64_t shown, const TickSeams& seams) {
  using namespace std::chrono;
  for (;;) {
    if (seams.stopped()) return std::nullopt;
    const runtime::UtcReading now = seams.readClock();
    if (now.unixSeconds != shown) return now;
    const microseconds rest = seconds(1) - now.intoSecond;
    // Whole milliseconds rounded down land on the second or just before it; the rest
    // that is left then is waited out in place.
    seams.wait(rest <= kWaitInPlace ? rest : microseconds(floor<milliseconds>(rest)));
  }
}

}  // namespace cli
