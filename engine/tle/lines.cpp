// The two element lines of a TLE read into XA_TLE/XS_TLE and written back. Column layout:
// CelesTrak, "NORAD Two-Line Element Set Format", and Vallado et al. 2006, Appendix B.
#include <array>
#include <cmath>
#include <cstring>
#include <string>
#include <string_view>

#include "common/error.hpp"
#include "engine/tle.h"
#include "tle/fields.hpp"

namespace {

using tle::Line;
using tle::Result;

constexpr int kLineColumns = 69;

// The line's text (up to the NUL or 512 bytes) checked for length and plain ASCII in columns
// 1-69; anything after column 69 is ignored.
Result<Line> CheckLine(const char* text, int number) {
  const std::string prefix = "Line " + std::to_string(number);
  if (text == nullptr) return tle::Err<Line>(prefix + " is missing (null pointer)");
  const std::string_view full(text, strnlen(text, ENGINE_TEXT_LEN));
  for (std::size_t i = 0; i < full.size() && i < kLineColumns; ++i) {
    const auto c = static_cast<unsigned char>(full[i]);
    if (c < 0x20 || c > 0x7e) {
      if (c == '\r' || c == '\n') break;  // the line ends early; reported below
      char hex[8];
      std::snprintf(hex, sizeof hex, "0x%02X", c);
      return tle::Err<Line>(prefix + ", column " + std::to_string(i + 1) + ": character " + hex +
                            " is not printable ASCII");
    }
  }
  std::size_t len = 0;
  while (len < full.size() && full[len] != '\r' && full[len] != '\n') ++len;
  if (len < kLineColumns) {
    return tle::Err<Line>(prefix + " has " + std::to_string(len) +
                          " columns: a TLE line needs 69 (the check sum in column 69)");
  }
  const Line line{full.substr(0, kLineColumns), number};
  if (line.text[0] != static_cast<char>('0' + number)) {
    return tle::Err<Line>(prefix + ", column 1: expected line number " + std::to_string(number) +
                          ", found '" + std::string(1, line.text[0]) + "'");
  }
  return tle::Ok(line);
}

// Reads every field into xa/xs; returns the first message, or an empty one.
std::string Parse(const Line& l1, const Line& l2, double* xa, std::string& xs) {
  const auto satnum1 = tle::ReadSatNum(l1);
  if (!satnum1) return satnum1.error;
  const auto satnum2 = tle::ReadSatNum(l2);
  if (!satnum2) return satnum2.error;
  if (satnum1.value != satnum2.value) {
    return "Line 2, columns 3-7: satellite number \"" + std::string(l2.cols(3, 7)) +
           "\" differs from line 1's \"" + std::string(l1.cols(3, 7)) + "\"";
  }

  char cls = l1.text[7];
  if (cls == ' ') cls = 'U';
  if (cls != 'U' && cls != 'C' && cls != 'S') {
    return "Line 1, column 8: cannot read classification \"" + std::string(1, cls) +
           "\" (expected U, C or S)";
  }

  const auto epoch = tle::ReadEpoch(l1);
  if (!epoch) return epoch.error;
  const auto ndot = tle::ReadDecimal(l1, 34, 43, "first derivative of mean motion");
  if (!ndot) return ndot.error;
  const auto nddot = tle::ReadImpliedExp(l1, 45, 52, "second derivative of mean motion");
  if (!nddot) return nddot.error;
  const auto bstar = tle::ReadImpliedExp(l1, 54, 61, "drag term");
  if (!bstar) return bstar.error;

  const char type_char = l1.text[62];
  int type = 0;  // a blank type column is the default, SGP4 with Kozai mean motion
  if (type_char != ' ') {
    type = type_char - '0';
    if (type != TLETYPE_SGP && type != TLETYPE_SGP4 && type != TLETYPE_XP && type != TLETYPE_SP) {
      return "Line 1, column 63: cannot read ephemeris type \"" + std::string(1, type_char) +
             "\" (expected 0, 2, 4 or 6)";
    }
  }
  const auto elset = tle::ReadInteger(l1, 65, 68, "element set number");
  if (!elset) return elset.error;

  const auto incl = tle::ReadDecimal(l2, 9, 16, "inclination");
  if (!incl) return incl.error;
  const auto node = tle::ReadDecimal(l2, 18, 25, "right ascension of the node");
  if (!node) return node.error;
  const auto ecc = tle::ReadImpliedFraction(l2, 27, 33, "eccentricity");
  if (!ecc) return ecc.error;
  const auto argp = tle::ReadDecimal(l2, 35, 42, "argument of perigee");
  if (!argp) return argp.error;
  const auto mean_anom = tle::ReadDecimal(l2, 44, 51, "mean anomaly");
  if (!mean_anom) return mean_anom.error;
  const auto mean_motion = tle::ReadDecimal(l2, 53, 63, "mean motion");
  if (!mean_motion) return mean_motion.error;
  const auto revnum = tle::ReadInteger(l2, 64, 68, "revolution number");
  if (!revnum) return revnum.error;

  xa[XA_TLE_SATNUM] = static_cast<double>(satnum1.value);
  xa[XA_TLE_EPOCH] = epoch.value;
  xa[XA_TLE_EPHTYPE] = type;
  switch (type) {
    case TLETYPE_XP:  // B in the B* columns, AGOM in the second-derivative columns
      xa[XA_TLE_NDOT] = ndot.value;
      xa[XA_TLE_AGOMGP] = nddot.value;
      xa[XA_TLE_BTERM] = bstar.value;
      break;
    case TLETYPE_SP:  // the same columns, in the SP slots; the first-derivative field is unused
      xa[XA_TLE_SP_BTERM] = bstar.value;
      xa[XA_TLE_SP_AGOM] = nddot.value;
      break;
    default:
      xa[XA_TLE_NDOT] = ndot.value;
      xa[XA_TLE_NDOTDOT] = nddot.value;
      xa[XA_TLE_BSTAR] = bstar.value;
      break;
  }
  xa[XA_TLE_ELSETNUM] = static_cast<double>(elset.value);
  xa[XA_TLE_INCLI] = incl.value;
  xa[XA_TLE_NODE] = node.value;
  xa[XA_TLE_ECCEN] = ecc.value;
  xa[XA_TLE_OMEGA] = argp.value;
  xa[XA_TLE_MNANOM] = mean_anom.value;
  xa[XA_TLE_MNMOTN] = mean_motion.value;
  xa[XA_TLE_REVNUM] = static_cast<double>(revnum.value);

  // XS_TLE: classification, the designator of columns 10-17 blank-padded to 12, object type.
  xs.assign(14, ' ');
  xs[XS_TLE_SECCLASS_0_1] = cls;
  const std::string_view designator = l1.cols(10, 17);
  xs.replace(XS_TLE_SATNAME_1_12, designator.size(), designator);
  return {};
}

// Text of a fixed-point field: "%8.4f" and the like, failing when it overflows the width.
Result<std::string> Fixed(double value, int width, int decimals, std::string_view what) {
  if (!std::isfinite(value)) {
    return tle::Err<std::string>(std::string(what) + " is not a finite number");
  }
  char buf[64];
  std::snprintf(buf, sizeof buf, "%*.*f", width, decimals, value);
  if (std::strlen(buf) != static_cast<std::size_t>(width)) {
    return tle::Err<std::string>(std::string(what) + " " + buf + " does not fit " +
                                 std::to_string(width) + " columns");
  }
  return tle::Ok<std::string>(buf);
}

// Non-negative whole number in `width` columns, blank-padded; the field keeps the low digits
// (revolution and element numbers wrap in the format).
std::string Counter(double value, int width) {
  long long v = std::isfinite(value) && value > 0.0 ? static_cast<long long>(value) : 0;
  long long modulus = 1;
  for (int i = 0; i < width; ++i) modulus *= 10;
  char buf[32];
  std::snprintf(buf, sizeof buf, "%*lld", width, v % modulus);
  return buf;
}

// Builds both lines (check sums included) or returns a message.
std::string Format(const double* xa, const char* xs, std::string& line1, std::string& line2) {
  for (int i = 0; i < XA_TLE_SIZE; ++i) {
    if (!std::isfinite(xa[i]))
      return "XA_TLE slot " + std::to_string(i) + " is not a finite number";
  }
  const double type_value = xa[XA_TLE_EPHTYPE];
  const int type = static_cast<int>(type_value);
  if (type_value != type ||
      (type != TLETYPE_SGP && type != TLETYPE_SGP4 && type != TLETYPE_XP && type != TLETYPE_SP)) {
    return "ephemeris type " + std::to_string(type_value) +
           " cannot be written (expected 0, 2, 4 or 6)";
  }
  const double satnum_value = xa[XA_TLE_SATNUM];
  if (satnum_value != std::floor(satnum_value)) {
    return "satellite number " + std::to_string(satnum_value) + " is not a whole number";
  }
  const auto satnum = tle::FormatSatNum(static_cast<std::int64_t>(satnum_value));
  if (!satnum) return satnum.error;

  // Classification and designator from XS_TLE (a short or empty text reads as blanks).
  const std::string_view xs_text =
      xs == nullptr ? std::string_view{} : std::string_view(xs, strnlen(xs, ENGINE_TEXT_LEN));
  char cls = xs_text.empty() ? 'U' : xs_text[0];
  if (cls == ' ') cls = 'U';
  if (cls != 'U' && cls != 'C' && cls != 'S') {
    return "classification \"" + std::string(1, cls) + "\" cannot be written (expected U, C or S)";
  }
  std::string designator(xs_text.size() > 1 ? xs_text.substr(1, 12) : std::string_view{});
  while (!designator.empty() && designator.back() == ' ') designator.pop_back();
  if (designator.size() > 8) {
    return "international designator \"" + designator + "\" is longer than the 8 columns of line 1";
  }
  for (char c : designator) {
    if (c < 0x20 || c > 0x7e) return "international designator is not printable ASCII";
  }
  designator.resize(8, ' ');

  double ndot_value = xa[XA_TLE_NDOT], nddot_value = xa[XA_TLE_NDOTDOT],
         bstar_value = xa[XA_TLE_BSTAR];
  if (type == TLETYPE_XP) {
    nddot_value = xa[XA_TLE_AGOMGP];
    bstar_value = xa[XA_TLE_BTERM];
  } else if (type == TLETYPE_SP) {
    ndot_value = 0.0;
    nddot_value = xa[XA_TLE_SP_AGOM];
    bstar_value = xa[XA_TLE_SP_BTERM];
  }
  const auto epoch = tle::FormatEpoch(xa[XA_TLE_EPOCH]);
  if (!epoch) return epoch.error;
  const auto ndot = tle::FormatNdot(ndot_value);
  if (!ndot) return ndot.error;
  const auto nddot = tle::FormatImpliedExp(nddot_value, type == TLETYPE_SGP || type == TLETYPE_SGP4
                                                            ? "second derivative of mean motion"
                                                            : "AGOM");
  if (!nddot) return nddot.error;
  const auto bstar = tle::FormatImpliedExp(bstar_value, type == TLETYPE_SGP || type == TLETYPE_SGP4
                                                            ? "drag term"
                                                            : "ballistic coefficient");
  if (!bstar) return bstar.error;

  const auto incl = Fixed(xa[XA_TLE_INCLI], 8, 4, "inclination");
  if (!incl) return incl.error;
  const auto node = Fixed(xa[XA_TLE_NODE], 8, 4, "right ascension of the node");
  if (!node) return node.error;
  const auto argp = Fixed(xa[XA_TLE_OMEGA], 8, 4, "argument of perigee");
  if (!argp) return argp.error;
  const auto mean_anom = Fixed(xa[XA_TLE_MNANOM], 8, 4, "mean anomaly");
  if (!mean_anom) return mean_anom.error;
  const auto mean_motion = Fixed(xa[XA_TLE_MNMOTN], 11, 8, "mean motion");
  if (!mean_motion) return mean_motion.error;
  const double ecc = xa[XA_TLE_ECCEN];
  const double ecc_digits = std::round(ecc * 1e7);
  if (!(ecc >= 0.0 && ecc_digits < 1e7)) {
    return "eccentricity " + std::to_string(ecc) + " does not fit columns 27-33 ([0, 1))";
  }
  char ecc_text[16];
  std::snprintf(ecc_text, sizeof ecc_text, "%07lld", static_cast<long long>(ecc_digits));

  line1 = "1 " + satnum.value + cls + ' ' + designator + ' ' + epoch.value + ' ' + ndot.value +
          ' ' + nddot.value + ' ' + bstar.value + ' ' + static_cast<char>('0' + type) + ' ' +
          Counter(xa[XA_TLE_ELSETNUM], 4);
  line2 = "2 " + satnum.value + ' ' + incl.value + ' ' + node.value + ' ' + ecc_text + ' ' +
          argp.value + ' ' + mean_anom.value + ' ' + mean_motion.value +
          Counter(xa[XA_TLE_REVNUM], 5);
  if (line1.size() != 68 || line2.size() != 68) {
    return "internal error: TLE lines of " + std::to_string(line1.size()) + " and " +
           std::to_string(line2.size()) + " columns";
  }
  line1 += static_cast<char>('0' + tle::CheckSum(line1));
  line2 += static_cast<char>('0' + tle::CheckSum(line2));
  return {};
}

void CopyOut(const std::string& text, char* buf) {
  if (buf == nullptr) return;
  const std::size_t n = std::min<std::size_t>(text.size(), ENGINE_TEXT_LEN);
  std::memcpy(buf, text.data(), n);
  buf[n] = '\0';
}

}  // namespace

