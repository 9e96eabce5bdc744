#pragma once

#include <cstdio>
#include <optional>
#include <string>

#include "cli/follow.h"

namespace cli {

struct Options {
  enum class Mode { present, at, reverse, follow, hex, decimal };
  Mode mode = Mode::present;
  std::string value;  // of --at, --reverse, --hex or --decimal
  std::optional<std::string> format;
};

struct CommandLine {
  Options options;
  std::optional<std::string> error;    // what is wrong, in one line
  std::optional<std::string> message;  // the help or the version, the whole output
};

CommandLine parse(int argc, const char* const* argv);

// Writes what the options ask for to `out`. Status 0, 1 when `out` could not be written,
// 2 for bad input; a line on `err` says what went wrong.
int run(const Options& options, std::FILE* out, std::FILE* err, const TickSeams& seams);

// One line on `err`, status 2.
int usageError(const std::string& what, std::FILE* err);

}  // namespace cli
