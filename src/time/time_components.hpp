// A calendar breakdown of an instant, and the module's ISO 8601 reader and writer.
#pragma once

#include <cstdint>
#include <expected>
#include <string>
#include <string_view>

namespace talvoran {

struct TimeComponents {
  std::int32_t year = 0;
  std::int32_t month = 0;
  std::int32_t day = 0;
  std::int32_t hour = 0;
  std::int32_t minute = 0;
  double second = 0.0;

  // The five integers equal and the seconds within one double epsilon (absolute, no scaling).
  bool operator==(const TimeComponents& other) const;
  // One integer differs, or the seconds differ by at least one double epsilon. Not the negation
  // of ==: with a NaN second both are false.
  bool differs_from(const TimeComponents& other) const;
};

// "YYYY-MM-DDTHH:MM:SS.sss": year zero-padded to 4 characters (a sign counts), month to minute to
// 2, the seconds with exactly 3 decimals (nearest thousandth, ties to even) padded to 6. Nothing
// carries from the seconds into the minutes; wider values are printed in full.
std::string to_iso(const TimeComponents& c);

// Reads "<date>T<time>": the text is split at every "T" (first piece the date, second the time,
// more ignored); the date at "-" into year, month, day; the time, with every "Z" removed, at ":"
// into hour, minute, second (surplus pieces ignored, fewer fail). The integers are an optional sign
// and ASCII digits within int32; the second is a decimal number with optional exponent, or inf,
// infinity, nan in any case. Nothing is trimmed. The error names what could not be read.
std::expected<TimeComponents, std::string> from_iso(std::string_view text);

// "TimeComponents(year=2024, month=1, ..., second=5.5)", the second in its shortest round-trip
// decimal form without exponent and without ".0" on whole numbers.
std::string repr(const TimeComponents& c);

// The shortest decimal text that reads back to x, in fixed notation ("30", "0.0000001", "-0",
// "NaN", "inf", "-inf").
std::string shortest_decimal(double x);

}  // namespace talvoran
