// SPK reading after NAIF's "DAF Required Reading" and "SPK Required Reading" (type 2: Chebyshev
// polynomials for position, fixed-length records of MID, RADIUS and the x, y, z coefficients,
// with the trailer INIT, INTLEN, RSIZE, N). Only the records that overlap the requested span are
// read into memory; every word address taken from the file is checked against the file size
// before it is used, so a damaged or hostile file gives a message, never a read out of bounds.
#include "astrofunc/spk_reader.hpp"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>

#include "astrofunc/common.hpp"

namespace astrofunc {

namespace {

constexpr long kRecordBytes = 1024;
constexpr long kWordBytes = 8;

struct Wanted {
  int target, center;
  const char* name;
};
constexpr Wanted kWanted[] = {{kEmb, kSsb,
                               "Earth-Moon barycentre (3) from the solar-system "
                               "barycentre (0)"},
                              {kSun, kSsb, "Sun (10) from the solar-system barycentre (0)"},
                              {kMoon, kEmb, "Moon (301) from the Earth-Moon barycentre (3)"},
                              {kEarth, kEmb, "Earth (399) from the Earth-Moon barycentre (3)"}};

class Reader {
 public:
  explicit Reader(const std::string& path) : in_(path, std::ios::binary) {
    if (in_) {
      in_.seekg(0, std::ios::end);
      size_ = static_cast<long>(in_.tellg());
    }
  }
  bool open() const { return static_cast<bool>(in_) && size_ >= 0; }
  long size() const { return size_; }

  // Bytes [offset, offset + n) of the file; false if any lies beyond its end.
  bool Bytes(long offset, long n, void* out) {
    if (offset < 0 || n < 0 || offset > size_ || n > size_ - offset) return false;
    in_.seekg(offset);
    in_.read(static_cast<char*>(out), n);
    return static_cast<bool>(in_);
  }
  // DAF words are 1-based double addresses.
  bool Words(long first_word, long n, double* out) {
    if (first_word < 1) return false;
    return Bytes((first_word - 1) * kWordBytes, n * kWordBytes, out);
  }

