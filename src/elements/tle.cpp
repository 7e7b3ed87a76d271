#include "elements/tle.hpp"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "binding/internal_error.hpp"
#include "binding/uuid.hpp"
#include "engine/astrofunc.h"
#include "engine/tle.h"

namespace talvoran {

namespace {

std::string trimmed(std::string_view s) {
  const auto not_space = [](unsigned char c) { return !std::isspace(c); };
  auto b = std::find_if(s.begin(), s.end(), not_space);
  auto e = std::find_if(s.rbegin(), s.rend(), not_space).base();
  return b < e ? std::string(b, e) : std::string();
}

// Conversion with saturation; NaN gives 0.
std::int32_t saturated_int32(double v) {
  if (std::isnan(v)) return 0;
  if (v <= std::numeric_limits<std::int32_t>::min())
    return std::numeric_limits<std::int32_t>::min();
  if (v >= std::numeric_limits<std::int32_t>::max())
    return std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(v);
}

char classification_letter(Classification c) {
  switch (c) {
    case Classification::Confidential:
      return 'C';
    case Classification::Secret:
      return 'S';
    default:
      return 'U';
  }
}

}  // namespace

std::expected<TLE, TleReadError> TLE::from_lines(std::string_view line1, std::string_view line2) {
  using Kind = TleReadError::Kind;
  auto arrays = tle_interface::lines_to_arrays(line1, line2);
  if (!arrays) {
    return std::unexpected(
        TleReadError{Kind::Internal, "Cannot read TLE lines: " + arrays.error()});
  }
  const auto& [xa, xs] = *arrays;
  if (xs.size() < 13) {
    return std::unexpected(TleReadError{Kind::Internal, "TLE text field is shorter than 13 bytes"});
  }
  TLE t;
  const std::string letter = trimmed(std::string_view(xs).substr(0, 1));
  if (letter == "U") {
    t.classification = Classification::Unclassified;
  } else if (letter == "C") {
    t.classification = Classification::Confidential;
  } else if (letter == "S") {
    t.classification = Classification::Secret;
  } else {
    return std::unexpected(TleReadError{Kind::Internal, "Invalid TLE classification: " + letter});
  }
  t.designator = trimmed(std::string_view(xs).substr(1, 12));

  const double ecc = xa[XA_TLE_ECCEN], incl = xa[XA_TLE_INCLI];
  double n = xa[XA_TLE_MNMOTN], drag = 0.0, srp = 0.0;
  switch (saturated_int32(xa[XA_TLE_EPHTYPE])) {
    case TLETYPE_SGP:
      n = KozaiToBrouwer(ecc, incl, n);
      t.type = KeplerianType::MeanKozaiGP;
      drag = xa[XA_TLE_BSTAR] * kBStarToDragTerm;
      break;
    case TLETYPE_SGP4:
      t.type = KeplerianType::MeanBrouwerGP;
      drag = xa[XA_TLE_BSTAR] * kBStarToDragTerm;
      break;
    case TLETYPE_XP:
      t.type = KeplerianType::MeanBrouwerXP;
      drag = xa[XA_TLE_BTERM];
      srp = xa[XA_TLE_AGOMGP];
      break;
    default:
      return std::unexpected(TleReadError{Kind::Internal, "Invalid KeplerianType value"});
  }
  t.elements = {NToA(n), ecc, incl, xa[XA_TLE_NODE], xa[XA_TLE_OMEGA], xa[XA_TLE_MNANOM]};
  t.epoch = {xa[XA_TLE_EPOCH], TimeSystem::UTC};
  t.norad_id = saturated_int32(xa[XA_TLE_SATNUM]);
  t.force_properties = {srp, 1.0, drag, 1.0, 1.0, xa[XA_TLE_NDOT], xa[XA_TLE_NDOTDOT]};
  t.id = new_uuid4();
  t.frame = ReferenceFrame::TEME;
  if (auto loaded = t.load(); !loaded) {
    return std::unexpected(TleReadError{Kind::Load, loaded.error()});
  }
  return t;
}

std::expected<TLE, TleReadError> TLE::from_lines(std::string_view name_line, std::string_view line1,
                                                 std::string_view line2) {
  auto t = from_lines(line1, line2);
  if (!t) return t;
  if (name_line.size() >= 2 && name_line.substr(0, 2) == "0 ") name_line.remove_prefix(2);
  t->name = trimmed(name_line);
  return t;
}

std::expected<TLE, std::string> TLE::from_parts(std::string id, std::int32_t norad_id,
                                                std::optional<std::string> name,
                                                Classification classification,
                                                std::string designator, const KeplerianState& state,
                                                const ForceProperties& force) {
  TLE t;
  t.id = std::move(id);
  t.norad_id = norad_id;
  t.name = std::move(name);
  t.classification = classification;
  t.designator = std::move(designator);
  t.elements = state.elements;
  t.epoch = state.epoch;
  t.type = state.type;
  t.frame = state.frame;
  t.force_properties = force;
  if (auto loaded = t.load(); !loaded) return std::unexpected(loaded.error());
  return t;
}

TLE::TLE(const TLE& other)
    : id(other.id),
      designator(other.designator),
      name(other.name),
      elements(other.elements),
      epoch(other.epoch),
      type(other.type),
      frame(other.frame),
      force_properties(other.force_properties),
      norad_id(other.norad_id),
      classification(other.classification) {
  if (auto loaded = load(); !loaded) throw InternalError(loaded.error());
}

TLE& TLE::operator=(const TLE& other) {
  if (this != &other) *this = TLE(other);
  return *this;
}

TLE::TLE(TLE&& other) noexcept
    : id(std::move(other.id)),
      designator(std::move(other.designator)),
      name(std::move(other.name)),
      elements(other.elements),
      epoch(other.epoch),
      type(other.type),
      frame(other.frame),
      force_properties(other.force_properties),
      norad_id(other.norad_id),
      classification(other.classification),
      key_(std::exchange(other.key_, 0)) {}

TLE& TLE::operator=(TLE&& other) noexcept {
  if (this != &other) {
    release();
    id = std::move(other.id);
    designator = std::move(other.designator);
    name = std::move(other.name);
    elements = other.elements;
    epoch = other.epoch;
    type = other.type;
    frame = other.frame;
    force_properties = other.force_properties;
    norad_id = other.norad_id;
    classification = other.classification;
    key_ = std::exchange(other.key_, 0);
  }
  return *this;
}

TLE::~TLE() { release(); }

void TLE::release() {
  if (key_ != 0) tle_interface::remove_key(std::exchange(key_, 0));
}

std::expected<void, std::string> TLE::load() {
  auto key = tle_interface::load_from_arrays(xa_tle(), xs_tle());
  if (!key) return std::unexpected(key.error());
  key_ = *key;
  return {};
}

double TLE::mean_motion() const {
  const double n = AToN(elements.semi_major_axis);
  if (type == KeplerianType::MeanKozaiGP) {
    return BrouwerToKozai(elements.eccentricity, elements.inclination, n);
  }
  return n;
}

CartesianState TLE::cartesian_state() const {
  return KeplerianState{epoch, elements, frame, type}.to_cartesian();
}

tle_interface::XaTle TLE::xa_tle() const {
  tle_interface::XaTle xa{};
  xa[XA_TLE_SATNUM] = norad_id;
  xa[XA_TLE_EPOCH] = epoch.days_since_1950;
  xa[XA_TLE_EPHTYPE] = static_cast<double>(type);
  xa[XA_TLE_INCLI] = elements.inclination;
  xa[XA_TLE_NODE] = elements.raan;
  xa[XA_TLE_ECCEN] = elements.eccentricity;
  xa[XA_TLE_OMEGA] = elements.argument_of_perigee;
  xa[XA_TLE_MNANOM] = elements.mean_anomaly;
  xa[XA_TLE_MNMOTN] = mean_motion();
  const ForceProperties& f = force_properties;
  switch (type) {
    case KeplerianType::MeanKozaiGP:
    case KeplerianType::MeanBrouwerGP:
      xa[XA_TLE_NDOT] = f.mean_motion_dot;
      xa[XA_TLE_NDOTDOT] = f.mean_motion_dot_dot;
      xa[XA_TLE_BSTAR] = f.b_star();
      break;
    case KeplerianType::MeanBrouwerXP:
      xa[XA_TLE_BTERM] = f.drag_term();
      xa[XA_TLE_AGOMGP] = f.srp_term();
      break;
    case KeplerianType::Osculating:
      xa[XA_TLE_SP_BTERM] = f.drag_term();
      xa[XA_TLE_SP_AGOM] = f.srp_term();
      break;
  }
  return xa;
}

std::string TLE::xs_tle() const { return classification_letter(classification) + designator; }

std::pair<std::string, std::string> TLE::lines() const {
  auto lines = tle_interface::arrays_to_lines(xa_tle(), xs_tle());
  if (!lines) throw InternalError(lines.error());
  auto& [l1, l2] = *lines;
  // The check sums are computed below over the amended line 1; whatever the engine wrote in the
  // check-sum column (column 69) is dropped first, so that it is not followed by a second one.
  if (l1.size() > 68) l1.resize(68);
  if (l2.size() > 68) l2.resize(68);
  // Columns 51 and 60 carry the exponent signs of the second derivative and of B*.
  if (l1.size() >= 51 && l1[50] == ' ') l1[50] = '+';
  if (l1.size() > 59 && l1[59] == ' ') l1[59] = '+';
  auto sums = tle_interface::get_check_sums(l1, l2);
  if (!sums) throw InternalError(sums.error());
  l1 += std::to_string(sums->first);
  l2 += std::to_string(sums->second);
  return {std::move(l1), std::move(l2)};
}

}  // namespace talvoran
