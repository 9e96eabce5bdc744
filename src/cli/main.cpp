#include <csignal>
#include <cstdio>
#include <ctime>
#include <thread>

#include "cli/command.h"

namespace {

volatile std::sig_atomic_t stopRequested = 0;

extern "C" void requestStop(int) { stopRequested = 1; }

void catchStopSignals() {
#ifdef _WIN32
  std::signal(SIGINT, requestStop);
  std::signal(SIGTERM, requestStop);
#else
  // Without SA_RESTART, so that the signal cuts the wait short.
  struct sigaction action {};
  action.sa_handler = requestStop;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
  // A closed pipe shows as a failed write, which ends --follow quietly.
  std::signal(SIGPIPE, SIG_IGN);
#endif
}

void waitFor(std::chrono::microseconds rest) {
#ifdef _WIN32
  std::this_thread::sleep_for(rest);
#else
  const timespec span{0, static_cast<long>(rest.count()) * 1000};
  nanosleep(&span, nullptr);
#endif
}

}  // namespace

int main(int argc, char** argv) {
  const cli::CommandLine line = cli::parse(argc, argv);
  if (line.error) return cli::usageError(*line.error, stderr);
  if (line.message) {
    if (std::fputs(line.message->c_str(), stdout) >= 0 && std::fflush(stdout) == 0) return 0;
    std::perror("stardate: cannot write the output");
    return 1;
  }
  if (line.options.mode == cli::Options::Mode::follow) catchStopSignals();
  const cli::TickSeams seams{runtime::readUtcClock, waitFor, [] { return stopRequested != 0; }};
  return cli::run(line.options, stdout, stderr, seams);
}
