// A small reader of JPL SPK files (NAIF DAF container, type-2 Chebyshev position segments), for
// the Sun, the Earth-Moon barycentre, the Moon and the Earth as JPL's DE4xx files hold them.
#pragma once

#include <string>
#include <vector>

namespace astrofunc {

// NAIF body codes of the segments read.
constexpr int kSsb = 0, kEmb = 3, kSun = 10, kMoon = 301, kEarth = 399;

class SpkFile {
 public:
  // Reads the segments (kEmb, kSsb), (kSun, kSsb), (kMoon, kEmb) and (kEarth, kEmb) for the TDB
  // span [et_start_s, et_stop_s] (seconds past J2000). False with the reason in *why when the file
  // cannot be read, is not a little-endian SPK file, is damaged, or lacks one of the four bodies
  // over the whole span.
  bool Load(const std::string& path, double et_start_s, double et_stop_s, std::string* why);

  // Position (km, the file's frame) of target relative to center at et_s. False with the reason
  // when et_s lies outside the span loaded.
  bool Position(int target, int center, double et_s, double pos_km[3], std::string* why) const;

  double start_s() const { return start_s_; }
  double stop_s() const { return stop_s_; }
  const std::string& path() const { return path_; }

 private:
  struct Segment {
    int target = 0, center = 0;
    double init_s = 0.0, interval_s = 0.0;  // start and length of the records
    int record_size = 0, n_coef = 0;
    long first_record = 0, n_loaded = 0;  // records loaded: [first, first + n_loaded)
    double cover_start_s = 0.0, cover_stop_s = 0.0;
    std::vector<double> words;
  };
  std::vector<Segment> segments_;
  double start_s_ = 0.0, stop_s_ = 0.0;
  std::string path_;
};

}  // namespace astrofunc
