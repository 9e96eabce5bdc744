#include "clock/moment_format.h"

#include <algorithm>
#include <limits>

#include "runtime/moment_reading.h"

namespace epochclock {

namespace {

using Texts = const MomentTexts&;

constexpr FormatField kFields[] = {
    {'S', "the StarDate as the clock shows it", " + 39A4.51EB",
     [](Texts t, std::int64_t) -> std::optional<std::string> { return t.starDate; }},
    {'C', "the same without blanks", "+39A4.51EB",
     [](Texts t, std::int64_t) -> std::optional<std::string> {
       std::string compact = t.starDate;
       std::erase(compact, ' ');
       return compact;
     }},
    {'s', "the seconds since the epoch", "967070187",
     [](Texts t, std::int64_t) -> std::optional<std::string> { return t.seconds; }},
    {'u', "the UTC moment in the clock's pattern", "2000.03.12+18.54.10",
     [](Texts t, std::int64_t) -> std::optional<std::string> { return t.utc; }},
    {'l', "the local moment in that pattern", "",
     [](Texts t, std::int64_t) -> std::optional<std::string> {
       if (t.local.empty()) return std::nullopt;
       return t.local;
     }},
    {'i', "the UTC moment in ISO 8601", "2000-03-12T18:54:10Z",
     [](Texts, std::int64_t unixSeconds) -> std::optional<std::string> { return runtime::isoText(unixSeconds); }},
    {'%', "a percent sign", "%", [](Texts, std::int64_t) -> std::optional<std::string> { return "%"; }},
};

const FormatField* fieldOf(char letter) {
  const auto found = std::ranges::find(kFields, letter, &FormatField::letter);
  return found == std::end(kFields) ? nullptr : &*found;
}

}  // namespace

std::span<const FormatField> formatFields() { return kFields; }

std::optional<std::string> formatError(std::string_view format) {
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%') continue;
    if (i + 1 == format.size()) return "ends in a lone %";
    if (!fieldOf(format[i + 1])) {
      std::string why = "has no field %";
      why += format[i + 1];
      why += " (";
      for (const FormatField& field : kFields) {
        if (&field != kFields) why += ' ';
        why += '%';
        why += field.letter;
      }
      why += ')';
      return why;
    }
    ++i;
  }
  return std::nullopt;
}

std::optional<std::string> formatLine(std::string_view format, std::int64_t unixSeconds,
                                      std::optional<double> localOffset) {
  // Only a format that shows the local moment reads the zone: a command started for a
  // StarDate alone opens no zone file.
  const runtime::DateTimeSerial local =
      format.find("%l") == std::string_view::npos ? std::numeric_limits<double>::quiet_NaN()
      : localOffset ? runtime::utcSerial(unixSeconds) + *localOffset / static_cast<double>(runtime::kSecondsPerDay)
                    : runtime::localMoment(unixSeconds);
  const MomentTexts texts = momentTexts({local, runtime::utcSerial(unixSeconds), starSecondsOf(unixSeconds)});
  std::string line;
  for (std::size_t i = 0; i < format.size(); ++i) {
    const FormatField* field = format[i] == '%' && i + 1 < format.size() ? fieldOf(format[i + 1]) : nullptr;
    if (!field) {
      line += format[i];
      continue;
    }
    const auto text = field->text(texts, unixSeconds);
    if (!text) return std::nullopt;
    line += *text;
    ++i;
  }
  return line;
}

}  // namespace epochclock
