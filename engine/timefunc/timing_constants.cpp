// Timing constants: the table of daily Earth-orientation values, its two file formats, the snapshot
// that serves until a file is loaded, and interpolation.
//
// Formats (detected from the content):
//  - CelesTrak EOP-All (v1.1): header lines, then "BEGIN OBSERVED" ... "END OBSERVED" and
//    "BEGIN PREDICTED" ... "END PREDICTED" blocks of FORMAT(I4,I3,I3,I6,2F10.6,2F11.7,4F10.6,I4)
//    rows: date, MJD, x", y", UT1-UTC s, LOD s, dPsi", dEps", dX", dY", TAI-UTC s. The
//    NUM_OBSERVED_POINTS / NUM_PREDICTED_POINTS counts are checked, so a cut-off download fails.
//  - IERS finals2000A (readme.finals2000A): fixed columns; we read the date (1-6), MJD (8-15),
//    Bulletin A PM-x (19-27), PM-y (38-46) and UT1-UTC (59-68). Rows past the predictions carry a
//    date and nothing else and are skipped.
//
// UT1-UTC jumps by a second at each leap second, so rows store UT1-TAI (continuous) and the
// interpolated value gets TAI-UTC of the instant added back (the same eraDat as UTCToTAI).
#include "timefunc/timing_constants.hpp"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <shared_mutex>
#include <sstream>
#include <system_error>
#include <utility>

#include "common/error.hpp"
#include "engine/timefunc.h"
#include "timefunc/calendar.hpp"
#include "timefunc/scales.hpp"

namespace timefunc {
namespace {

using TablePtr = std::shared_ptr<const EopTable>;
using TableResult = Result<TablePtr>;

// Larger values are not Earth orientation but a misplaced decimal point or a unit mistake
// (|UT1-UTC| stays under 0.9 s by the definition of UTC; polar motion stays under 1").
constexpr double kMaxAbsUt1MinusUtcSeconds = 2.0;
constexpr double kMaxAbsPolarMotionArcsec = 2.0;

// Files of either format are a few megabytes; anything far larger is not a timing-constants file.
constexpr std::uintmax_t kMaxFileBytes = 64u << 20;

std::string_view Trim(std::string_view s) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

bool ParseDouble(std::string_view field, double& out) {
  field = Trim(field);
  if (!field.empty() && field.front() == '+') field.remove_prefix(1);
  if (field.empty()) return false;
  const auto res =
      std::from_chars(field.data(), field.data() + field.size(), out, std::chars_format::fixed);
  return res.ec == std::errc{} && res.ptr == field.data() + field.size() && std::isfinite(out);
}

bool ParseInt(std::string_view field, long long& out) {
  field = Trim(field);
  if (!field.empty() && field.front() == '+') field.remove_prefix(1);
  if (field.empty()) return false;
  const auto res = std::from_chars(field.data(), field.data() + field.size(), out);
  return res.ec == std::errc{} && res.ptr == field.data() + field.size();
}

// Columns first..last (1-based, inclusive) of a fixed-column line, or "" past its end.
std::string_view Columns(std::string_view line, std::size_t first, std::size_t last) {
  if (line.size() < first) return {};
  return line.substr(first - 1, std::min(last, line.size()) - (first - 1));
}

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

std::vector<std::string_view> SplitFields(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    const std::size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
    if (i > start) fields.push_back(line.substr(start, i - start));
  }
  return fields;
}

std::string Quote(std::string_view line) {
  constexpr std::size_t kShown = 60;
  std::string q = "\"" + std::string(line.substr(0, kShown));
  return q + (line.size() > kShown ? "...\"" : "\"");
}

// Collects rows, checking what every format shares, and names file and line in its messages.
class TableBuilder {
 public:
  explicit TableBuilder(const std::string& name) : table_(std::make_shared<EopTable>()) {
    table_->source = name;
  }

  std::string Where(std::size_t line_no) const {
    return "Timing-constants file " + table_->source + ", line " + std::to_string(line_no) + ": ";
  }

