// Readers and writers of the TLE fields. Readers accept only the characters a field may hold
// (digits, blanks, signs, one point), so text such as "nan" or "1e5" never reaches a conversion.
#include "tle/fields.hpp"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace tle {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Field text for a message: printable ASCII kept, anything else shown as '?'.
std::string Printable(std::string_view text) {
  std::string out;
  for (char c : text) out += (c >= ' ' && c <= '~') ? c : '?';
  return out;
}

// Alpha-5 letters: A = 10 ... Z = 33 with I and O left out (they read like 1 and 0).
constexpr std::string_view kAlpha5Letters = "ABCDEFGHJKLMNPQRSTUVWXYZ";

// strtod on a buffer we have already checked holds only [sign] digits [. digits] [e sign digit].
double ToDouble(const std::string& checked) { return std::strtod(checked.c_str(), nullptr); }

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

}  // namespace

std::string Line::error(int first, int last, std::string_view what, std::string_view field) const {
  std::string cols_text = first == last
                              ? "column " + std::to_string(first)
                              : "columns " + std::to_string(first) + "-" + std::to_string(last);
  return "Line " + std::to_string(number) + ", " + cols_text + ": cannot read " +
         std::string(what) + " \"" + Printable(field) + "\"";
}

Result<std::int64_t> ReadSatNum(const Line& line) {
  const std::string_view f = line.cols(3, 7);
  const auto letter = kAlpha5Letters.find(f[0]);
  if (letter != std::string_view::npos) {
    std::int64_t rest = 0;
    for (std::size_t i = 1; i < 5; ++i) {
      if (!IsDigit(f[i])) return Err<std::int64_t>(line.error(3, 7, "satellite number", f));
      rest = rest * 10 + (f[i] - '0');
    }
    return Ok<std::int64_t>((static_cast<std::int64_t>(letter) + 10) * 10000 + rest);
  }
  return ReadInteger(line, 3, 7, "satellite number");
}

Result<std::string> FormatSatNum(std::int64_t satnum) {
  char buf[16];
  if (satnum >= 0 && satnum < 100000) {
    std::snprintf(buf, sizeof buf, "%05lld", static_cast<long long>(satnum));
    return Ok<std::string>(buf);
  }
  if (satnum >= 100000 && satnum < 340000) {
    std::snprintf(buf, sizeof buf, "%c%04lld",
                  kAlpha5Letters[static_cast<std::size_t>(satnum / 10000 - 10)],
                  static_cast<long long>(satnum % 10000));
    return Ok<std::string>(buf);
  }
  return Err<std::string>("satellite number " + std::to_string(satnum) +
                          " does not fit a TLE (0 to 339999, Alpha-5 above 99999)");
}

Result<std::int64_t> ReadInteger(const Line& line, int first, int last, std::string_view what) {
  const std::string_view f = line.cols(first, last);
  std::size_t i = 0;
  while (i < f.size() && f[i] == ' ') ++i;
  std::int64_t v = 0;
  for (; i < f.size(); ++i) {
    if (!IsDigit(f[i])) return Err<std::int64_t>(line.error(first, last, what, f));
    v = v * 10 + (f[i] - '0');
  }
  return Ok(v);
}

Result<double> ReadDecimal(const Line& line, int first, int last, std::string_view what) {
  const std::string_view f = line.cols(first, last);
  std::size_t i = 0;
  while (i < f.size() && f[i] == ' ') ++i;
  std::string text;
  if (i < f.size() && (f[i] == '+' || f[i] == '-')) {
    if (f[i] == '-') text += '-';
    ++i;
  }
  int digits = 0, points = 0;
  for (; i < f.size(); ++i) {
    if (IsDigit(f[i])) {
      ++digits;
    } else if (f[i] == '.' && points == 0) {
      ++points;
    } else if (f[i] == ' ') {
      break;  // trailing blanks only
    } else {
      return Err<double>(line.error(first, last, what, f));
    }
    text += f[i];
  }
  for (; i < f.size(); ++i) {
    if (f[i] != ' ') return Err<double>(line.error(first, last, what, f));
  }
  if (digits == 0) return Err<double>(line.error(first, last, what, f));
  return Ok(ToDouble(text));
}

Result<double> ReadImpliedExp(const Line& line, int first, int last, std::string_view what) {
  // Eight columns: sign or blank, five mantissa digits (leading blanks allowed), the exponent's
  // sign (a blank reads as '+') and its digit.
  const std::string_view f = line.cols(first, last);
  const auto bad = [&] { return Err<double>(line.error(first, last, what, f)); };
  if (f.size() != 8) return bad();
  std::string text;
  if (f[0] == '-') {
    text += '-';
  } else if (f[0] != ' ' && f[0] != '+') {
    return bad();
  }
  text += "0.";
  bool seen_digit = false;
  for (std::size_t i = 1; i < 6; ++i) {
    if (IsDigit(f[i])) {
      seen_digit = true;
      text += f[i];
    } else if (f[i] == ' ' && !seen_digit) {
      text += '0';
    } else {
      return bad();
    }
  }
  if (!seen_digit) return bad();
  if (f[6] != '+' && f[6] != '-' && f[6] != ' ') return bad();
  if (!IsDigit(f[7])) return bad();
  text += 'e';
  text += f[6] == '-' ? '-' : '+';
  text += f[7];
  return Ok(ToDouble(text));
}

