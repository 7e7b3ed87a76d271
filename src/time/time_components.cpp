#include "time/time_components.hpp"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <vector>

namespace talvoran {

namespace {

constexpr double kSecondEpsilon = std::numeric_limits<double>::epsilon();

std::vector<std::string_view> split(std::string_view text, char sep) {
  std::vector<std::string_view> pieces;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    if (i == text.size() || text[i] == sep) {
      pieces.push_back(text.substr(start, i - start));
      start = i + 1;
    }
  }
  return pieces;
}

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// An optional single sign, then one or more ASCII digits and nothing else, in int32 range.
std::expected<std::int32_t, std::string> read_int32(std::string_view piece, const char* what) {
  std::string_view digits = piece;
  bool negative = false;
  if (!digits.empty() && (digits[0] == '+' || digits[0] == '-')) {
    negative = digits[0] == '-';
    digits.remove_prefix(1);
  }
  if (digits.empty()) {
    return std::unexpected(std::string("Invalid ISO 8601 ") + what + ": \"" + std::string(piece) +
                           "\"");
  }
  std::int64_t value = 0;
  for (char c : digits) {
    if (!is_digit(c)) {
      return std::unexpected(std::string("Invalid ISO 8601 ") + what + ": \"" + std::string(piece) +
                             "\"");
    }
    value = value * 10 + (c - '0');
    if (value > std::int64_t{1} << 32) break;  // far out of range already; keep it from growing
  }
  if (negative) value = -value;
  if (value < std::numeric_limits<std::int32_t>::min() ||
      value > std::numeric_limits<std::int32_t>::max()) {
    return std::unexpected(std::string("ISO 8601 ") + what + " out of range: \"" +
                           std::string(piece) + "\"");
  }
  return static_cast<std::int32_t>(value);
}

bool equals_ignoring_case(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char c = a[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != b[i]) return false;
  }
  return true;
}

// Whether `s` (no sign) is digits[.digits] or .digits, then an optional exponent.
bool is_decimal_number(std::string_view s) {
  std::size_t i = 0;
  std::size_t int_digits = 0, frac_digits = 0;
  while (i < s.size() && is_digit(s[i])) ++i, ++int_digits;
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && is_digit(s[i])) ++i, ++frac_digits;
  }
  if (int_digits == 0 && frac_digits == 0) return false;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    std::size_t exp_digits = 0;
    while (i < s.size() && is_digit(s[i])) ++i, ++exp_digits;
    if (exp_digits == 0) return false;
  }
  return i == s.size();
}

std::expected<double, std::string> read_second(std::string_view piece) {
  auto invalid = [&] {
    return std::unexpected(std::string("Invalid ISO 8601 second: \"") + std::string(piece) + "\"");
  };
  std::string_view body = piece;
  bool negative = false;
  if (!body.empty() && (body[0] == '+' || body[0] == '-')) {
    negative = body[0] == '-';
    body.remove_prefix(1);
  }
  double value = 0.0;
  if (equals_ignoring_case(body, "inf") || equals_ignoring_case(body, "infinity")) {
    value = std::numeric_limits<double>::infinity();
  } else if (equals_ignoring_case(body, "nan")) {
    value = std::numeric_limits<double>::quiet_NaN();
  } else if (is_decimal_number(body)) {
    // from_chars: locale-independent and correctly rounded to the nearest double.
    auto [end, ec] = std::from_chars(body.data(), body.data() + body.size(), value);
    if (end != body.data() + body.size()) return invalid();
    if (ec == std::errc::result_out_of_range) {
      // Overflow reads as infinity, underflow as zero, as the nearest double.
      value = std::abs(value) > 1.0 ? std::numeric_limits<double>::infinity() : 0.0;
    }
  } else {
    return invalid();
  }
  return negative ? -value : value;
}

}  // namespace

bool TimeComponents::operator==(const TimeComponents& o) const {
  return year == o.year && month == o.month && day == o.day && hour == o.hour &&
         minute == o.minute && std::abs(second - o.second) < kSecondEpsilon;
}

bool TimeComponents::differs_from(const TimeComponents& o) const {
  return year != o.year || month != o.month || day != o.day || hour != o.hour ||
         minute != o.minute || std::abs(second - o.second) >= kSecondEpsilon;
}

std::string to_iso(const TimeComponents& c) {
  // printf rounds the exact binary value to the printed digits, ties to even.
  std::array<char, 128> buf{};
  std::snprintf(buf.data(), buf.size(), "%04d-%02d-%02dT%02d:%02d:%06.3f", c.year, c.month, c.day,
                c.hour, c.minute, c.second);
  return buf.data();
}

std::expected<TimeComponents, std::string> from_iso(std::string_view text) {
  const auto parts = split(text, 'T');
  if (parts.size() < 2) {
    return std::unexpected("Invalid ISO 8601 text \"" + std::string(text) +
                           "\": no \"T\" between date and time");
  }
  const auto date = split(parts[0], '-');
  if (date.size() < 3) {
    return std::unexpected("Invalid ISO 8601 date \"" + std::string(parts[0]) +
                           "\": expected year-month-day");
  }
  std::string time_piece;
  for (char ch : parts[1]) {
    if (ch != 'Z') time_piece.push_back(ch);
  }
  const auto time = split(time_piece, ':');
  if (time.size() < 3) {
    return std::unexpected("Invalid ISO 8601 time \"" + std::string(parts[1]) +
                           "\": expected hour:minute:second");
  }
  TimeComponents c;
  const std::array<std::pair<std::int32_t*, std::pair<std::string_view, const char*>>, 5> ints{{
      {&c.year, {date[0], "year"}},
      {&c.month, {date[1], "month"}},
      {&c.day, {date[2], "day"}},
      {&c.hour, {time[0], "hour"}},
      {&c.minute, {time[1], "minute"}},
  }};
  for (const auto& [field, source] : ints) {
    auto value = read_int32(source.first, source.second);
    if (!value) return std::unexpected(value.error());
    *field = *value;
  }
  auto second = read_second(time[2]);
  if (!second) return std::unexpected(second.error());
  c.second = *second;
  return c;
}

std::string shortest_decimal(double x) {
  if (std::isnan(x)) return "NaN";
  if (std::isinf(x)) return x > 0 ? "inf" : "-inf";
  // The shortest fixed-notation text that reads back to the same double.
  std::array<char, 400> buf{};
  auto [end, ec] = std::to_chars(buf.data(), buf.data() + buf.size(), x, std::chars_format::fixed);
  return std::string(buf.data(), ec == std::errc() ? end : buf.data());
}

std::string repr(const TimeComponents& c) {
  return "TimeComponents(year=" + std::to_string(c.year) + ", month=" + std::to_string(c.month) +
         ", day=" + std::to_string(c.day) + ", hour=" + std::to_string(c.hour) +
         ", minute=" + std::to_string(c.minute) + ", second=" + shortest_decimal(c.second) + ")";
}

}  // namespace talvoran
