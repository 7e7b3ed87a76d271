// A named collection of element sets keyed by TLE id. Every TLE in it is the catalog's own copy,
// loaded under its own key while it is in the catalog.
#pragma once

#include <expected>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "elements/orbit_plot.hpp"
#include "elements/tle.hpp"

namespace talvoran {

class TLECatalog {
 public:
  std::optional<std::string> name;

  // Reads two- or three-line groups (the second line decides: "1" three-line, "2" two-line).
  // A line that is not valid UTF-8 is read with U+FFFD in place of the bad bytes, so that no
  // element set after it is lost. The file and its layout fail with an InternalError; an element
  // set fails as TLE::from_lines does, and the sets read before it are dropped.
  static std::expected<TLECatalog, TleReadError> from_tle_file(const std::string& path);

  std::size_t count() const { return entries_.size(); }
  std::vector<std::string> keys() const;
  // Stores `tle` (already the catalog's own copy) under its id, replacing any entry there.
  void add(TLE tle);
  const TLE* find(const std::string& id) const;
  void remove(const std::string& id) { entries_.erase(id); }
  void clear() { entries_.clear(); }
  OrbitPlotData plot_data() const;

 private:
  std::unordered_map<std::string, TLE> entries_;
};

// `text` with every byte sequence that is not valid UTF-8 replaced by U+FFFD.
std::string valid_utf8(std::string_view text);

}  // namespace talvoran
