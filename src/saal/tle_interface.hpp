// The engine's TLE library: element lines to and from its arrays, and TLE memory under keys.
// Each operation returns its result or the engine's last error message; buffers are fresh per call
// (operations run on worker threads too).
#pragma once

#include <array>
#include <cstdint>
#include <expected>
#include <string>
#include <string_view>
#include <utility>

namespace talvoran::tle_interface {

using XaTle = std::array<double, 64>;

std::expected<std::pair<XaTle, std::string>, std::string> lines_to_arrays(std::string_view line1,
                                                                          std::string_view line2);
// Both lines trimmed; an empty line is a failure.
std::expected<std::pair<std::string, std::string>, std::string> arrays_to_lines(
    const XaTle& xa, std::string_view xs);
// The new key (> 0).
std::expected<std::int64_t, std::string> load_from_arrays(const XaTle& xa, std::string_view xs);
std::expected<std::pair<int, int>, std::string> get_check_sums(std::string_view line1,
                                                               std::string_view line2);
// Removing a key that is not held is not an error.
void remove_key(std::int64_t key);
std::expected<void, std::string> remove_all();
int count_loaded();

// SGP4's re-epoch of a loaded, initialised set: the two new lines, trimmed.
std::expected<std::pair<std::string, std::string>, std::string> reepoch_tle(std::int64_t key,
                                                                            double ds50_utc);

}  // namespace talvoran::tle_interface