namespace tle {
// Shared with the memory: parse into arrays (used by TleAddSatFrLines).
std::string ParseLines(const char* line1, const char* line2, double* xa, std::string& xs) {
  std::fill(xa, xa + XA_TLE_SIZE, 0.0);
  xs.clear();
  const auto l1 = CheckLine(line1, 1);
  if (!l1) return l1.error;
  const auto l2 = CheckLine(line2, 2);
  if (!l2) return l2.error;
  std::string msg = Parse(l1.value, l2.value, xa, xs);
  if (!msg.empty()) {
    std::fill(xa, xa + XA_TLE_SIZE, 0.0);
    xs.clear();
  }
  return msg;
}
}  // namespace tle

extern "C" {

int TleLinesToArray(const char* line1, const char* line2, double xa_tle[XA_TLE_SIZE],
                    char* xs_tle) {
  if (xa_tle == nullptr) return engine::fail("TleLinesToArray: xa_tle is a null pointer");
  std::string xs;
  const std::string msg = tle::ParseLines(line1, line2, xa_tle, xs);
  CopyOut(xs, xs_tle);
  if (!msg.empty()) return engine::fail(msg);
  return 0;
}

int TleGPArrayToLines(const double xa_tle[XA_TLE_SIZE], const char* xs_tle, char* line1,
                      char* line2) {
  std::string l1, l2;
  const std::string msg = xa_tle == nullptr ? "TleGPArrayToLines: xa_tle is a null pointer"
                                            : Format(xa_tle, xs_tle, l1, l2);
  if (!msg.empty()) {
    CopyOut({}, line1);
    CopyOut({}, line2);
    return engine::fail(msg);
  }
  CopyOut(l1, line1);
  CopyOut(l2, line2);
  return 0;
}

int GetCheckSums(const char* line1, const char* line2, int* chkSum1, int* chkSum2, int* errCode) {
  int sums[2] = {0, 0};
  const char* lines[2] = {line1, line2};
  int err = 0;
  std::string msg;
  for (int i = 0; i < 2 && err == 0; ++i) {
    const std::string_view text =
        lines[i] == nullptr ? std::string_view{}
                            : std::string_view(lines[i], strnlen(lines[i], ENGINE_TEXT_LEN));
    if (text.size() < 68) {
      err = i + 1;
      msg = "Line " + std::to_string(i + 1) + " has " + std::to_string(text.size()) +
            " columns: its check sum covers columns 1-68";
      break;
    }
    for (std::size_t c = 0; c < 68; ++c) {
      const auto ch = static_cast<unsigned char>(text[c]);
      if (ch < 0x20 || ch > 0x7e) {
        err = i + 1;
        msg = "Line " + std::to_string(i + 1) + ", column " + std::to_string(c + 1) +
              ": not printable ASCII";
        break;
      }
    }
    if (err == 0) sums[i] = tle::CheckSum(text.substr(0, 68));
  }
  if (chkSum1 != nullptr) *chkSum1 = err == 0 ? sums[0] : 0;
  if (chkSum2 != nullptr) *chkSum2 = err == 0 ? sums[1] : 0;
  if (errCode != nullptr) *errCode = err;
  if (err != 0) return engine::fail(msg);
  return 0;
}

}  // extern "C"
