// The proleptic Gregorian calendar of the engine's UTC day counts.
//
// A day count (ds50) is days since 1950 January 0.0, so the day number of 1950-01-01 is 1. Each
// day counts 86400 s: a leap second is not a day count of its own (see docs/engine.md, "Time").
#pragma once

#include <cstdint>

#include "timefunc/result.hpp"

namespace timefunc {

// The calendar is defined for the years of the four-digit texts.
inline constexpr int kFirstYear = 1;
inline constexpr int kLastYear = 9999;

// MJD = ds50 + kMjdMinusDs50; JD = ds50 + kJdMinusDs50.
inline constexpr double kMjdMinusDs50 = 33281.0;
inline constexpr double kJdMinusDs50 = 2433281.5;

inline constexpr std::int64_t kMicrosPerDay = 86'400'000'000;

struct CivilDate {
  int year;
  int month;  // 1..12
  int day;    // 1..31
};

bool IsLeapYear(std::int64_t year);
int DaysInMonth(std::int64_t year, int month);

// Day number (the ds50 of 00:00) of year-month-01, for month 1..12 and any year that fits.
std::int64_t DayNumberOfMonthStart(std::int64_t year, int month);

// Day number of January 0 (December 31 of the year before), so that day of year d of `year`
// has day number DayNumberOfYearStart(year) + d.
std::int64_t DayNumberOfYearStart(std::int64_t year);

CivilDate DateOfDayNumber(std::int64_t day_number);

// True when ds50 is a number inside the calendar's years.
bool InCalendarRange(double ds50);

// A day count split into its day number and the microseconds of that day in [0, kMicrosPerDay).
// A ds50 double resolves about 0.3 us today, so rounding to the microsecond removes the noise of
// the last bits (12:30:45.5 stays 45.5, not 45.4999997) without moving any instant by more than
// half a microsecond.
struct DayAndMicros {
  std::int64_t day_number;
  std::int64_t micros;
};
Result<DayAndMicros> SplitToMicros(double ds50);

// The calendar date and second of day of a UTC day count, unrounded, for models (eraDat) that
// take a date and a fraction of day.
struct DateAndFraction {
  CivilDate date;
  double fraction_of_day;
};
Result<DateAndFraction> SplitToDate(double ds50);

}  // namespace timefunc
