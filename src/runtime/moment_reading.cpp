#include "runtime/moment_reading.h"

#include <array>
#include <charconv>
#include <chrono>

namespace runtime {

namespace {

using namespace std::chrono;

constexpr std::int64_t kSerialOfUnixZero = 25569;  // 1970-01-01 in days since 1899-12-30
constexpr std::string_view kNotAMoment =
    "not a moment (YYYY-MM-DDTHH:MM:SS with Z, +HH:MM, -HH:MM or nothing for local time; "
    "yyyy.MM.dd+HH.mm.ss; @seconds)";
constexpr std::string_view kOutside = "lies outside the years 100 to 9999";

// A moment read as wall-clock seconds, fields of the calendar as if in UTC.
std::int64_t wallOf(DateTimeSerial local) { return wholeSeconds(local) - kSerialOfUnixZero * kSecondsPerDay; }

struct Cursor {
  std::string_view text;
  std::size_t at = 0;

  bool done() const { return at == text.size(); }
  // Exactly `width` decimal digits.
  bool number(std::size_t width, int& value) {
    if (text.size() - at < width) return false;
    value = 0;
    for (const char c : text.substr(at, width)) {
      if (c < '0' || c > '9') return false;
      value = value * 10 + (c - '0');
    }
    at += width;
    return true;
  }
  bool oneOf(std::string_view choices) {
    if (done() || choices.find(text[at]) == std::string_view::npos) return false;
    ++at;
    return true;
  }
};

std::optional<std::int64_t> failure(std::string& why, std::string_view reason) {
  why = reason;
  return std::nullopt;
}

}  // namespace

DateTimeSerial utcSerial(std::int64_t unixSeconds) {
  return static_cast<double>(unixSeconds + kSerialOfUnixZero * kSecondsPerDay) / static_cast<double>(kSecondsPerDay);
}

std::string isoText(std::int64_t unixSeconds) {
  // The clock's own text of the moment, "2000.03.12+18.54.10", with ISO 8601's separators.
  std::string text = momentText(utcSerial(unixSeconds));
  text[4] = text[7] = '-';
  text[10] = 'T';
  text[13] = text[16] = ':';
  return text + 'Z';
}

std::optional<std::int64_t> localWallToUnix(std::int64_t wallSeconds) {
  // A zone's offset stays within a day, and changes seldom: the offsets two days
  // either side of the time and at it give every moment that can show it.
  std::optional<std::int64_t> earliest;
  for (const std::int64_t probe : {wallSeconds - 2 * kSecondsPerDay, wallSeconds, wallSeconds + 2 * kSecondsPerDay}) {
    const DateTimeSerial local = localMoment(probe);
    if (!inDateRange(local)) continue;
    const std::int64_t candidate = wallSeconds - (wallOf(local) - probe);
    const DateTimeSerial back = localMoment(candidate);
    if (inDateRange(back) && wallOf(back) == wallSeconds && (!earliest || candidate < *earliest)) {
      earliest = candidate;
    }
  }
  return earliest;
}

std::optional<std::int64_t> readMoment(std::string_view text, std::string& why) {
  if (!text.empty() && text.front() == '@') {
    std::int64_t seconds = 0;
    const char* end = text.data() + text.size();
    const auto [next, ec] = std::from_chars(text.data() + 1, end, seconds);
    if (ec == std::errc::result_out_of_range) return failure(why, kOutside);
    if (ec != std::errc{} || next != end) return failure(why, kNotAMoment);
    if (!inUnixRange(seconds)) return failure(why, kOutside);
    return seconds;
  }
  const std::size_t yearDigits = text.find_first_not_of("0123456789");
  if (yearDigits > 4 && yearDigits != std::string_view::npos && (text[yearDigits] == '-' || text[yearDigits] == '.')) {
    return failure(why, kOutside);
  }
  Cursor c{text};
  int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
  const bool iso = text.size() > 4 && text[4] == '-';
  bool ok = c.number(4, y);
  if (iso) {
    ok = ok && c.oneOf("-") && c.number(2, mo) && c.oneOf("-") && c.number(2, d) && c.oneOf("Tt ") &&
         c.number(2, h) && c.oneOf(":") && c.number(2, mi) && c.oneOf(":") && c.number(2, s);
  } else {
    ok = ok && c.oneOf(".") && c.number(2, mo) && c.oneOf(".") && c.number(2, d) && c.oneOf("+") &&
         c.number(2, h) && c.oneOf(".:") && c.number(2, mi) && c.oneOf(".:") && c.number(2, s) && c.done();
  }
  if (!ok) return failure(why, kNotAMoment);
  // Minutes east of UTC; none for a local time.
  std::optional<int> offset = iso ? std::nullopt : std::optional<int>{0};
  if (iso && !c.done()) {
    const char sign = text[c.at];
    int oh = 0, om = 0;
    if (c.oneOf("Zz")) {
      offset = 0;
    } else if (c.oneOf("+-") && c.number(2, oh) && c.oneOf(":") && c.number(2, om)) {
      if (oh > 23 || om > 59) return failure(why, "has no such offset from UTC");
      offset = (sign == '-' ? -1 : 1) * (oh * 60 + om);
    }
    if (!offset || !c.done()) return failure(why, kNotAMoment);
  }
  const year_month_day date{year{y}, month{static_cast<unsigned>(mo)}, day{static_cast<unsigned>(d)}};
  if (!date.ok()) return failure(why, "is no day of the calendar");
  if (h > 23 || mi > 59 || s > 59) return failure(why, "is no time of day (00:00:00 to 23:59:59)");
  const std::int64_t wall = sys_days{date}.time_since_epoch().count() * kSecondsPerDay + h * 3600 + mi * 60 + s;
  std::int64_t unixSeconds = wall;
  if (offset) {
    unixSeconds -= std::int64_t{*offset} * 60;
  } else if (const auto local = localWallToUnix(wall)) {
    unixSeconds = *local;
  } else {
    const bool nearEdge = wall < kFirstUnixSecond + 2 * kSecondsPerDay || wall > kLastUnixSecond - 2 * kSecondsPerDay;
    return failure(why, nearEdge ? kOutside : "is skipped by the local time zone (a switch to daylight saving time)");
  }
  if (!inUnixRange(unixSeconds)) return failure(why, kOutside);
  return unixSeconds;
}

}  // namespace runtime
