// An instant: a day count since 1950 (ds50) and the time system it is expressed in.
//
// The text and calendar views read the count as UTC whatever the system; only to_system and the
// Greenwich angles convert. Conversions go through the engine's timefunc library.
#pragma once

#include <expected>
#include <string>
#include <string_view>

#include "enums/time_system.hpp"
#include "time/time_components.hpp"
#include "time/time_span.hpp"

namespace talvoran {

struct Epoch {
  double days_since_1950 = 0.0;
  TimeSystem time_system = TimeSystem::UTC;

  static Epoch from_time_components(const TimeComponents& c, TimeSystem system);
  static std::expected<Epoch, std::string> from_iso(std::string_view iso, TimeSystem system);
  // The text is cut at 512 bytes; the engine's day count is taken as it comes (its failure mark
  // included).
  static Epoch from_dtg(std::string_view dtg, TimeSystem system);

  // The same instant in `target`. Only UTC and TAI counts can be converted (to any of the four
  // systems but TAI to TT); a result equal to the engine's failure mark -1.0 fails too. The error
  // is "<from> to <to> conversion not supported".
  std::expected<Epoch, std::string> to_system(TimeSystem target) const;

  double day_of_year() const;
  TimeComponents to_time_components() const;
  std::string to_iso() const;
  std::string to_dtg_15() const;
  std::string to_dtg_17() const;
  std::string to_dtg_19() const;
  std::string to_dtg_20() const;

  // Greenwich angles (radians) of the UT1 count; the error of the UT1 conversion otherwise.
  std::expected<double, std::string> fk4_greenwich_angle() const;
  std::expected<double, std::string> fk5_greenwich_angle() const;

  Epoch operator+(TimeSpan s) const { return {days_since_1950 + s.days, time_system}; }
  Epoch operator-(TimeSpan s) const { return {days_since_1950 - s.days, time_system}; }
  // This minus `other` converted to this epoch's system.
  std::expected<TimeSpan, std::string> minus(const Epoch& other) const;
};

}  // namespace talvoran