 private:
  std::ifstream in_;
  long size_ = -1;
};

bool IsWhole(double x) { return std::isfinite(x) && x == std::floor(x); }

}  // namespace

bool SpkFile::Load(const std::string& path, double et_start_s, double et_stop_s, std::string* why) {
  static_assert(std::endian::native == std::endian::little,
                "the SPK reader reads little-endian (LTL-IEEE) files in place");
  const std::string where = "JPL file \"" + path + "\": ";
  if (!(std::isfinite(et_start_s) && std::isfinite(et_stop_s) && et_start_s <= et_stop_s)) {
    *why = where + "start and stop times are not an ordered pair of finite numbers";
    return false;
  }
  Reader file(path);
  if (!file.open()) {
    *why = where + "cannot be opened";
    return false;
  }
  char record[kRecordBytes];
  if (!file.Bytes(0, kRecordBytes, record)) {
    *why = where + "too short for a DAF file record";
    return false;
  }
  const bool daf_spk = std::memcmp(record, "DAF/SPK ", 8) == 0;
  const bool naif_daf = std::memcmp(record, "NAIF/DAF", 8) == 0;
  if (!daf_spk && !naif_daf) {
    *why = where + "not an SPK file (no DAF/SPK identification word)";
    return false;
  }
  if (daf_spk && std::memcmp(record + 88, "LTL-IEEE", 8) != 0) {
    *why = where + "binary format \"" + std::string(record + 88, 8) +
           "\" is not supported (only LTL-IEEE)";
    return false;
  }
  std::int32_t nd = 0, ni = 0, fward = 0;
  std::memcpy(&nd, record + 8, 4);
  std::memcpy(&ni, record + 12, 4);
  std::memcpy(&fward, record + 76, 4);
  if (nd != 2 || ni != 6) {
    *why = where + "summary format ND=" + std::to_string(nd) + ", NI=" + std::to_string(ni) +
           " is not that of an SPK file (2, 6)";
    return false;
  }

  segments_.clear();
  const long n_records = file.size() / kRecordBytes;
  long summary_record = fward;
  for (long visited = 0; summary_record != 0; ++visited) {
    double control[3];
    if (visited > n_records || summary_record < 1 ||
        !file.Words((summary_record - 1) * (kRecordBytes / kWordBytes) + 1, 3, control) ||
        !IsWhole(control[0]) || !IsWhole(control[2]) || control[2] < 0 || control[2] > 25) {
      *why = where + "damaged summary record " + std::to_string(summary_record);
      return false;
    }
    const long n_summaries = static_cast<long>(control[2]);
    for (long k = 0; k < n_summaries; ++k) {
      // A summary: 2 doubles (start, stop) and 6 int32 (target, center, frame, type, first and
      // last word) packed into 3 more doubles.
      unsigned char bytes[40];
      const long offset = (summary_record - 1) * kRecordBytes + 24 + 40 * k;
      if (!file.Bytes(offset, 40, bytes)) {
        *why = where + "damaged summary record " + std::to_string(summary_record);
        return false;
      }
      double span[2];
      std::int32_t ic[6];
      std::memcpy(span, bytes, 16);
      std::memcpy(ic, bytes + 16, 24);
      const auto wanted =
          std::find_if(std::begin(kWanted), std::end(kWanted),
                       [&](const Wanted& w) { return w.target == ic[0] && w.center == ic[1]; });
      if (wanted == std::end(kWanted) || ic[3] != 2) continue;
      if (span[1] < et_start_s || span[0] > et_stop_s) continue;  // no overlap with the span

      Segment seg;
      seg.target = ic[0];
      seg.center = ic[1];
      const long first_word = ic[4], last_word = ic[5];
      double trailer[4];
      if (first_word < 1 || last_word < first_word + 3 || !file.Words(last_word - 3, 4, trailer)) {
        *why = where + "segment of body " + std::to_string(seg.target) + " lies beyond the file";
        return false;
      }
      seg.init_s = trailer[0];
      seg.interval_s = trailer[1];
      const double rsize = trailer[2], n = trailer[3];
      if (!std::isfinite(seg.init_s) || !(seg.interval_s > 0.0) || !IsWhole(rsize) || rsize < 5 ||
          rsize > 2 + 3 * 64 || static_cast<long>(rsize - 2) % 3 != 0 || !IsWhole(n) || n < 1 ||
          n * rsize + 4 != static_cast<double>(last_word - first_word + 1)) {
        *why = where + "damaged type-2 segment of body " + std::to_string(seg.target);
        return false;
      }
      seg.record_size = static_cast<int>(rsize);
      seg.n_coef = (seg.record_size - 2) / 3;
      const long n_total = static_cast<long>(n);
      const auto record_of = [&](double et) {
        const double k_rec = std::floor((et - seg.init_s) / seg.interval_s);
        return static_cast<long>(std::clamp(k_rec, 0.0, static_cast<double>(n_total - 1)));
      };
      seg.first_record = record_of(std::max(et_start_s, span[0]));
      const long last_record = record_of(std::min(et_stop_s, span[1]));
      seg.n_loaded = last_record - seg.first_record + 1;
      seg.cover_start_s = std::max({et_start_s, span[0], seg.init_s});
      seg.cover_stop_s = std::min(
          {et_stop_s, span[1], seg.init_s + seg.interval_s * static_cast<double>(n_total)});
      seg.words.resize(static_cast<size_t>(seg.n_loaded * seg.record_size));
      if (!file.Words(first_word + seg.first_record * seg.record_size,
                      seg.n_loaded * seg.record_size, seg.words.data())) {
        *why = where + "segment of body " + std::to_string(seg.target) + " lies beyond the file";
        return false;
      }
      segments_.push_back(std::move(seg));
    }
    summary_record = static_cast<long>(control[0]);
  }

  // The span served is the part of [start, stop] that every body covers.
  double start = et_start_s, stop = et_stop_s;
  for (const Wanted& w : kWanted) {
    double lo = INFINITY, hi = -INFINITY;
    for (const Segment& s : segments_) {
      if (s.target != w.target || s.center != w.center) continue;
      lo = std::min(lo, s.cover_start_s);
      hi = std::max(hi, s.cover_stop_s);
    }
    if (!(lo <= hi)) {
      *why = where + "no type-2 segment of the " + w.name + " over the requested span";
      segments_.clear();
      return false;
    }
    start = std::max(start, lo);
    stop = std::min(stop, hi);
  }
  if (!(start <= stop)) {
    *why = where + "the bodies' segments have no common span within the requested one";
    segments_.clear();
    return false;
  }
  start_s_ = start;
  stop_s_ = stop;
  path_ = path;
  return true;
}

bool SpkFile::Position(int target, int center, double et_s, double pos_km[3],
                       std::string* why) const {
  for (const Segment& s : segments_) {
    if (s.target != target || s.center != center) continue;
    if (!(et_s >= s.cover_start_s && et_s <= s.cover_stop_s)) continue;
    long k_rec = static_cast<long>(std::floor((et_s - s.init_s) / s.interval_s));
    // The last record also covers its own end point.
    k_rec = std::clamp(k_rec, s.first_record, s.first_record + s.n_loaded - 1);
    const double* rec = s.words.data() + (k_rec - s.first_record) * s.record_size;
    const double x = (et_s - rec[0]) / rec[1];  // in [-1, 1] within the record
    if (!(std::fabs(x) <= 1.0 + 1e-9)) break;
    for (int axis = 0; axis < 3; ++axis) {
      // Clenshaw's recurrence for sum c_k T_k(x).
      const double* c = rec + 2 + axis * s.n_coef;
      double b1 = 0.0, b2 = 0.0;
      for (int k = s.n_coef - 1; k >= 1; --k) {
        const double b0 = 2.0 * x * b1 - b2 + c[k];
        b2 = b1;
        b1 = b0;
      }
      pos_km[axis] = x * b1 - b2 + c[0];
    }
    return true;
  }
  *why = "JPL file \"" + path_ + "\": no data for body " + std::to_string(target) + " at " +
         Num(et_s) + " s TDB past J2000";
  return false;
}

}  // namespace astrofunc