  // Empty on success, else the message.
  std::string Add(std::size_t line_no, long long year, long long month, long long day,
                  double mjd_utc, double x_arcsec, double y_arcsec, double ut1_minus_utc_s) {
    if (year < kFirstYear || year > kLastYear || month < 1 || month > 12 || day < 1 ||
        day > DaysInMonth(year, static_cast<int>(month))) {
      return Where(line_no) + "no such date " + std::to_string(year) + "-" + std::to_string(month) +
             "-" + std::to_string(day);
    }
    const double date_mjd =
        static_cast<double>(DayNumberOfMonthStart(year, static_cast<int>(month)) + day - 1) +
        kMjdMinusDs50;
    if (std::floor(mjd_utc) != date_mjd) {
      return Where(line_no) + "MJD " + FormatDouble(mjd_utc) + " is not the date " +
             std::to_string(year) + "-" + std::to_string(month) + "-" + std::to_string(day) +
             " (MJD " + FormatDouble(date_mjd) + ")";
    }
    if (!table_->rows.empty() && mjd_utc <= table_->rows.back().mjd_utc) {
      return Where(line_no) + "MJD " + FormatDouble(mjd_utc) + " does not follow MJD " +
             FormatDouble(table_->rows.back().mjd_utc) + " of the line before";
    }
    if (std::fabs(ut1_minus_utc_s) > kMaxAbsUt1MinusUtcSeconds) {
      return Where(line_no) + "UT1-UTC " + FormatDouble(ut1_minus_utc_s) +
             " s is not a UT1-UTC value";
    }
    if (std::fabs(x_arcsec) > kMaxAbsPolarMotionArcsec ||
        std::fabs(y_arcsec) > kMaxAbsPolarMotionArcsec) {
      return Where(line_no) + "polar motion " + FormatDouble(x_arcsec) + "\", " +
             FormatDouble(y_arcsec) + "\" is not a polar motion";
    }
    const auto dat = TaiMinusUtcSeconds(mjd_utc - kMjdMinusDs50);
    if (!dat) return Where(line_no) + dat.error();
    table_->rows.push_back({mjd_utc, x_arcsec, y_arcsec, ut1_minus_utc_s, ut1_minus_utc_s - *dat});
    return {};
  }

  std::size_t size() const { return table_->rows.size(); }

  TableResult Finish() {
    if (table_->rows.empty()) {
      return TableResult::Fail("Timing-constants file " + table_->source +
                               ": no lines of timing constants");
    }
    return TableResult::Ok(std::move(table_));
  }

 private:
  std::shared_ptr<EopTable> table_;
};

TableResult ParseEopAll(const std::vector<std::string_view>& lines, const std::string& name) {
  TableBuilder builder(name);
  enum class Block { kNone, kObserved, kPredicted };
  Block block = Block::kNone;
  std::size_t block_start_rows = 0, block_line = 0;
  long long expected[3] = {-1, -1, -1};  // by Block
  long long found[3] = {0, 0, 0};
  const auto block_name = [](Block b) { return b == Block::kObserved ? "OBSERVED" : "PREDICTED"; };

  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::size_t line_no = i + 1;
    const std::string_view line = Trim(lines[i]);
    if (line.empty() || line.front() == '#') continue;
    const auto fields = SplitFields(line);
    const std::string_view key = fields.front();
    if (key == "BEGIN" || key == "END") {
      const std::string_view what = fields.size() == 2 ? fields[1] : std::string_view{};
      const Block named = what == "OBSERVED"    ? Block::kObserved
                          : what == "PREDICTED" ? Block::kPredicted
                                                : Block::kNone;
      if (named == Block::kNone)
        return TableResult::Fail(builder.Where(line_no) + "unknown block " + Quote(line));
      if (key == "BEGIN") {
        if (block != Block::kNone) {
          return TableResult::Fail(builder.Where(line_no) + "BEGIN inside the " +
                                   block_name(block) + " block");
        }
        block = named;
        block_start_rows = builder.size();
        block_line = line_no;
      } else {
        if (block != named) {
          return TableResult::Fail(builder.Where(line_no) + Quote(line) + " closes no open block");
        }
        found[static_cast<int>(block)] += static_cast<long long>(builder.size() - block_start_rows);
        block = Block::kNone;
      }
      continue;
    }
    if (block == Block::kNone) {
      if (key == "NUM_OBSERVED_POINTS" || key == "NUM_PREDICTED_POINTS") {
        long long n = 0;
        if (fields.size() != 2 || !ParseInt(fields[1], n) || n < 0) {
          return TableResult::Fail(builder.Where(line_no) + "cannot read the count in " +
                                   Quote(line));
        }
        expected[key == "NUM_OBSERVED_POINTS" ? 1 : 2] = n;
      } else if (key != "VERSION" && key != "UPDATED") {
        return TableResult::Fail(builder.Where(line_no) +
                                 "unexpected text outside the data blocks " + Quote(line));
      }
      continue;
    }
    // date, MJD, x, y, UT1-UTC, LOD, dPsi, dEps, dX, dY, TAI-UTC
    static constexpr const char* kFieldNames[13] = {"year", "month",   "day",    "MJD",  "x",
                                                    "y",    "UT1-UTC", "LOD",    "dPsi", "dEpsilon",
                                                    "dX",   "dY",      "TAI-UTC"};
    if (fields.size() != 13) {
      return TableResult::Fail(builder.Where(line_no) + "expected 13 fields, found " +
                               std::to_string(fields.size()) + " in " + Quote(line));
    }
    long long ints[4] = {};
    double reals[8] = {};
    long long dat = 0;
    for (int f = 0; f < 13; ++f) {
      const bool ok = f < 4    ? ParseInt(fields[f], ints[f])
                      : f < 12 ? ParseDouble(fields[f], reals[f - 4])
                               : ParseInt(fields[f], dat);
      if (!ok) {
        return TableResult::Fail(builder.Where(line_no) + "cannot read " + kFieldNames[f] +
                                 " from \"" + std::string(fields[f]) + "\"");
      }
    }
    if (auto error = builder.Add(line_no, ints[0], ints[1], ints[2], static_cast<double>(ints[3]),
                                 reals[0], reals[1], reals[2]);
        !error.empty()) {
      return TableResult::Fail(error);
    }
  }
  if (block != Block::kNone) {
    return TableResult::Fail(builder.Where(block_line) + "the " + std::string(block_name(block)) +
                             " block is never closed (file cut short?)");
  }
  for (int b = 1; b <= 2; ++b) {
    if (expected[b] >= 0 && expected[b] != found[b]) {
      return TableResult::Fail("Timing-constants file " + name + ": NUM_" +
                               block_name(static_cast<Block>(b)) + "_POINTS says " +
                               std::to_string(expected[b]) + " but the file holds " +
                               std::to_string(found[b]));
    }
  }
  return builder.Finish();
}

