#include "cli/command.h"

#include <cerrno>
#include <charconv>
#include <cstring>
#include <string_view>
#include <vector>

#include <CLI/CLI.hpp>

#include "clock/epoch_clock.h"
#include "clock/star_date_reading.h"
#include "clock/moment_format.h"
#include "numerics/conversion.h"
#include "numerics/hex_reading.h"
#include "runtime/moment_reading.h"

namespace cli {

namespace {

constexpr const char* kHelp =
    "Usage: stardate [--at MOMENT | --reverse STARDATE | --follow] [--format FORMAT]\n"
    "       stardate --hex NUMBER\n"
    "       stardate --decimal HEXTEXT\n"
    "The StarDate: the seconds since 1969-07-20 20:17:43 UTC in hexadecimal, a point\n"
    "before the last four digits, as the Selenial clock shows it.\n"
    "\n"
    "  -a, --at MOMENT         that moment instead of the present one:\n"
    "                            --at 2000-03-12T18:54:10Z    --at '2000-03-13 01:54:10+07:00'\n"
    "                            --at 2000-03-12T19:54:10 (local time)\n"
    "                            --at 2000.03.12+18.54.10 (UTC)    --at @952887250 (Unix seconds)\n"
    "  -r, --reverse STARDATE  the moment of a StarDate; the format is then %i:\n"
    "                            --reverse ' + 39A4.51EB'    --reverse -0.0001\n"
    "  -F, --follow            the line again on every second until stopped:\n"
    "                            --follow --format '%C %u'\n"
    "  -f, --format FORMAT     the line to print, by default %S:  --format 'log %i %C'\n"
    "                            %S the StarDate ( + 39A4.51EB)    %C without blanks (+39A4.51EB)\n"
    "                            %s the seconds since the epoch (967070187)\n"
    "                            %u the UTC moment (2000.03.12+18.54.10)    %l the local moment\n"
    "                            %i the UTC moment in ISO 8601 (2000-03-12T18:54:10Z)    %% a %\n"
    "  -x, --hex NUMBER        the calculator's conversion, positional and scientific:\n"
    "                            --hex 86400    --hex=-255\n"
    "  -d, --decimal HEXTEXT   the value of a hexadecimal text:\n"
    "                            --decimal '+ 15180.0'    --decimal '4.189 nega-3'\n"
    "  -h, --help              this help\n"
    "  -V, --version           the version:  stardate " STARDATE_VERSION "\n"
    "\n"
    "Bad input: one line on stderr, status 2. Output that cannot be written: status 1.\n";

struct ValueOption {
  std::string_view shortName, longName;
};
constexpr ValueOption kValueOptions[] = {
    {"-a", "--at"}, {"-r", "--reverse"}, {"-f", "--format"}, {"-x", "--hex"}, {"-d", "--decimal"}};

// A value in a message: short, on one line, whatever it holds.
std::string shownValue(std::string_view text) {
  constexpr std::size_t kShown = 40;
  std::string shown = "'";
  for (const char c : text.substr(0, kShown)) {
    shown += static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) >= 0x7F ? '?' : c;
  }
  return shown + (text.size() > kShown ? "...'" : "'");
}

const char* optionName(Options::Mode mode) {
  switch (mode) {
    case Options::Mode::at: return "--at";
    case Options::Mode::reverse: return "--reverse";
    case Options::Mode::hex: return "--hex";
    case Options::Mode::decimal: return "--decimal";
    default: return "";
  }
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

// Whether the last write failed because the reader is gone; Windows' C library says
// so with EINVAL.
bool closedPipe() {
#ifdef _WIN32
  return errno == EPIPE || errno == EINVAL;
#else
  return errno == EPIPE;
#endif
}

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
    bool split = false;
    for (const ValueOption& option : kValueOptions) {
      const std::string_view name = arg.substr(0, equals);
      if (equals != std::string_view::npos && (name == option.longName || name == option.shortName)) {
        args.emplace_back(arg.substr(equals + 1));
        args.emplace_back(option.longName);
        split = true;
      }
    }
    if (!split) args.emplace_back(arg);
  }
  CommandLine line;
  CLI::App app{"", "stardate"};
  app.set_help_flag("-h,--help");
  std::string at, reverse, format, hex, decimal;
  bool follows = false, version = false;
  auto* atOption = app.add_option("-a,--at", at)->type_name("MOMENT");
  auto* reverseOption = app.add_option("-r,--reverse", reverse)->type_name("STARDATE");
  auto* followOption = app.add_flag("-F,--follow", follows);
  auto* formatOption = app.add_option("-f,--format", format)->type_name("FORMAT");
  auto* hexOption = app.add_option("-x,--hex", hex)->type_name("NUMBER");
  auto* decimalOption = app.add_option("-d,--decimal", decimal)->type_name("HEXTEXT");
  app.add_flag("-V,--version", version);
  atOption->excludes(reverseOption)->excludes(followOption);
  reverseOption->excludes(followOption);
  for (CLI::Option* other : {atOption, reverseOption, followOption, formatOption, decimalOption}) {
    hexOption->excludes(other);
  }
  for (CLI::Option* other : {atOption, reverseOption, followOption, formatOption}) decimalOption->excludes(other);

  try {
    app.parse(args);
  } catch (const CLI::CallForHelp&) {
    line.message = kHelp;
    return line;
  } catch (const CLI::ParseError& e) {
    line.error = e.what();
    return line;
  }
  if (version) {
    line.message = "stardate " STARDATE_VERSION "\n";
    return line;
  }
  Options& o = line.options;
  const std::pair<CLI::Option*, std::pair<Options::Mode, std::string*>> modes[] = {
      {atOption, {Options::Mode::at, &at}},
      {reverseOption, {Options::Mode::reverse, &reverse}},
      {hexOption, {Options::Mode::hex, &hex}},
      {decimalOption, {Options::Mode::decimal, &decimal}}};
  for (const auto& [option, mode] : modes) {
    if (option->count() == 0) continue;
    o.mode = mode.first;
    o.value = *mode.second;
  }
  if (follows) o.mode = Options::Mode::follow;
  if (formatOption->count() > 0) o.format = format;
  for (const std::string* value : {&o.value, &format}) {
    if (value->size() > static_cast<std::size_t>(numerics::kMaxInput)) {
      line.error = std::string(value == &format ? "--format" : optionName(o.mode)) + ": the text is longer than " +
                   std::to_string(numerics::kMaxInput) + " characters";
    }
  }
  if (!line.error && o.format) {
    if (auto wrong = epochclock::formatError(*o.format)) line.error = "--format " + shownValue(*o.format) + ": " + *wrong;
  }
  return line;
}

int usageError(const std::string& what, std::FILE* err) {
  // CLI11's messages repeat arguments as given: kept to one short line.
  std::string line = what.substr(0, 300);
  for (char& c : line) {
    if (static_cast<unsigned char>(c) < 0x20) c = '?';
  }
  std::fprintf(err, "stardate: %s\n", line.c_str());
  return 2;
}

int run(const Options& options, std::FILE* out, std::FILE* err, const TickSeams& seams) {
  using Mode = Options::Mode;
  const auto bad = [&](const std::string& why) {
    return usageError(std::string(optionName(options.mode)) + " " + shownValue(options.value) + ": " + why, err);
  };
  std::string why;
  std::string text;
  switch (options.mode) {
    case Mode::hex: {
      const auto conversion = numerics::DeciConvert(options.value);
      if (!conversion) return bad("lies beyond the calculator's range");
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
