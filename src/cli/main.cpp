#include <cstdio>

#include "cli/command.h"
#include "cli/platform.h"

int main(int argc, char** argv) {
  const cli::CommandLine line = cli::parse(argc, argv);
  if (line.error) return cli::usageError(*line.error, stderr);
  if (line.message) {
    if (std::fputs(line.message->c_str(), stdout) >= 0 && std::fflush(stdout) == 0) return 0;
    std::perror("stardate: cannot write the output");
    return 1;
  }
  if (line.options.mode == cli::Options::Mode::follow) cli::catchStopSignals();
  const cli::TickSeams seams{runtime::readUtcClock, cli::waitFor, cli::stopRequested};
  return cli::run(line.options, stdout, stderr, seams);
}
