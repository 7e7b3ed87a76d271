// A two-line element set, held as typed fields and, while the object lives, loaded in the engine's
// TLE memory under a key of its own. A copy loads again under a new key; destruction removes the
// key. Objects handed in from Python are copied, so the Python object keeps its own key.
#pragma once

#include <cstdint>
#include <expected>
#include <optional>
#include <string>
#include <string_view>

#include "elements/cartesian_state.hpp"
#include "elements/keplerian_state.hpp"
#include "enums/classification.hpp"
#include "enums/keplerian_type.hpp"
#include "enums/reference_frame.hpp"
#include "propagation/force_properties.hpp"
#include "saal/tle_interface.hpp"
#include "time/epoch.hpp"

namespace talvoran {

// Why reading element lines failed: the lines themselves (an internal failure, as the engine
// reads any well-formed set) or loading them into memory (a ValueError for the caller).
struct TleReadError {
  enum class Kind { Internal, Load } kind;
  std::string message;
};

class TLE {
 public:
  std::string id;
  std::string designator;
  std::optional<std::string> name;
  KeplerianElements elements;
  Epoch epoch;
  KeplerianType type = KeplerianType::MeanBrouwerGP;
  ReferenceFrame frame = ReferenceFrame::TEME;
  ForceProperties force_properties;
  std::int32_t norad_id = 0;
  Classification classification = Classification::Unclassified;

  // Reads two element lines (and an optional name line) and loads the set.
  static std::expected<TLE, TleReadError> from_lines(std::string_view line1,
                                                     std::string_view line2);
  static std::expected<TLE, TleReadError> from_lines(std::string_view name_line,
                                                     std::string_view line1,
                                                     std::string_view line2);
  // Builds a set from its parts and loads it; the load's error text otherwise.
  static std::expected<TLE, std::string> from_parts(std::string id, std::int32_t norad_id,
                                                    std::optional<std::string> name,
                                                    Classification classification,
                                                    std::string designator,
                                                    const KeplerianState& state,
                                                    const ForceProperties& force);

  TLE() = default;
  // Loads the copy under a new key; a refused load is an InternalError.
  TLE(const TLE& other);
  TLE& operator=(const TLE& other);
  TLE(TLE&& other) noexcept;
  TLE& operator=(TLE&& other) noexcept;
  ~TLE();

  std::int64_t key() const { return key_; }

  // Revolutions per day; Kozai's for MeanKozaiGP sets.
  double mean_motion() const;
  CartesianState cartesian_state() const;
  // The two element lines with check sums.
  std::pair<std::string, std::string> lines() const;

  // The engine's arrays for this set.
  tle_interface::XaTle xa_tle() const;
  std::string xs_tle() const;

 private:
  // Loads the fields under a new key; the load's error text otherwise.
  std::expected<void, std::string> load();
  void release();

  std::int64_t key_ = 0;
};

}  // namespace talvoran
