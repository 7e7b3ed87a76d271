// Date-time-group (DTG) texts of UTC day counts:
//   DTG15 "YYDDDHHMMSS.SSS"       (the B3 observation time with its decimal point)
//   DTG17 "YYYY/DDD.DDDDDDDD"     (day of year and its fraction)
//   DTG19 "YYYYMonDDHHMMSS.SSS"   (English month abbreviation)
//   DTG20 "YYYY/DDD HHMM SS.SSS"
// Writers round the instant to the last printed digit first and split it into fields after, so a
// second that rounds to 60 carries into the minute, hour, day and year and 60 is never printed.
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "common/error.hpp"
#include "engine/timefunc.h"
#include "timefunc/calendar.hpp"

namespace timefunc {
namespace {

constexpr const char* kMonthNames[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// Two-digit years of DTG15 as in TLE epochs: 57-99 are 1957-1999, 00-56 are 2000-2056.
constexpr int kPivotTwoDigitYear = 57;

struct Rounded {
  CivilDate date;
  int day_of_year;
  int hour;
  int minute;
  int second;
  std::int64_t subunits;  // within the second (milliseconds) or the day (1e-8 day)
};

// Rounds a UTC count to a whole number of `unit_micros` (half up) and splits it.
Result<Rounded> RoundAndSplit(double ds50, std::int64_t unit_micros) {
  const auto split = SplitToMicros(ds50);
  if (!split) return Result<Rounded>::Fail(split.error());
  std::int64_t day = split->day_number;
  std::int64_t units = (split->micros + unit_micros / 2) / unit_micros;
  const std::int64_t units_per_day = kMicrosPerDay / unit_micros;
  if (units == units_per_day) {
    ++day;
    units = 0;
  }
  const CivilDate date = DateOfDayNumber(day);
  if (date.year > kLastYear) {
    return Result<Rounded>::Fail("UTC day count " + FormatDouble(ds50) + " rounds into the year " +
                                 std::to_string(date.year));
  }
  Rounded r{};
  r.date = date;
  r.day_of_year = static_cast<int>(day - DayNumberOfYearStart(date.year));
  const std::int64_t micros = units * unit_micros;
  r.hour = static_cast<int>(micros / 3'600'000'000);
  r.minute = static_cast<int>(micros / 60'000'000 % 60);
  r.second = static_cast<int>(micros / 1'000'000 % 60);
  r.subunits = unit_micros == 1000 ? units % 1000 : units;
  return Result<Rounded>::Ok(r);
}

template <class Format>
void WriteDtg(double ds50, char* out, std::int64_t unit_micros, const char* what, Format format) {
  if (out == nullptr) return;
  out[0] = '\0';
  const auto r = RoundAndSplit(ds50, unit_micros);
  if (!r) {
    engine::fail(std::string(what) + ": " + r.error());
    return;
  }
  format(*r, out);
}

// ---- reading ---------------------------------------------------------------------------------

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// A fixed run of ASCII digits.
std::optional<int> Digits(std::string_view s, std::size_t pos, std::size_t count) {
  if (pos + count > s.size()) return std::nullopt;
  int value = 0;
  for (std::size_t i = pos; i < pos + count; ++i) {
    if (s[i] < '0' || s[i] > '9') return std::nullopt;
    value = value * 10 + (s[i] - '0');
  }
  return value;
}

// The rest of the text from pos as "NN" or "NN." or "NN.ddd...": the number and nothing after.
std::optional<double> TwoDigitsAndFraction(std::string_view s, std::size_t pos, int whole_digits) {
  const std::size_t w = static_cast<std::size_t>(whole_digits);
  if (!Digits(s, pos, w)) return std::nullopt;
  std::size_t end = pos + w;
  if (end < s.size()) {
    if (s[end] != '.') return std::nullopt;
    for (std::size_t i = end + 1; i < s.size(); ++i) {
      if (s[i] < '0' || s[i] > '9') return std::nullopt;
    }
    end = s.size();
  }
  double value = 0.0;
  const auto res = std::from_chars(s.data() + pos, s.data() + end, value, std::chars_format::fixed);
  if (res.ec != std::errc{} || res.ptr != s.data() + end) return std::nullopt;
  return value;
}

struct Fields {
  int year;
  int day_of_year;
  int hour;
  int minute;
  double second;
};

std::string Quote(std::string_view text) {
  constexpr std::size_t kShown = 40;
  return "\"" + std::string(text.substr(0, kShown)) + (text.size() > kShown ? "...\"" : "\"");
}

const char* const kLayouts =
    "expected YYDDDHHMMSS.SSS, YYYY/DDD.DDDDDDDD, YYYYMonDDHHMMSS.SSS or YYYY/DDD HHMM SS.SSS";

Result<double> Fail(std::string_view text, const std::string& why) {
  return Result<double>::Fail("Cannot read DTG " + Quote(text) + ": " + why);
}

// Range checks shared by the layouts; the count is days and seconds added linearly, the leap
// second 23:59:60.x landing 0.x s into the next day as TimeComps2ToUTC counts it.
Result<double> FromFields(std::string_view text, const Fields& f) {
  if (f.year < kFirstYear) return Fail(text, "year " + std::to_string(f.year) + " out of range");
  const int days_in_year = IsLeapYear(f.year) ? 366 : 365;
  if (f.day_of_year < 1 || f.day_of_year > days_in_year) {
    return Fail(text, "day of year " + std::to_string(f.day_of_year) + " not in 1 to " +
                          std::to_string(days_in_year) + " of " + std::to_string(f.year));
  }
  if (f.hour > 23) return Fail(text, "hour " + std::to_string(f.hour) + " not in 0 to 23");
  if (f.minute > 59) return Fail(text, "minute " + std::to_string(f.minute) + " not in 0 to 59");
  const double max_second = f.hour == 23 && f.minute == 59 ? 61.0 : 60.0;
  if (!(f.second < max_second)) {
    return Fail(text,
                "second " + FormatDouble(f.second) + " not below " + FormatDouble(max_second));
  }
  const double seconds_of_day = f.hour * 3600.0 + f.minute * 60.0 + f.second;
  return Result<double>::Ok(static_cast<double>(DayNumberOfYearStart(f.year) + f.day_of_year) +
                            seconds_of_day / 86400.0);
}

// "YYDDDHHMMSS.SSS"
Result<double> ReadDtg15(std::string_view s) {
  const auto yy = Digits(s, 0, 2), doy = Digits(s, 2, 3), hh = Digits(s, 5, 2),
             mm = Digits(s, 7, 2);
  const auto ss = TwoDigitsAndFraction(s, 9, 2);
  if (!yy || !doy || !hh || !mm || !ss) return Fail(s, kLayouts);
  const int year = (*yy >= kPivotTwoDigitYear ? 1900 : 2000) + *yy;
  return FromFields(s, {year, *doy, *hh, *mm, *ss});
}

// "YYYY/DDD.DDDDDDDD"
Result<double> ReadDtg17(std::string_view s) {
  const auto year = Digits(s, 0, 4);
  const auto day = TwoDigitsAndFraction(s, 5, 3);
  if (!year || !day) return Fail(s, kLayouts);
  const int whole_day = static_cast<int>(*day);
  const auto checked = FromFields(s, {*year, whole_day, 0, 0, 0.0});
  if (!checked) return checked;
  return Result<double>::Ok(static_cast<double>(DayNumberOfYearStart(*year)) + *day);
}

// "YYYYMonDDHHMMSS.SSS"
Result<double> ReadDtg19(std::string_view s) {
  const auto year = Digits(s, 0, 4), day = Digits(s, 7, 2), hh = Digits(s, 9, 2),
             mm = Digits(s, 11, 2);
  const auto ss = TwoDigitsAndFraction(s, 13, 2);
  if (!year || !day || !hh || !mm || !ss) return Fail(s, kLayouts);
  int month = 0;
  for (int m = 0; m < 12; ++m) {
    bool same = true;
    for (std::size_t i = 0; i < 3; ++i) {
      const unsigned char c = static_cast<unsigned char>(s[4 + i]);
      same = same && std::tolower(c) == std::tolower(kMonthNames[m][i]);
    }
    if (same) month = m + 1;
  }
  if (month == 0) return Fail(s, "no month named \"" + std::string(s.substr(4, 3)) + "\"");
  if (*year < kFirstYear) return Fail(s, "year " + std::to_string(*year) + " out of range");
  const int month_days = DaysInMonth(*year, month);
  if (*day < 1 || *day > month_days) {
    return Fail(s, "day " + std::to_string(*day) + " not in 1 to " + std::to_string(month_days) +
                       " of " + kMonthNames[month - 1] + " " + std::to_string(*year));
  }
  const auto doy = DayNumberOfMonthStart(*year, month) + *day - 1 - DayNumberOfYearStart(*year);
  return FromFields(s, {*year, static_cast<int>(doy), *hh, *mm, *ss});
}

// "YYYY/DDD HHMM SS.SSS"
Result<double> ReadDtg20(std::string_view s) {
  const auto year = Digits(s, 0, 4), doy = Digits(s, 5, 3), hh = Digits(s, 9, 2),
             mm = Digits(s, 11, 2);
  const auto ss = s.size() > 13 && s[13] == ' ' ? TwoDigitsAndFraction(s, 14, 2) : std::nullopt;
  if (!year || !doy || !hh || !mm || !ss) return Fail(s, kLayouts);
  return FromFields(s, {*year, *doy, *hh, *mm, *ss});
}

Result<double> ReadDtg(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  if (s.empty()) return Result<double>::Fail("Cannot read DTG: the text is empty");
  // The layouts differ by what follows the first four characters.
  if (s.size() > 4 && s[4] == '/') return s.size() > 8 && s[8] == ' ' ? ReadDtg20(s) : ReadDtg17(s);
  if (s.size() > 6 && std::isalpha(static_cast<unsigned char>(s[4]))) return ReadDtg19(s);
  return ReadDtg15(s);
}

}  // namespace
}  // namespace timefunc

using timefunc::Rounded;

extern "C" {

void UTCToDTG15(double ds50UTC, char* dtg15) {
  timefunc::WriteDtg(ds50UTC, dtg15, 1000, "DTG15", [](const Rounded& r, char* out) {
    std::snprintf(out, ENGINE_TEXT_BUF, "%02d%03d%02d%02d%02d.%03d", r.date.year % 100,
                  r.day_of_year, r.hour, r.minute, r.second, static_cast<int>(r.subunits));
  });
}

void UTCToDTG17(double ds50UTC, char* dtg17) {
  // 1e-8 day is exactly 864 us, so the rounding is done on whole microseconds.
  timefunc::WriteDtg(ds50UTC, dtg17, 864, "DTG17", [](const Rounded& r, char* out) {
    std::snprintf(out, ENGINE_TEXT_BUF, "%04d/%03d.%08lld", r.date.year, r.day_of_year,
                  static_cast<long long>(r.subunits));
  });
}

void UTCToDTG19(double ds50UTC, char* dtg19) {
  timefunc::WriteDtg(ds50UTC, dtg19, 1000, "DTG19", [](const Rounded& r, char* out) {
    std::snprintf(out, ENGINE_TEXT_BUF, "%04d%s%02d%02d%02d%02d.%03d", r.date.year,
                  timefunc::kMonthNames[r.date.month - 1], r.date.day, r.hour, r.minute, r.second,
                  static_cast<int>(r.subunits));
  });
}

void UTCToDTG20(double ds50UTC, char* dtg20) {
  timefunc::WriteDtg(ds50UTC, dtg20, 1000, "DTG20", [](const Rounded& r, char* out) {
    std::snprintf(out, ENGINE_TEXT_BUF, "%04d/%03d %02d%02d %02d.%03d", r.date.year, r.day_of_year,
                  r.hour, r.minute, r.second, static_cast<int>(r.subunits));
  });
}

double DTGToUTC(const char* dtg) {
  if (dtg == nullptr) {
    engine::fail("Cannot read DTG: no text given");
    return TIME_FAILURE_MARK;
  }
  const auto ds50 = timefunc::ReadDtg(std::string_view(dtg, strnlen(dtg, ENGINE_TEXT_LEN)));
  if (!ds50) {
    engine::fail(ds50.error());
    return TIME_FAILURE_MARK;
  }
  return *ds50;
}

}  // extern "C"