TableResult ParseFinals2000A(const std::vector<std::string_view>& lines, const std::string& name) {
  TableBuilder builder(name);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::size_t line_no = i + 1;
    const std::string_view line = lines[i];
    if (Trim(line).empty()) continue;
    long long yy = 0, month = 0, day = 0;
    double mjd = 0.0;
    if (!ParseInt(Columns(line, 1, 2), yy) || !ParseInt(Columns(line, 3, 4), month) ||
        !ParseInt(Columns(line, 5, 6), day)) {
      return TableResult::Fail(builder.Where(line_no) + "cannot read the date (columns 1-6) in " +
                               Quote(line));
    }
    if (!ParseDouble(Columns(line, 8, 15), mjd)) {
      return TableResult::Fail(builder.Where(line_no) + "cannot read the MJD (columns 8-15) in " +
                               Quote(line));
    }
    // Beyond the predictions the file lists dates with no values.
    if (Trim(Columns(line, 59, 68)).empty()) continue;
    double x = 0.0, y = 0.0, dut1 = 0.0;
    if (!ParseDouble(Columns(line, 19, 27), x)) {
      return TableResult::Fail(builder.Where(line_no) + "cannot read PM-x (columns 19-27) in " +
                               Quote(line));
    }
    if (!ParseDouble(Columns(line, 38, 46), y)) {
      return TableResult::Fail(builder.Where(line_no) + "cannot read PM-y (columns 38-46) in " +
                               Quote(line));
    }
    if (!ParseDouble(Columns(line, 59, 68), dut1)) {
      return TableResult::Fail(builder.Where(line_no) + "cannot read UT1-UTC (columns 59-68) in " +
                               Quote(line));
    }
    // The readme's rule for the two-digit year: 19yy up to MJD 51543 (1999-12-31), then 20yy.
    const long long year = (mjd <= 51543.0 ? 1900 : 2000) + yy;
    if (auto error = builder.Add(line_no, year, month, day, mjd, x, y, dut1); !error.empty()) {
      return TableResult::Fail(error);
    }
  }
  return builder.Finish();
}

bool LooksLikeFinals2000A(std::string_view line) {
  // "73 1 2 41684.00 I  0.120733 ...": a date, a blank, then the MJD with two decimals.
  double mjd = 0.0;
  const std::string_view mjd_field = Columns(line, 8, 15);
  return line.size() >= 15 && line[6] == ' ' && mjd_field.size() == 8 && mjd_field[5] == '.' &&
         ParseDouble(mjd_field, mjd);
}

