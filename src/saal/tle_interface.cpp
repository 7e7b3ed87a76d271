#include "saal/tle_interface.hpp"

#include <algorithm>
#include <cstring>

#include "binding/engine_error.hpp"
#include "engine/export.h"
#include "engine/sgp4prop.h"
#include "engine/tle.h"

namespace talvoran::tle_interface {

namespace {

// A zero-filled engine text buffer holding at most the first 512 bytes of `text`.
struct TextBuf {
  char data[ENGINE_TEXT_BUF] = {};
  TextBuf() = default;
  explicit TextBuf(std::string_view text) {
    std::memcpy(data, text.data(), std::min<std::size_t>(text.size(), ENGINE_TEXT_LEN));
  }
  std::string str() const { return std::string(data, strnlen(data, ENGINE_TEXT_LEN)); }
};

std::string trimmed(std::string s) {
  const auto not_space = [](unsigned char c) { return !std::isspace(c); };
  s.erase(s.begin(), std::find_if(s.begin(), s.end(), not_space));
  s.erase(std::find_if(s.rbegin(), s.rend(), not_space).base(), s.end());
  return s;
}

}  // namespace

std::expected<std::pair<XaTle, std::string>, std::string> lines_to_arrays(std::string_view line1,
                                                                          std::string_view line2) {
  TextBuf l1(line1), l2(line2), xs;
  XaTle xa{};
  if (TleLinesToArray(l1.data, l2.data, xa.data(), xs.data) != 0) {
    return std::unexpected(engine_last_error());
  }
  return std::pair{xa, xs.str()};
}

std::expected<std::pair<std::string, std::string>, std::string> arrays_to_lines(
    const XaTle& xa, std::string_view xs) {
  TextBuf xs_buf(xs), l1, l2;
  TleGPArrayToLines(xa.data(), xs_buf.data, l1.data, l2.data);
  std::string a = trimmed(l1.str()), b = trimmed(l2.str());
  if (l1.str().empty() || l2.str().empty()) return std::unexpected(engine_last_error());
  return std::pair{std::move(a), std::move(b)};
}

std::expected<std::int64_t, std::string> load_from_arrays(const XaTle& xa, std::string_view xs) {
  TextBuf xs_buf(xs);
  const std::int64_t key = TleAddSatFrArray(xa.data(), xs_buf.data);
  if (key <= 0) return std::unexpected(engine_last_error());
  return key;
}

std::expected<std::pair<int, int>, std::string> get_check_sums(std::string_view line1,
                                                               std::string_view line2) {
  TextBuf l1(line1), l2(line2);
  int cs1 = 0, cs2 = 0, err = 0;
  GetCheckSums(l1.data, l2.data, &cs1, &cs2, &err);
  if (err != 0) return std::unexpected(engine_last_error());
  return std::pair{cs1, cs2};
}

void remove_key(std::int64_t key) { TleRemoveSat(key); }

std::expected<void, std::string> remove_all() {
  if (TleRemoveAllSats() != 0) return std::unexpected(engine_last_error());
  return {};
}

int count_loaded() { return TleGetCount(); }

std::expected<std::pair<std::string, std::string>, std::string> reepoch_tle(std::int64_t key,
                                                                            double ds50_utc) {
  TextBuf l1, l2;
  if (Sgp4ReepochTLE(key, ds50_utc, l1.data, l2.data) != 0) {
    return std::unexpected(engine_last_error());
  }
  return std::pair{trimmed(l1.str()), trimmed(l2.str())};
}

}  // namespace talvoran::tle_interface
