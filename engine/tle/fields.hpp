// The fields of the two TLE lines: reading one field from its columns and writing it back in the
// fixed layout of the format (CelesTrak's "NORAD Two-Line Element Set Format"; Vallado et al.
// 2006, Appendix B). Every reader returns the value or a message that names the line, the columns
// and the text it could not read.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

namespace tle {

// A value or the message of why there is none (an empty message means success).
template <class T>
struct Result {
  T value{};
  std::string error;
  explicit operator bool() const { return error.empty(); }
};
template <class T>
Result<T> Ok(T value) {
  return Result<T>{std::move(value), {}};
}
template <class T>
Result<T> Err(std::string msg) {
  return Result<T>{T{}, std::move(msg)};
}

// One line as read: at most 69 columns are looked at; `number` is 1 or 2 for messages.
struct Line {
  std::string_view text;
  int number;
  // Columns first..last (1-based, inclusive); the caller has checked the line's length.
  std::string_view cols(int first, int last) const {
    return text.substr(static_cast<std::size_t>(first - 1),
                       static_cast<std::size_t>(last - first + 1));
  }
  // "Line 1, columns 19-32: cannot read epoch \"...\"".
  std::string error(int first, int last, std::string_view what, std::string_view field) const;
};

// Satellite number of columns 3-7: digits (leading blanks allowed) or an Alpha-5 letter followed
// by four digits (A0000 = 100000; I and O are not used).
Result<std::int64_t> ReadSatNum(const Line& line);
// Text of a satellite number: five digits with leading zeros, Alpha-5 from 100000 to 339999.
Result<std::string> FormatSatNum(std::int64_t satnum);

// A plain decimal such as " 34.2682", "-.00000084" or "0.24690082": optional blanks and sign,
// digits with at most one point; no exponent, no "nan" or "inf".
Result<double> ReadDecimal(const Line& line, int first, int last, std::string_view what);
// Digits with leading blanks, all blank meaning 0.
Result<std::int64_t> ReadInteger(const Line& line, int first, int last, std::string_view what);
// Implied leading decimal point and a power of ten: " 28098-4" = 0.28098e-4, "-11606-4".
Result<double> ReadImpliedExp(const Line& line, int first, int last, std::string_view what);
// Eccentricity of columns 27-33: seven digits after an implied "0.".
Result<double> ReadImpliedFraction(const Line& line, int first, int last, std::string_view what);
// Epoch of columns 19-32 (YYDDD.DDDDDDDD, 57-99 = 19YY, 00-56 = 20YY) as ds50 UTC.
Result<double> ReadEpoch(const Line& line);

// The eight columns of an implied-exponent field: " 28098-4"; zero is " 00000-0".
Result<std::string> FormatImpliedExp(double value, std::string_view what);
// The ten columns of the first-derivative field: " .00000023" or "-.00000084".
Result<std::string> FormatNdot(double value);
// The 14 columns of the epoch: "00179.78495062".
Result<std::string> FormatEpoch(double ds50_utc);

// ds50 UTC of January 0.0 of a year (1950 gives 0.0).
double Ds50OfYearStart(int year);

// Check sum of columns 1-68: digits count their value, '-' counts 1, modulo 10.
int CheckSum(std::string_view first_68_columns);

}  // namespace tle