// The loaded table, null until TConLoadFile succeeds. Readers copy the pointer under a shared lock
// and then use the table with no lock held; a load swaps the pointer under the exclusive lock,
// and the old table lives on until its last reader lets go.
std::shared_mutex loaded_mutex;
TablePtr loaded_table;

TablePtr LoadedTable() {
  std::shared_lock lock(loaded_mutex);
  return loaded_table;
}

const TablePtr& DefaultTable() {
  // Built once, on first use, by whichever thread gets here first (a function-local static is
  // initialised exactly once even under concurrent callers).
  static const TablePtr table = [] {
    auto parsed = ParseEopText(EmbeddedEopText(), "(built-in snapshot)");
    if (parsed) return *parsed;
    // Cannot happen with the file the library is built with (a test checks it); without it,
    // serve UT1-UTC = 0 and no polar motion rather than fail every conversion.
    auto empty = std::make_shared<EopTable>();
    empty->source = "(none)";
    empty->rows.push_back({kMjdMinusDs50 + 1.0, 0.0, 0.0, 0.0, 0.0});
    return TablePtr(std::move(empty));
  }();
  return table;
}

TablePtr CurrentTable() {
  if (TablePtr table = LoadedTable()) return table;
  return DefaultTable();
}

}  // namespace

Result<std::shared_ptr<const EopTable>> ParseEopText(std::string_view text,
                                                     const std::string& name) {
  const auto lines = SplitLines(text);
  const auto is_block_line = [](std::string_view l) {
    l = Trim(l);
    return l == "BEGIN OBSERVED" || l == "BEGIN PREDICTED";
  };
  if (std::any_of(lines.begin(), lines.end(), is_block_line)) return ParseEopAll(lines, name);
  const auto first =
      std::find_if(lines.begin(), lines.end(), [](std::string_view l) { return !Trim(l).empty(); });
  if (first == lines.end()) {
    return TableResult::Fail("Timing-constants file " + name + " is empty");
  }
  if (LooksLikeFinals2000A(*first)) return ParseFinals2000A(lines, name);
  return TableResult::Fail("Timing-constants file " + name + ", line " +
                           std::to_string(first - lines.begin() + 1) +
                           ": neither a CelesTrak EOP-All file (no BEGIN OBSERVED block) nor an "
                           "IERS finals2000A file (no MJD in columns 8-15): " +
                           Quote(*first));
}

Result<EopRecord> EopAt(double ds50_utc, bool with_rate) {
  if (!InCalendarRange(ds50_utc)) {
    return Result<EopRecord>::Fail("UTC day count " + FormatDouble(ds50_utc) +
                                   " is outside the calendar's years");
  }
  const TablePtr table = CurrentTable();
  const std::vector<EopRow>& rows = table->rows;
  const double mjd = ds50_utc + kMjdMinusDs50;
  const auto dat = TaiMinusUtcSeconds(ds50_utc);
  EopRecord rec{};
  // Before 1960 there is no UTC and hence no TAI-UTC; report 0 as ERFA does.
  rec.tai_minus_utc_s = dat ? *dat : 0.0;
  // Outside the table the nearest row's values hold (rate 0): before the first row, UTC was kept
  // within 0.1 s of UT, so holding the first value errs by about as much as any model would and
  // keeps UT1 continuous; after the last prediction, UT1-UTC stays within 0.9 s by definition of
  // UTC, so holding is bounded where extrapolating the rate is not.
  if (mjd <= rows.front().mjd_utc || mjd >= rows.back().mjd_utc) {
    const EopRow& held = mjd <= rows.front().mjd_utc ? rows.front() : rows.back();
    rec.ut1_minus_utc_s = held.ut1_minus_utc_s;
    rec.x_arcsec = held.x_arcsec;
    rec.y_arcsec = held.y_arcsec;
    rec.ut1_rate_ms_per_day = 0.0;
    return Result<EopRecord>::Ok(rec);
  }
  const auto after = std::upper_bound(rows.begin(), rows.end(), mjd,
                                      [](double m, const EopRow& r) { return m < r.mjd_utc; });
  const EopRow& a = *(after - 1);
  const EopRow& b = *after;
  const double span_days = b.mjd_utc - a.mjd_utc;
  const double f = (mjd - a.mjd_utc) / span_days;
  const auto lerp = [f](double u, double v) { return u + f * (v - u); };
  rec.x_arcsec = lerp(a.x_arcsec, b.x_arcsec);
  rec.y_arcsec = lerp(a.y_arcsec, b.y_arcsec);
  rec.ut1_minus_utc_s = lerp(a.ut1_minus_tai_s, b.ut1_minus_tai_s) + rec.tai_minus_utc_s;
  // d(UT1-UTC)/dt = d(UT1-TAI)/dt + d(TAI-UTC)/dt; the second term is the drift of the 1960s
  // rubber second (zero from 1972), read as the change of TAI-UTC across half a day.
  double drift_s_per_day = 0.0;
  if (dat && with_rate) {
    const auto at_18h = TaiMinusUtcSeconds(std::floor(ds50_utc) + 0.75);
    const auto at_6h = TaiMinusUtcSeconds(std::floor(ds50_utc) + 0.25);
    if (at_18h && at_6h) drift_s_per_day = 2.0 * (*at_18h - *at_6h);
  }
  rec.ut1_rate_ms_per_day =
      1000.0 * ((b.ut1_minus_tai_s - a.ut1_minus_tai_s) / span_days + drift_s_per_day);
  return Result<EopRecord>::Ok(rec);
}

