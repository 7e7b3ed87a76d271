// Calendar arithmetic and the four calendar calls of the C surface.
//
// Day numbers come from H. Hinnant's "chrono-Compatible Low-Level Date Algorithms"
// (days_from_civil / civil_from_days): a 400-year era of 146097 days with years that start in
// March, so that the leap day is the last day of its year and no table of month lengths is needed.
// Those count days from 1970-01-01; 1950-01-01 (day number 1) is 7305 days earlier.
#include "timefunc/calendar.hpp"

#include <cmath>
#include <string>

#include "common/error.hpp"
#include "engine/timefunc.h"

namespace timefunc {
namespace {

constexpr std::int64_t kDs50MinusUnixDays = 7306;  // day number of 1970-01-01

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
  return (a >= 0 ? a : a - (b - 1)) / b;  // b > 0
}

std::int64_t UnixDaysFromCivil(std::int64_t year, int month, std::int64_t day) {
  const std::int64_t y = year - (month <= 2 ? 1 : 0);
  const std::int64_t era = FloorDiv(y, 400);
  const std::int64_t year_of_era = y - era * 400;                          // [0, 399]
  const std::int64_t march_month = month > 2 ? month - 3 : month + 9;      // [0, 11]
  const std::int64_t day_of_year = (153 * march_month + 2) / 5 + day - 1;  // [0, 365]
  const std::int64_t day_of_era =
      year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;  // [0, 146096]
  return era * 146097 + day_of_era - 719468;
}

// The first and one-past-the-last day numbers of the calendar's years.
std::int64_t FirstDayNumber() { return DayNumberOfYearStart(kFirstYear) + 1; }
std::int64_t EndDayNumber() { return DayNumberOfYearStart(kLastYear + 1) + 1; }

}  // namespace

bool IsLeapYear(std::int64_t year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(std::int64_t year, int month) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

std::int64_t DayNumberOfMonthStart(std::int64_t year, int month) {
  return UnixDaysFromCivil(year, month, 1) + kDs50MinusUnixDays;
}

std::int64_t DayNumberOfYearStart(std::int64_t year) { return DayNumberOfMonthStart(year, 1) - 1; }

CivilDate DateOfDayNumber(std::int64_t day_number) {
  const std::int64_t z = day_number - kDs50MinusUnixDays + 719468;
  const std::int64_t era = FloorDiv(z, 146097);
  const std::int64_t day_of_era = z - era * 146097;  // [0, 146096]
  const std::int64_t year_of_era =
      (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
  const std::int64_t day_of_year =
      day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);  // [0, 365]
  const std::int64_t march_month = (5 * day_of_year + 2) / 153;                // [0, 11]
  const int day = static_cast<int>(day_of_year - (153 * march_month + 2) / 5 + 1);
  const int month = static_cast<int>(march_month < 10 ? march_month + 3 : march_month - 9);
  const std::int64_t year = year_of_era + era * 400 + (month <= 2 ? 1 : 0);
  // Callers pass day numbers inside the calendar's years, so the year fits an int.
  return {static_cast<int>(year), month, day};
}

bool InCalendarRange(double ds50) {
  return std::isfinite(ds50) && ds50 >= static_cast<double>(FirstDayNumber()) &&
         ds50 < static_cast<double>(EndDayNumber());
}

namespace {

std::string OutOfRange(double ds50) {
  return "UTC day count " + FormatDouble(ds50) + " is outside the years " +
         std::to_string(kFirstYear) + " to " + std::to_string(kLastYear);
}

}  // namespace

Result<DayAndMicros> SplitToMicros(double ds50) {
  if (!InCalendarRange(ds50)) return Result<DayAndMicros>::Fail(OutOfRange(ds50));
  const double whole = std::floor(ds50);
  // Exact: whole and ds50 are within a factor of two of each other or whole is 0.
  const double fraction = ds50 - whole;
  std::int64_t day = static_cast<std::int64_t>(whole);
  std::int64_t micros = std::llround(fraction * static_cast<double>(kMicrosPerDay));
  if (micros >= kMicrosPerDay) {
    ++day;
    micros -= kMicrosPerDay;
  }
  if (day >= EndDayNumber()) return Result<DayAndMicros>::Fail(OutOfRange(ds50));
  return Result<DayAndMicros>::Ok({day, micros});
}

Result<DateAndFraction> SplitToDate(double ds50) {
  if (!InCalendarRange(ds50)) return Result<DateAndFraction>::Fail(OutOfRange(ds50));
  const double whole = std::floor(ds50);
  return Result<DateAndFraction>::Ok(
      {DateOfDayNumber(static_cast<std::int64_t>(whole)), ds50 - whole});
}

}  // namespace timefunc

