// The table of timing constants: daily UT1-UTC and polar motion, read from a CelesTrak EOP-All or
// an IERS finals2000A file, or from the snapshot built into the library.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "timefunc/result.hpp"

namespace timefunc {

struct EopRow {
  double mjd_utc;   // 0h UTC of the row's day
  double x_arcsec;  // polar motion
  double y_arcsec;
  double ut1_minus_utc_s;  // as published
  double ut1_minus_tai_s;  // UT1-UTC - TAI-UTC: continuous across leap seconds, so interpolable
};

struct EopTable {
  std::string source;        // file name, for messages
  std::vector<EopRow> rows;  // strictly increasing mjd_utc, at least one row
};

// Parses the text of a timing-constants file; `name` labels the messages.
Result<std::shared_ptr<const EopTable>> ParseEopText(std::string_view text,
                                                     const std::string& name);

// The snapshot embedded in the library (eop_embedded.cpp).
std::string_view EmbeddedEopText();

// The record at a UTC day count, from the table in force.
struct EopRecord {
  double tai_minus_utc_s;
  double ut1_minus_utc_s;
  double ut1_rate_ms_per_day;
  double x_arcsec;
  double y_arcsec;
};
// The rate costs two more TAI-UTC look-ups; without with_rate it is left 0.
Result<EopRecord> EopAt(double ds50_utc, bool with_rate);

Result<double> Ut1MinusUtcSeconds(double ds50_utc);

}  // namespace timefunc