Result<double> Ut1MinusUtcSeconds(double ds50_utc) {
  const auto rec = EopAt(ds50_utc, /*with_rate=*/false);
  if (!rec) return Result<double>::Fail(rec.error());
  return Result<double>::Ok(rec->ut1_minus_utc_s);
}

}  // namespace timefunc

extern "C" {

int TConLoadFile(const char* tconFile) {
  if (tconFile == nullptr) return engine::fail("Timing-constants file: no file name given");
  const std::string name(tconFile, strnlen(tconFile, ENGINE_TEXT_LEN));
  if (name.empty()) return engine::fail("Timing-constants file: empty file name");
  std::error_code ec;
  const std::filesystem::path path(name);
  if (std::filesystem::is_directory(path, ec)) {
    return engine::fail("Timing-constants file " + name + " is a directory");
  }
  // A device or a pipe (/dev/zero) could be read without end.
  if (std::filesystem::exists(path, ec) && !std::filesystem::is_regular_file(path, ec)) {
    return engine::fail("Timing-constants file " + name + " is not a regular file");
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    return engine::fail("Timing-constants file " + name +
                        " cannot be opened: " + std::strerror(errno));
  }
  const std::uintmax_t size = std::filesystem::file_size(path, ec);
  if (!ec && size > timefunc::kMaxFileBytes) {
    return engine::fail("Timing-constants file " + name + " is " + std::to_string(size) +
                        " bytes, too large for a timing-constants file");
  }
  std::ostringstream buffer;
  buffer << in.rdbuf();
  if (in.bad()) return engine::fail("Timing-constants file " + name + " cannot be read");
  const std::string text = std::move(buffer).str();
  auto parsed = timefunc::ParseEopText(text, name);
  if (!parsed) return engine::fail(parsed.error());
  const timefunc::EopTable& table = **parsed;
  const std::string summary = "Loaded timing constants from " + name + ": " +
                              std::to_string(table.rows.size()) + " days, MJD " +
                              std::to_string(static_cast<long>(table.rows.front().mjd_utc)) +
                              " to " + std::to_string(static_cast<long>(table.rows.back().mjd_utc));
  timefunc::TablePtr old_table;  // released after the lock, outside the readers' way
  {
    std::unique_lock lock(timefunc::loaded_mutex);
    old_table = std::exchange(timefunc::loaded_table, *parsed);
  }
  engine::log(engine::LogLevel::Info, summary);
  return 0;
}

int IsTConFileLoaded(void) { return timefunc::LoadedTable() != nullptr ? 1 : 0; }

void UTCToTConRec(double ds50UTC, double* taiMinusUTC, double* ut1MinusUTC, double* ut1Rate,
                  double* polarX, double* polarY) {
  timefunc::EopRecord rec{};
  if (const auto got = timefunc::EopAt(ds50UTC, /*with_rate=*/true)) {
    rec = *got;
  } else {
    engine::fail("Timing constants: " + got.error());
    const double nan = std::nan("");
    rec = {nan, nan, nan, nan, nan};
  }
  if (taiMinusUTC) *taiMinusUTC = rec.tai_minus_utc_s;
  if (ut1MinusUTC) *ut1MinusUTC = rec.ut1_minus_utc_s;
  if (ut1Rate) *ut1Rate = rec.ut1_rate_ms_per_day;
  if (polarX) *polarX = rec.x_arcsec;
  if (polarY) *polarY = rec.y_arcsec;
}

}  // extern "C"
