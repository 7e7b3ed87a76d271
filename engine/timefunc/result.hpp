// A value or the reason there is none. The C surface turns the reason into the thread's last-error
// text; inside the library the reason travels with the result so that callers can add context.
#pragma once

#include <charconv>
#include <optional>
#include <string>
#include <utility>

namespace timefunc {

template <class T>
class Result {
 public:
  static Result Ok(T value) { return Result(std::move(value), {}); }
  static Result Fail(std::string why) { return Result(std::nullopt, std::move(why)); }

  explicit operator bool() const { return value_.has_value(); }
  const T& operator*() const { return *value_; }
  const T* operator->() const { return &*value_; }
  const std::string& error() const { return error_; }

 private:
  Result(std::optional<T> value, std::string why)
      : value_(std::move(value)), error_(std::move(why)) {}
  std::optional<T> value_;
  std::string error_;
};

// Shortest text that reads back to the same double ("45.5", "nan"), for messages.
inline std::string FormatDouble(double x) {
  char buf[64];
  const auto res = std::to_chars(buf, buf + sizeof buf, x);
  return std::string(buf, res.ptr);
}

}  // namespace timefunc
