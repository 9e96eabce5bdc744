#include "cli/command.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <string_view>
#include <vector>

#include <CLI/CLI.hpp>

#include "cli/platform.h"
#include "cli/shown_text.h"
#include "clock/epoch_clock.h"
#include "clock/star_date_reading.h"
#include "clock/moment_format.h"
#include "numerics/conversion.h"
#include "numerics/hex_reading.h"
#include "runtime/moment_reading.h"
#include "runtime/number_text.h"

namespace cli {

namespace {

using Mode = Options::Mode;

// What an option is for: a mode that prints a moment (and takes --format), a mode
// that prints a number, the format, the help, the version.
enum class Role { moment, number, format, help, version };

struct OptionDesign {
  std::string_view shortName, longName;
  std::string_view valueName;  // empty for a flag
  Role role;
  Mode mode;                   // what a moment or number option picks
  std::string_view help;       // after its names in the help
  std::string_view examples;   // lines under it
};

constexpr OptionDesign kOptions[] = {
    {"-a", "--at", "MOMENT", Role::moment, Mode::at, "that moment instead of the present one:",
     "--at 2000-03-12T18:54:10Z    --at '2000-03-13 01:54:10+07:00'\n"
     "--at 2000-03-12T19:54:10 (local time)\n"
     "--at 2000.03.12+18.54.10 (UTC)    --at @952887250 (Unix seconds)"},
    {"-r", "--reverse", "STARDATE", Role::moment, Mode::reverse, "the moment of a StarDate; the format is then %i:",
     "--reverse ' + 39A4.51EB'    --reverse -0.0001"},
    {"-F", "--follow", "", Role::moment, Mode::follow, "the line again on every second until stopped:",
     "--follow --format '%C %u'"},
    {"-f", "--format", "FORMAT", Role::format, Mode::present, "the line to print, by default %S:",
     "--format 'log %i %C'"},
    {"-x", "--hex", "NUMBER", Role::number, Mode::hex, "the calculator's conversion, positional and scientific:",
     "--hex 86400    --hex=-255"},
    {"-d", "--decimal", "HEXTEXT", Role::number, Mode::decimal, "the value of a hexadecimal text:",
     "--decimal '+ 15180.0'    --decimal '4.189 nega-3'"},
    {"-h", "--help", "", Role::help, Mode::present, "this help", ""},
    {"-V", "--version", "", Role::version, Mode::present, "the version:", "stardate " STARDATE_VERSION},
};
constexpr std::size_t kOptionCount = std::size(kOptions);

bool picksMode(const OptionDesign& option) { return option.role == Role::moment || option.role == Role::number; }

std::string callOf(const OptionDesign& option) {
  return std::string(option.longName) + (option.valueName.empty() ? "" : " ") + std::string(option.valueName);
}

std::string helpText() {
  constexpr std::size_t kHelpColumn = 26, kExampleColumn = 28;
  std::string moments, format, numbers;
  for (const OptionDesign& option : kOptions) {
    if (option.role == Role::moment) moments += (moments.empty() ? "" : " | ") + callOf(option);
    if (option.role == Role::format) format = callOf(option);
    if (option.role == Role::number) numbers += "       stardate " + callOf(option) + "\n";
  }
  std::string text = "Usage: stardate [" + moments + "] [" + format + "]\n" + numbers +
                     "The StarDate: the seconds since 1969-07-20 20:17:43 UTC in hexadecimal, a point\n"
                     "before the last four digits, as the Selenial clock shows it.\n\n";
  const std::string indent(kExampleColumn, ' ');
  for (const OptionDesign& option : kOptions) {
    std::string names = "  " + std::string(option.shortName) + ", " + callOf(option);
    names.resize(std::max(names.size() + 2, kHelpColumn), ' ');
    text += names + std::string(option.help) + "\n";
    std::string_view rest = option.examples;
    while (!rest.empty()) {
      const std::size_t end = rest.find('\n');
      text += indent + std::string(rest.substr(0, end)) + "\n";
      rest = end == std::string_view::npos ? "" : rest.substr(end + 1);
    }
    if (option.role != Role::format) continue;
    for (const epochclock::FormatField& field : epochclock::formatFields()) {
      text += indent + '%' + field.letter + ' ' + std::string(field.meaning);
      text += field.example.empty() ? "\n" : " (" + std::string(field.example) + ")\n";
    }
  }
  return text + "\nBad input: one line on stderr, status 2. Output that cannot be written: status 1.\n";
}

// The option that takes a value under this name, if any.
const OptionDesign* valueOption(std::string_view name) {
  for (const OptionDesign& option : kOptions) {
    if (!option.valueName.empty() && (name == option.longName || name == option.shortName)) return &option;
  }
  return nullptr;
}

// A value in a message: short, on one line, whatever it holds.
std::string shownValue(std::string_view text) { return "'" + shownText(text, 40) + "'"; }

std::string optionName(Mode mode) {
  for (const OptionDesign& option : kOptions) {
    if (picksMode(option) && option.mode == mode) return std::string(option.longName);
  }
  return "";
}

bool writeLine(std::FILE* out, const std::string& line) {
  std::fputs(line.c_str(), out);
  std::fputc('\n', out);
  return std::fflush(out) == 0 && !std::ferror(out);
}

int writeError(std::FILE* err) {
  std::fprintf(err, "stardate: cannot write the output: %s\n", std::strerror(errno));
  return 1;
}

// The shortest decimal text that reads back as the same double.
std::string shortestText(double value) {
  char text[32];
  const auto end = std::to_chars(text, text + sizeof text, value).ptr;
  return std::string(text, end);
}

// Whether the last write failed because the reader is gone.
bool closedPipe() { return readerGone(errno); }

int follow(const std::string& format, std::FILE* out, std::FILE* err, const TickSeams& seams) {
  std::optional<runtime::UtcReading> now = seams.readClock();
  while (now) {
    const auto line = runtime::inUnixRange(now->unixSeconds) ? epochclock::formatLine(format, now->unixSeconds) : std::nullopt;
    if (!line) {
      std::fprintf(err, "stardate: the system clock lies outside the years 100 to 9999\n");
      return 1;
    }
    if (!writeLine(out, *line)) return closedPipe() ? 0 : writeError(err);
    now = awaitNextSecond(now->unixSeconds, seams);
  }
  return 0;
}

}  // namespace

CommandLine parse(int argc, const char* const* argv) {
  // CLI11 reads "--hex=" as a missing value, and then takes the next argument; split
  // off, the value is taken as it stands, also when it is empty or begins with "-".
  // The arguments go to CLI11 in reverse order.
  std::vector<std::string> args;
  for (int i = argc - 1; i >= 1; --i) {
    const std::string_view arg = argv[i];
    const std::size_t equals = arg.find('=');
    const OptionDesign* option = equals == std::string_view::npos ? nullptr : valueOption(arg.substr(0, equals));
    if (option) {
      args.emplace_back(arg.substr(equals + 1));
      args.emplace_back(option->longName);
    } else {
      args.emplace_back(arg);
    }
  }
  CommandLine line;
  CLI::App app{"", "stardate"};
  std::string values[kOptionCount];
  CLI::Option* added[kOptionCount] = {};
  for (std::size_t i = 0; i < kOptionCount; ++i) {
    const OptionDesign& option = kOptions[i];
    const std::string names = std::string(option.shortName) + "," + std::string(option.longName);
    if (option.role == Role::help) {
      app.set_help_flag(names);
    } else if (option.valueName.empty()) {
      added[i] = app.add_flag(names);
    } else {
      added[i] = app.add_option(names, values[i])->type_name(std::string(option.valueName));
    }
  }
  // One mode at a time; the format shapes only a moment.
  for (std::size_t i = 0; i < kOptionCount; ++i) {
    for (std::size_t j = i + 1; j < kOptionCount; ++j) {
      const Role a = kOptions[i].role, b = kOptions[j].role;
      const bool twoModes = picksMode(kOptions[i]) && picksMode(kOptions[j]);
      const bool formatsANumber =
          (a == Role::format && b == Role::number) || (a == Role::number && b == Role::format);
      if (twoModes || formatsANumber) added[i]->excludes(added[j]);
    }
  }

  try {
    app.parse(args);
  } catch (const CLI::CallForHelp&) {
    line.message = helpText();
    return line;
  } catch (const CLI::ParseError& e) {
    line.error = e.what();
    return line;
  }
  for (std::size_t i = 0; i < kOptionCount; ++i) {
    if (kOptions[i].role == Role::version && added[i]->count() > 0) {
      line.message = "stardate " STARDATE_VERSION "\n";
      return line;
    }
  }
  Options& o = line.options;
  for (std::size_t i = 0; i < kOptionCount; ++i) {
    const OptionDesign& option = kOptions[i];
    if (!added[i] || added[i]->count() == 0) continue;
    if (values[i].size() > static_cast<std::size_t>(numerics::kMaxInput) && !line.error) {
      line.error = std::string(option.longName) + ": the text is longer than " + std::to_string(numerics::kMaxInput) +
                   " characters";
    }
    if (picksMode(option)) {
      o.mode = option.mode;
      o.value = values[i];
    }
    if (option.role == Role::format) o.format = values[i];
  }
  if (!line.error && o.format) {
    if (auto wrong = epochclock::formatError(*o.format)) line.error = "--format " + shownValue(*o.format) + ": " + *wrong;
  }
  return line;
}

int usageError(const std::string& what, std::FILE* err) {
  // CLI11's messages repeat arguments as given: kept to one short line, escaped.
  std::fprintf(err, "stardate: %s\n", shownText(what, 300).c_str());
  return 2;
}

int run(const Options& options, std::FILE* out, std::FILE* err, const TickSeams& seams) {
  const auto bad = [&](const std::string& why) {
    return usageError(optionName(options.mode) + " " + shownValue(options.value) + ": " + why, err);
  };
  std::string why;
  std::string text;
  switch (options.mode) {
    case Mode::hex: {
      // The calculator reads the number a text starts with; the command only a number.
      const auto conversion = numerics::DeciConvert(options.value);
      if (!conversion) return bad("lies beyond the calculator's range");
      if (!runtime::strictValue(options.value)) return bad("not a decimal number (86400, -255, 3.5E-3)");
      text = conversion->positional + "\n" + conversion->scientific;
      break;
    }
    case Mode::decimal: {
      const auto value = numerics::readHexText(options.value, why);
      if (!value) return bad(why);
      text = shortestText(*value);
      break;
    }
    case Mode::follow:
      return follow(options.format.value_or("%S"), out, err, seams);
    default: {
      std::optional<std::int64_t> unixSeconds;
      if (options.mode == Mode::at) {
        unixSeconds = runtime::readMoment(options.value, why);
      } else if (options.mode == Mode::reverse) {
        if (const auto starsecs = epochclock::readStarDate(options.value, why)) {
          unixSeconds = epochclock::unixSecondsOf(*starsecs);
        }
      } else {
        unixSeconds = seams.readClock().unixSeconds;
        if (!runtime::inUnixRange(*unixSeconds)) {
          std::fprintf(err, "stardate: the system clock lies outside the years 100 to 9999\n");
          return 1;
        }
      }
      if (!unixSeconds) return bad(why);
      const auto line = epochclock::formatLine(options.format.value_or(options.mode == Mode::reverse ? "%i" : "%S"), *unixSeconds);
      if (!line) return bad("the local moment lies outside the years 100 to 9999");
      text = *line;
    }
  }
  return writeLine(out, text) ? 0 : writeError(err);
}

}  // namespace cli