using timefunc::FormatDouble;

extern "C" {

double TimeComps2ToUTC(int year, int month, int day, int hour, int minute, double second) {
  if (year < timefunc::kFirstYear || year > timefunc::kLastYear) {
    engine::fail("Year " + std::to_string(year) + " is outside the calendar's years " +
                 std::to_string(timefunc::kFirstYear) + " to " +
                 std::to_string(timefunc::kLastYear));
    return TIME_FAILURE_MARK;
  }
  if (month < 1 || month > 12) {
    engine::fail("Month " + std::to_string(month) + " is not a month (1 to 12)");
    return TIME_FAILURE_MARK;
  }
  if (!std::isfinite(second)) {
    engine::fail("Second " + FormatDouble(second) + " is not a finite number");
    return TIME_FAILURE_MARK;
  }
  // Day, hour, minute and second count on linearly: day 0 is the last day of the month before,
  // hour 24 is the next midnight, and second 60.5 (a leap second) is 0.5 s into the next minute.
  const std::int64_t day_number =
      timefunc::DayNumberOfMonthStart(year, month) + (std::int64_t{day} - 1);
  const double seconds_of_day = hour * 3600.0 + minute * 60.0 + second;
  const double ds50 = static_cast<double>(day_number) + seconds_of_day / 86400.0;
  if (!timefunc::InCalendarRange(ds50)) {
    engine::fail("Time components " + std::to_string(year) + "-" + std::to_string(month) + "-" +
                 std::to_string(day) + " " + std::to_string(hour) + ":" + std::to_string(minute) +
                 ":" + FormatDouble(second) + " fall outside the calendar's years");
    return TIME_FAILURE_MARK;
  }
  return ds50;
}

void UTCToTimeComps2(double ds50UTC, int* year, int* month, int* day, int* hour, int* minute,
                     double* second) {
  int y = 0, mo = 0, d = 0, h = 0, mi = 0;
  double s = 0.0;
  if (const auto split = timefunc::SplitToMicros(ds50UTC)) {
    const timefunc::CivilDate date = timefunc::DateOfDayNumber(split->day_number);
    y = date.year;
    mo = date.month;
    d = date.day;
    h = static_cast<int>(split->micros / 3'600'000'000);
    mi = static_cast<int>(split->micros / 60'000'000 % 60);
    // An integer below 6e7 divided by 1e6 is the double nearest the decimal value: 45.5, not
    // 45.499999.
    s = static_cast<double>(split->micros % 60'000'000) / 1e6;
  } else {
    engine::fail(split.error());
  }
  if (year) *year = y;
  if (month) *month = mo;
  if (day) *day = d;
  if (hour) *hour = h;
  if (minute) *minute = mi;
  if (second) *second = s;
}

void UTCToYrDays(double ds50UTC, int* year, double* dayOfYear) {
  int y = 0;
  double doy = TIME_FAILURE_MARK;
  if (timefunc::InCalendarRange(ds50UTC)) {
    const auto day_number = static_cast<std::int64_t>(std::floor(ds50UTC));
    y = timefunc::DateOfDayNumber(day_number).year;
    // Not rounded: the difference of two close doubles is exact.
    doy = ds50UTC - static_cast<double>(timefunc::DayNumberOfYearStart(y));
  } else {
    engine::fail("UTC day count " + FormatDouble(ds50UTC) + " is outside the years " +
                 std::to_string(timefunc::kFirstYear) + " to " +
                 std::to_string(timefunc::kLastYear));
  }
  if (year) *year = y;
  if (dayOfYear) *dayOfYear = doy;
}

double YrDaysToUTC(int year, double dayOfYear) {
  if (year < timefunc::kFirstYear || year > timefunc::kLastYear) {
    engine::fail("Year " + std::to_string(year) + " is outside the calendar's years " +
                 std::to_string(timefunc::kFirstYear) + " to " +
                 std::to_string(timefunc::kLastYear));
    return TIME_FAILURE_MARK;
  }
  const double ds50 = static_cast<double>(timefunc::DayNumberOfYearStart(year)) + dayOfYear;
  if (!timefunc::InCalendarRange(ds50)) {
    engine::fail("Day of year " + FormatDouble(dayOfYear) + " of " + std::to_string(year) +
                 " falls outside the calendar's years");
    return TIME_FAILURE_MARK;
  }
  return ds50;
}

}  // extern "C"
