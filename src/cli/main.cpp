#include <cstdio>
#include <string>

#include <CLI/CLI.hpp>

#include "clock/epoch_clock.h"
#include "runtime/date_time.h"

int main(int argc, char** argv) {
  CLI::App app{"The StarDate of the present moment", "stardate"};
  bool version = false;
  app.add_flag("-V,--version", version, "the version");
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp&) {
    std::fputs(app.help().c_str(), stdout);
    return 0;
  } catch (const CLI::ParseError& e) {
    std::fprintf(stderr, "stardate: %s\n", e.what());
    return 2;
  }
  if (version) {
    std::puts("stardate " STARDATE_VERSION);
    return 0;
  }
  const auto sample = epochclock::sample(runtime::presentMoment(), 0);
  if (sample) std::puts(epochclock::starDateText(sample->starsecs).c_str());
  return 0;
}
