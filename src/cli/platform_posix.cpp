#include <signal.h>
#include <time.h>

#include <cerrno>

#include "cli/platform.h"

namespace cli {

namespace {
volatile sig_atomic_t stopFlag = 0;
extern "C" void requestStop(int) { stopFlag = 1; }
}  // namespace

void catchStopSignals() {
  // Without SA_RESTART, so that the signal cuts the wait short.
  struct sigaction action {};
  action.sa_handler = requestStop;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
  // A closed pipe shows as a failed write, which ends --follow quietly.
  signal(SIGPIPE, SIG_IGN);
}

bool stopRequested() { return stopFlag != 0; }

void waitFor(std::chrono::microseconds rest) {
  const timespec span{0, static_cast<long>(rest.count()) * 1000};
  nanosleep(&span, nullptr);
}

bool readerGone(int error) { return error == EPIPE; }

}  // namespace cli
