#include "time/epoch.hpp"

#include <algorithm>
#include <cstring>

#include "engine/export.h"
#include "engine/timefunc.h"

namespace talvoran {

namespace {

using DtgWriter = void (*)(double, char*);

std::string dtg_text(DtgWriter write, double ds50) {
  char buf[ENGINE_TEXT_BUF] = {};
  write(ds50, buf);
  return std::string(buf, strnlen(buf, ENGINE_TEXT_LEN));
}

std::string conversion_error(TimeSystem from, TimeSystem to) {
  return std::string(display_name(from)) + " to " + std::string(display_name(to)) +
         " conversion not supported";
}

// The conversion of a count in `from` to `to`, or nothing where the engine has no such conversion.
bool convert(double d, TimeSystem from, TimeSystem to, double& out) {
  using enum TimeSystem;
  if (from == UTC) {
    switch (to) {
      case UTC:
        out = d;
        return true;
      case TAI:
        out = UTCToTAI(d);
        return true;
      case UT1:
        out = UTCToUT1(d);
        return true;
      case TT:
        out = UTCToET(d);
        return true;
    }
  }
  if (from == TAI) {
    switch (to) {
      case UTC:
        out = TAIToUTC(d);
        return true;
      case TAI:
        out = d;
        return true;
      case UT1:
        out = TAIToUT1(d);
        return true;
      case TT:
        return false;
    }
  }
  return false;  // counts in UT1 and TT cannot be converted, even to their own system
}

}  // namespace

Epoch Epoch::from_time_components(const TimeComponents& c, TimeSystem system) {
  return {TimeComps2ToUTC(c.year, c.month, c.day, c.hour, c.minute, c.second), system};
}

std::expected<Epoch, std::string> Epoch::from_iso(std::string_view iso, TimeSystem system) {
  auto c = talvoran::from_iso(iso);
  if (!c) return std::unexpected(c.error());
  return from_time_components(*c, system);
}

Epoch Epoch::from_dtg(std::string_view dtg, TimeSystem system) {
  char buf[ENGINE_TEXT_BUF] = {};
  std::memcpy(buf, dtg.data(), std::min<std::size_t>(dtg.size(), ENGINE_TEXT_LEN));
  return {DTGToUTC(buf), system};
}

std::expected<Epoch, std::string> Epoch::to_system(TimeSystem target) const {
  double out = 0.0;
  if (!convert(days_since_1950, time_system, target, out) || out == TIME_FAILURE_MARK) {
    return std::unexpected(conversion_error(time_system, target));
  }
  return Epoch{out, target};
}

double Epoch::day_of_year() const {
  int year = 0;
  double doy = 0.0;
  UTCToYrDays(days_since_1950, &year, &doy);
  return doy;
}

TimeComponents Epoch::to_time_components() const {
  TimeComponents c;
  UTCToTimeComps2(days_since_1950, &c.year, &c.month, &c.day, &c.hour, &c.minute, &c.second);
  return c;
}

std::string Epoch::to_iso() const { return talvoran::to_iso(to_time_components()); }

std::string Epoch::to_dtg_15() const { return dtg_text(UTCToDTG15, days_since_1950); }
std::string Epoch::to_dtg_17() const { return dtg_text(UTCToDTG17, days_since_1950); }
std::string Epoch::to_dtg_19() const { return dtg_text(UTCToDTG19, days_since_1950); }
std::string Epoch::to_dtg_20() const { return dtg_text(UTCToDTG20, days_since_1950); }

std::expected<double, std::string> Epoch::fk4_greenwich_angle() const {
  auto ut1 = to_system(TimeSystem::UT1);
  if (!ut1) return std::unexpected(ut1.error());
  return ThetaGrnwchFK4(ut1->days_since_1950);
}

std::expected<double, std::string> Epoch::fk5_greenwich_angle() const {
  auto ut1 = to_system(TimeSystem::UT1);
  if (!ut1) return std::unexpected(ut1.error());
  return ThetaGrnwchFK5(ut1->days_since_1950);
}

std::expected<TimeSpan, std::string> Epoch::minus(const Epoch& other) const {
  auto b = other.to_system(time_system);
  if (!b) return std::unexpected(b.error());
  return TimeSpan{days_since_1950 - b->days_since_1950};
}

}  // namespace talvoran
