// A duration in days.
#pragma once

namespace talvoran {

struct TimeSpan {
  double days = 0.0;

  // The constructors multiply by the double nearest to 1/24, 1/1440 and 1/86400, so that a span
  // built from hours reads back through the exact factor 24 with the rounding of that reciprocal
  // (7 hours reads 6.999999999999999).
  static constexpr TimeSpan from_days(double d) { return {d}; }
  static constexpr TimeSpan from_hours(double h) { return {h * 0.041666666666666664}; }
  static constexpr TimeSpan from_minutes(double m) { return {m * 0.0006944444444444445}; }
  static constexpr TimeSpan from_seconds(double s) { return {s * 1.1574074074074073e-05}; }

  constexpr double in_days() const { return days; }
  constexpr double in_hours() const { return days * 24.0; }
  constexpr double in_minutes() const { return days * 1440.0; }
  constexpr double in_seconds() const { return days * 86400.0; }
};

}  // namespace talvoran