Result<double> ReadImpliedFraction(const Line& line, int first, int last, std::string_view what) {
  const std::string_view f = line.cols(first, last);
  std::string text = "0.";
  for (char c : f) {
    if (IsDigit(c)) {
      text += c;
    } else if (c == ' ') {
      text += '0';  // some writers blank-pad the eccentricity
    } else {
      return Err<double>(line.error(first, last, what, f));
    }
  }
  return Ok(ToDouble(text));
}

double Ds50OfYearStart(int year) {
  using namespace std::chrono;
  const sys_days jan1{std::chrono::year{year} / January / 1};
  const sys_days jan1_1950{std::chrono::year{1950} / January / 1};
  return static_cast<double>((jan1 - jan1_1950).count());
}

Result<double> ReadEpoch(const Line& line) {
  const std::string_view f = line.cols(19, 32);
  const auto bad = [&] { return Err<double>(line.error(19, 32, "epoch", f)); };
  // Two-digit year (a leading blank reads as 0), then the day of the year with its fraction.
  const char y0 = f[0] == ' ' ? '0' : f[0];
  if (!IsDigit(y0) || !IsDigit(f[1])) return bad();
  const int yy = (y0 - '0') * 10 + (f[1] - '0');
  const int year = yy < 57 ? 2000 + yy : 1900 + yy;
  const Result<double> day = ReadDecimal(line, 21, 32, "epoch");
  if (!day) return bad();
  const double days_in_year = IsLeapYear(year) ? 366.0 : 365.0;
  if (!(day.value >= 0.0 && day.value < days_in_year + 1.0)) return bad();
  return Ok(Ds50OfYearStart(year) + day.value);
}

Result<std::string> FormatImpliedExp(double value, std::string_view what) {
  if (!std::isfinite(value)) {
    return Err<std::string>(std::string(what) + " is not a finite number");
  }
  // A zero keeps the sign it was read with ("-00000-0" reads as -0.0), so lines round-trip.
  if (value == 0.0) return Ok<std::string>(std::signbit(value) ? "-00000-0" : " 00000-0");
  char buf[32];
  // "%.4e" rounds to five significant digits: d.dddde+XX.
  std::snprintf(buf, sizeof buf, "%.4e", std::fabs(value));
  const int exp10 = std::atoi(buf + 7) + 1;            // 0.ddddd x 10^exp10
  if (exp10 < -9) return Ok<std::string>(" 00000-0");  // below the field's smallest step
  if (exp10 > 9) {
    return Err<std::string>(std::string(what) + " " + buf +
                            " does not fit an implied-exponent field");
  }
  std::string out;
  out += value < 0.0 ? '-' : ' ';
  out += buf[0];
  out.append(buf + 2, 4);
  out += exp10 < 0 ? '-' : '+';
  out += static_cast<char>('0' + std::abs(exp10));
  return Ok(out);
}

Result<std::string> FormatNdot(double value) {
  if (!std::isfinite(value)) {
    return Err<std::string>("first derivative of mean motion is not a finite number");
  }
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.8f", std::fabs(value));
  if (buf[0] != '0' || buf[1] != '.') {
    return Err<std::string>("first derivative of mean motion " + std::string(buf) +
                            " does not fit columns 34-43 (|value| < 1)");
  }
  // The sign of a zero is kept: "-.00000000" reads as -0.0 and is written back as read.
  return Ok(std::string(std::signbit(value) ? "-" : " ") + (buf + 1));
}

Result<std::string> FormatEpoch(double ds50_utc) {
  if (!std::isfinite(ds50_utc)) return Err<std::string>("epoch is not a finite number");
  int year = 1950 + static_cast<int>(std::floor(ds50_utc / 365.25));
  // The day of the year runs from 1.0 (January 1, 0 h) to the year's length plus one.
  while (Ds50OfYearStart(year) + 1.0 > ds50_utc && year > 1900) --year;
  while (Ds50OfYearStart(year + 1) + 1.0 <= ds50_utc && year < 2200) ++year;
  double day = ds50_utc - Ds50OfYearStart(year);
  char buf[32];
  std::snprintf(buf, sizeof buf, "%012.8f", day);
  // Rounding to 1e-8 day can carry into the next year.
  const double days_in_year = IsLeapYear(year) ? 366.0 : 365.0;
  if (std::strtod(buf, nullptr) >= days_in_year + 1.0) {
    day -= days_in_year;
    ++year;
    std::snprintf(buf, sizeof buf, "%012.8f", day);
  }
  if (year < 1957 || year > 2056) {
    return Err<std::string>("epoch year " + std::to_string(year) +
                            " does not fit a two-digit TLE year (1957 to 2056)");
  }
  char out[48];
  std::snprintf(out, sizeof out, "%02d%s", year % 100, buf);
  return Ok<std::string>(out);
}

int CheckSum(std::string_view first_68_columns) {
  int sum = 0;
  for (char c : first_68_columns) {
    if (IsDigit(c)) sum += c - '0';
    if (c == '-') sum += 1;
  }
  return sum % 10;
}

}  // namespace tle
