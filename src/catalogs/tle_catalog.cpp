#include "catalogs/tle_catalog.hpp"

#include <array>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "binding/internal_error.hpp"
#include "engine/astrofunc.h"

namespace talvoran {

namespace {

// Length of the valid UTF-8 sequence at s[i], or 0 when the bytes there are not one.
std::size_t utf8_sequence(std::string_view s, std::size_t i) {
  const auto b = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
  const unsigned char c = b(i);
  if (c < 0x80) return 1;
  std::size_t n = 0;
  unsigned char lo = 0x80, hi = 0xBF;
  if (c >= 0xC2 && c <= 0xDF) {
    n = 2;
  } else if (c >= 0xE0 && c <= 0xEF) {
    n = 3;
    if (c == 0xE0) lo = 0xA0;  // no overlong forms
    if (c == 0xED) hi = 0x9F;  // no surrogates
  } else if (c >= 0xF0 && c <= 0xF4) {
    n = 4;
    if (c == 0xF0) lo = 0x90;
    if (c == 0xF4) hi = 0x8F;
  } else {
    return 0;
  }
  if (i + n > s.size()) return 0;
  if (b(i + 1) < lo || b(i + 1) > hi) return 0;
  for (std::size_t k = 2; k < n; ++k) {
    if (b(i + k) < 0x80 || b(i + k) > 0xBF) return 0;
  }
  return n;
}

}  // namespace

std::string valid_utf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    if (const std::size_t n = utf8_sequence(text, i); n != 0) {
      out.append(text.substr(i, n));
      i += n;
    } else {
      out.append("\xEF\xBF\xBD");  // U+FFFD
      ++i;
    }
  }
  return out;
}

std::expected<TLECatalog, TleReadError> TLECatalog::from_tle_file(const std::string& path) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) {
    throw InternalError("Unable to open file " + path + ": it is a directory");
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) throw InternalError("Unable to open file " + path + ": " + std::strerror(errno));
  std::array<char, 8192> buffer{};
  in.rdbuf()->pubsetbuf(buffer.data(), static_cast<std::streamsize>(buffer.size()));

  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(valid_utf8(line));
  }
  if (lines.size() < 2) {
    throw InternalError("TLE file " + path + " holds fewer than two lines");
  }
  if (lines[1].empty()) throw InternalError("TLE file " + path + ": its second line is empty");
  std::size_t group = 0;
  if (lines[1][0] == '1') {
    group = 3;
  } else if (lines[1][0] == '2') {
    group = 2;
  } else {
    throw InternalError("Invalid TLE format");
  }
  TLECatalog catalog;
  for (std::size_t i = 0; i < lines.size(); i += group) {
    if (i + group > lines.size()) {
      throw InternalError("TLE file " + path + ": the group at line " + std::to_string(i + 1) +
                          " is incomplete");
    }
    auto tle = group == 3 ? TLE::from_lines(lines[i], lines[i + 1], lines[i + 2])
                          : TLE::from_lines(lines[i], lines[i + 1]);
    if (!tle) return std::unexpected(tle.error());
    catalog.add(*std::move(tle));
  }
  catalog.name = path;
  return catalog;
}

std::vector<std::string> TLECatalog::keys() const {
  std::vector<std::string> out;
  out.reserve(entries_.size());
  for (const auto& [key, _] : entries_) out.push_back(key);
  return out;
}

void TLECatalog::add(TLE tle) {
  std::string id = tle.id;
  entries_.insert_or_assign(std::move(id), std::move(tle));
}

const TLE* TLECatalog::find(const std::string& id) const {
  auto it = entries_.find(id);
  return it == entries_.end() ? nullptr : &it->second;
}

OrbitPlotData TLECatalog::plot_data() const {
  OrbitPlotData data(name.value_or("TLE Catalog"));
  for (const auto& [_, tle] : entries_) {
    const auto kep = tle.elements.pack();
    std::array<double, 3> r{}, v{}, llh{};
    KepToPosVel(kep.data(), r.data(), v.data());
    XYZToLLHTime(tle.epoch.days_since_1950, r.data(), llh.data());
    const KeplerianElements& e = tle.elements;
    data.add_point({llh[0], llh[1], llh[2], e.semi_major_axis, e.eccentricity, e.inclination,
                    e.raan, std::sqrt(r[2] * r[2] + (r[1] * r[1] + r[0] * r[0])), e.apoapsis(),
                    e.periapsis(), tle.epoch});
  }
  return data;
}

}  // namespace talvoran
