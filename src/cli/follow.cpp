#include "cli/follow.h"

#include "clock/tick.h"

namespace cli {

std::optional<runtime::UtcReading> awaitNextSecond(std::int64_t shown, const TickSeams& seams) {
  for (;;) {
    if (seams.stopped()) return std::nullopt;
    const runtime::UtcReading now = seams.readClock();
    if (now.unixSeconds != shown) return now;
    seams.wait(epochclock::waitForNextSecond(now.intoSecond));
  }
}

}  // namespace cli
