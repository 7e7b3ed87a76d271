// Helpers every astrofunc source shares: message text, output clearing, finiteness checks and
// the few 3-vector operations ERFA names awkwardly.
#pragma once

#include <erfa.h>

#include <charconv>
#include <cmath>
#include <initializer_list>
#include <numbers>
#include <span>
#include <string>
#include <string_view>

#include "common/error.hpp"

namespace astrofunc {

constexpr double kDegPerRad = 180.0 / std::numbers::pi;
constexpr double kRadPerDeg = std::numbers::pi / 180.0;
constexpr double kTwoPi = 2.0 * std::numbers::pi;
constexpr double kRadPerArcsec = kRadPerDeg / 3600.0;
constexpr double kSecPerDay = 86400.0;
// Julian date of ds50 = 0 (1950 January 0.0).
constexpr double kJdOfDs50Zero = 2433281.5;

// Shortest text that reads back to the same double, for messages ("0.1", "nan", "-1e+30").
inline std::string Num(double x) {
  char buf[32];
  const auto res = std::to_chars(buf, buf + sizeof buf, x);
  return std::string(buf, res.ptr);
}

inline bool AllFinite(std::span<const double> xs) {
  for (double x : xs)
    if (!std::isfinite(x)) return false;
  return true;
}

inline void Clear(std::initializer_list<std::span<double>> outs) {
  for (auto out : outs)
    for (double& x : out) x = 0.0;
}

// Records "<call>: <why>", zeroes every output and returns the failure status.
inline int Fail(std::string_view call, std::string_view why,
                std::initializer_list<std::span<double>> outs) {
  Clear(outs);
  std::string text(call);
  text += ": ";
  text += why;
  return engine::fail(text);
}

// Angle in [0, 2 pi); -0.0 and values that round up to 2 pi come back as 0.
inline double WrapTwoPi(double angle_rad) {
  double a = std::fmod(angle_rad, kTwoPi);
  if (a < 0.0) a += kTwoPi;
  if (a >= kTwoPi) a -= kTwoPi;
  return a + 0.0;
}

inline double WrapDeg360(double angle_deg) {
  return WrapTwoPi(angle_deg * kRadPerDeg) * kDegPerRad;
}

inline double Dot(const double a[3], const double b[3]) {
  return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}
inline double Norm(const double a[3]) { return std::sqrt(Dot(a, a)); }
inline void Cross(const double a[3], const double b[3], double out[3]) {
  const double x = a[1] * b[2] - a[2] * b[1];
  const double y = a[2] * b[0] - a[0] * b[2];
  const double z = a[0] * b[1] - a[1] * b[0];
  out[0] = x;
  out[1] = y;
  out[2] = z;
}

// out = m * in and out = m^T * in; out may alias in. (ERFA's eraRxp and eraTrxp take non-const
// inputs, which our const-correct signatures cannot pass.)
inline void MatVec(const double m[3][3], const double in[3], double out[3]) {
  double t[3];
  for (int i = 0; i < 3; ++i) t[i] = m[i][0] * in[0] + m[i][1] * in[1] + m[i][2] * in[2];
  for (int i = 0; i < 3; ++i) out[i] = t[i];
}
inline void MatTVec(const double m[3][3], const double in[3], double out[3]) {
  double t[3];
  for (int i = 0; i < 3; ++i) t[i] = m[0][i] * in[0] + m[1][i] * in[1] + m[2][i] * in[2];
  for (int i = 0; i < 3; ++i) out[i] = t[i];
}
inline void Sub(const double a[3], const double b[3], double out[3]) {
  for (int i = 0; i < 3; ++i) out[i] = a[i] - b[i];
}

}  // namespace astrofunc
