#include <cerrno>
#include <csignal>
#include <thread>

#include "cli/platform.h"

namespace cli {

namespace {
volatile std::sig_atomic_t stopFlag = 0;
extern "C" void requestStop(int) { stopFlag = 1; }
}  // namespace

void catchStopSignals() {
  std::signal(SIGINT, requestStop);
  std::signal(SIGTERM, requestStop);
}

bool stopRequested() { return stopFlag != 0; }

void waitFor(std::chrono::microseconds rest) { std::this_thread::sleep_for(rest); }

// Windows' C library says so with EINVAL.
bool readerGone(int error) { return error == EPIPE || error == EINVAL; }

}  // namespace cli
