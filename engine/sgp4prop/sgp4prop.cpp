// The C surface of sgp4prop: SGP4 records by TLE key and the propagation calls.
//
// NOTE: records are created whole and never changed. The key table is an open-addressing hash
// whose slots writers (under a mutex) fill, replace or empty with atomic stores, and which they
// rebuild into a new table when it fills. Propagation reads it without a lock: a reader announces
// the writers' epoch in its own slot (epoch-based reclamation), and writers free what they have
// unlinked only once no reader announced at an epoch up to the one it was unlinked in. So a
// propagation never waits, allocates nothing and writes no memory other threads read.
#include "engine/sgp4prop.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>
#include <numbers>
#include <string>
#include <vector>

#include "common/error.hpp"
#include "engine/tle.h"
#include "sgp4prop/store.hpp"

namespace sgp4prop {

std::atomic<const Table*> g_table{nullptr};
thread_local ThreadReader t_reader{nullptr, 0};

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kTwoPi = 2.0 * kPi;
constexpr double kDegPerRad = 57.29577951308232;
constexpr double kRadPerDeg = 0.017453292519943295;
constexpr double kMinPerDay = 1440.0;
// B = B* x 12.741621 relates the XP ballistic coefficient (m^2/kg) to B* (1/Earth radii).
constexpr double kBtermPerBstar = 12.741621;

// ---- readers ----

std::atomic<Reader*> g_readers{nullptr};
std::atomic<std::uint64_t> g_epoch{1};

Reader* ClaimReader() {
  for (Reader* r = g_readers.load(std::memory_order_acquire); r != nullptr; r = r->next) {
    bool expected = false;
    if (!r->taken.load(std::memory_order_relaxed) &&
        r->taken.compare_exchange_strong(expected, true))
      return r;
  }
  auto* r = new Reader;  // kept for the life of the process
  r->taken.store(true, std::memory_order_relaxed);
  Reader* head = g_readers.load(std::memory_order_relaxed);
  do {
    r->next = head;
  } while (!g_readers.compare_exchange_weak(head, r, std::memory_order_release,
                                            std::memory_order_relaxed));
  return r;
}

// Gives the thread's Reader back when the thread ends; constructed with the first read.
struct ReaderRelease {
  ~ReaderRelease() {
    if (t_reader.reader == nullptr) return;
    t_reader.reader->epoch.store(0, std::memory_order_seq_cst);
    t_reader.reader->taken.store(false, std::memory_order_release);
    t_reader.reader = nullptr;
  }
  void Arm() {}
};
thread_local ReaderRelease t_release;

// ---- writers ----

struct Store {
  std::mutex mutex;              // writers only
  std::unique_ptr<Table> owned;  // the published table (g_table)
  std::size_t used = 0;          // its slots with a key
  std::size_t live = 0;          // its slots with a satellite
  // Unlinked, freed once no reader announced an epoch up to the tag.
  std::vector<std::pair<std::uint64_t, std::unique_ptr<const Satellite>>> retired_sats;
  std::vector<std::pair<std::uint64_t, std::unique_ptr<Table>>> retired_tables;

  Store() : owned(std::make_unique<Table>(16)) { g_table.store(owned.get()); }

  // Ends a write: the unlinked objects get the current epoch, which then advances; frees what no
  // reader can still hold.
  void Reclaim(std::vector<std::unique_ptr<const Satellite>>&& sats, std::unique_ptr<Table> old) {
    const std::uint64_t tag = g_epoch.fetch_add(1, std::memory_order_seq_cst);
    for (auto& s : sats) retired_sats.emplace_back(tag, std::move(s));
    if (old) retired_tables.emplace_back(tag, std::move(old));
    std::uint64_t oldest = UINT64_MAX;  // the oldest epoch a reader announced
    for (Reader* r = g_readers.load(std::memory_order_acquire); r != nullptr; r = r->next) {
      const std::uint64_t e = r->epoch.load(std::memory_order_seq_cst);
      if (e != 0) oldest = std::min(oldest, e);
    }
    const auto done = [oldest](const auto& item) { return item.first < oldest; };
    std::erase_if(retired_sats, done);
    std::erase_if(retired_tables, done);
  }

  // A new table for `capacity` slots holding the live satellites; the old one is returned.
  std::unique_ptr<Table> Rebuild(std::size_t capacity) {
    auto fresh = std::make_unique<Table>(capacity);
    for (std::size_t i = 0; i <= owned->mask; ++i) {
      const Satellite* sat = owned->slots[i].sat.load(std::memory_order_relaxed);
      if (sat == nullptr) continue;
      const std::int64_t key = owned->slots[i].key.load(std::memory_order_relaxed);
      Slot& slot = Probe(*fresh, key);
      slot.sat.store(sat, std::memory_order_relaxed);
      slot.key.store(key, std::memory_order_relaxed);
    }
    used = live;
    std::unique_ptr<Table> old = std::move(owned);
    owned = std::move(fresh);
    g_table.store(owned.get(), std::memory_order_seq_cst);
    return old;
  }

  void Insert(std::int64_t key, std::unique_ptr<const Satellite> sat) {
    std::vector<std::unique_ptr<const Satellite>> unlinked;
    std::unique_ptr<Table> old;
    Slot* slot = &Probe(*owned, key);
    if (slot->key.load(std::memory_order_relaxed) == 0 && 2 * (used + 1) > owned->mask + 1) {
      std::size_t capacity = 16;
      while (capacity < 4 * (live + 1)) capacity *= 2;
      old = Rebuild(capacity);
      slot = &Probe(*owned, key);
    }
    const Satellite* previous = slot->sat.exchange(sat.release(), std::memory_order_seq_cst);
    if (previous != nullptr) {
      unlinked.emplace_back(previous);
    } else {
      ++live;
    }
    if (slot->key.load(std::memory_order_relaxed) == 0) {
      slot->key.store(key, std::memory_order_release);
      ++used;
    }
    Reclaim(std::move(unlinked), std::move(old));
  }

  bool Remove(std::int64_t key) {
    Slot& slot = Probe(*owned, key);
    if (slot.key.load(std::memory_order_relaxed) != key) return false;
    const Satellite* previous = slot.sat.exchange(nullptr, std::memory_order_seq_cst);
    if (previous == nullptr) return false;
    --live;
    std::vector<std::unique_ptr<const Satellite>> unlinked;
    unlinked.emplace_back(previous);
    Reclaim(std::move(unlinked), nullptr);
    return true;
  }

  void Clear() {
    std::vector<std::unique_ptr<const Satellite>> unlinked;
    for (std::size_t i = 0; i <= owned->mask; ++i) {
      const Satellite* sat = owned->slots[i].sat.load(std::memory_order_relaxed);
      if (sat != nullptr) unlinked.emplace_back(sat);
    }
    auto fresh = std::make_unique<Table>(16);
    std::unique_ptr<Table> old = std::move(owned);
    owned = std::move(fresh);
    g_table.store(owned.get(), std::memory_order_seq_cst);
    used = live = 0;
    Reclaim(std::move(unlinked), std::move(old));
  }
};

Store& TheStore() {
  static Store* const store = new Store;  // never destroyed: threads may read at exit
  return *store;
}

std::string Num(double v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.10g", v);
  return buf;
}

const char* ErrorText(int code) {
  switch (code) {
    case sgp4::kMeanEccentricity:
      return "mean eccentricity out of range";
    case sgp4::kMeanMotion:
      return "mean motion not positive";
    case sgp4::kPerturbedEccentricity:
      return "perturbed eccentricity out of range";
    case sgp4::kSemiLatusRectum:
      return "semi-latus rectum negative";
    case sgp4::kSubOrbital:
      return "epoch elements sub-orbital";
    case sgp4::kDecayed:
      return "satellite has decayed";
    default:
      return "unknown error";
  }
}

double Wrap360(double deg) {
  double w = std::fmod(deg, 360.0);
  if (w < 0.0) w += 360.0;
  return w >= 360.0 ? 0.0 : w;
}

// Osculating two-body elements (a km, e, i, M, node, argp deg) of a TEME state with WGS-72 GM.
// Zeros for a state that is not elliptic.
void OsculatingElements(const double r[3], const double v[3], double out[6]) {
  const sgp4::Gravity& g = sgp4::Wgs72();
  const double mu = g.xke * g.xke * g.radius_km * g.radius_km * g.radius_km / 3600.0;
  const double rmag = std::sqrt(r[0] * r[0] + r[1] * r[1] + r[2] * r[2]);
  const double v2 = v[0] * v[0] + v[1] * v[1] + v[2] * v[2];
  const double h[3] = {r[1] * v[2] - r[2] * v[1], r[2] * v[0] - r[0] * v[2],
                       r[0] * v[1] - r[1] * v[0]};
  const double hmag = std::sqrt(h[0] * h[0] + h[1] * h[1] + h[2] * h[2]);
  const double energy = 0.5 * v2 - mu / rmag;
  for (int i = 0; i < 6; ++i) out[i] = 0.0;
  if (!(rmag > 0.0 && hmag > 0.0 && energy < 0.0)) return;
  const double rdotv = r[0] * v[0] + r[1] * v[1] + r[2] * v[2];
  double evec[3];
  for (int k = 0; k < 3; ++k) evec[k] = ((v2 - mu / rmag) * r[k] - rdotv * v[k]) / mu;
  const double e = std::sqrt(evec[0] * evec[0] + evec[1] * evec[1] + evec[2] * evec[2]);
  const double a = -mu / (2.0 * energy);
  const double incl = std::acos(std::clamp(h[2] / hmag, -1.0, 1.0));
  const double node = std::atan2(h[0], -h[1]);
  // Angles in the orbit plane from the node line (x along the node, y 90 deg ahead).
  const double cn = std::cos(node), sn = std::sin(node), ci = std::cos(incl), si = std::sin(incl);
  const auto in_plane = [&](const double x[3], double& px, double& py) {
    px = x[0] * cn + x[1] * sn;
    py = (-x[0] * sn + x[1] * cn) * ci + x[2] * si;
  };
  double rx, ry, ex, ey;
  in_plane(r, rx, ry);
  in_plane(evec, ex, ey);
  const double u = std::atan2(ry, rx);  // argument of latitude
  const double argp = e > 1e-12 ? std::atan2(ey, ex) : 0.0;
  const double nu = u - argp;
  const double ecc_anom = std::atan2(std::sqrt(1.0 - e * e) * std::sin(nu), e + std::cos(nu));
  const double mean_anom = ecc_anom - e * std::sin(ecc_anom);
  out[0] = a;
  out[1] = e;
  out[2] = incl * kDegPerRad;
  out[3] = Wrap360(mean_anom * kDegPerRad);
  out[4] = Wrap360(node * kDegPerRad);
  out[5] = Wrap360(argp * kDegPerRad);
}

}  // namespace

int NotInitialised(std::int64_t key) {
  return engine::fail("SGP4 key " + std::to_string(key) +
                      " is not initialised (call Sgp4InitSat after loading the TLE)");
}

void Announce(ThreadReader& tr) {
  if (tr.reader == nullptr) {
    tr.reader = ClaimReader();
    t_release.Arm();
  }
  // The announcement must be visible before the table is read (a full fence on x86: xchg).
  tr.reader->epoch.store(g_epoch.load(std::memory_order_seq_cst), std::memory_order_seq_cst);
}

int Failed(const Satellite& sat, double tsince_min, int code, double r[3], double v[3]) {
  if (code != sgp4::kDecayed) {
    for (int k = 0; k < 3; ++k) r[k] = v[k] = 0.0;
  }
  return engine::fail("Satellite " + std::to_string(sat.rec.satnum) + ": SGP4 error " +
                      std::to_string(code) + " (" + ErrorText(code) + ") at " + Num(tsince_min) +
                      " min from epoch");
}

std::string MakeSatellite(const double* xa, const std::string& xs, Satellite& sat) {
  const auto satnum = static_cast<std::int64_t>(xa[XA_TLE_SATNUM]);
  const std::string who = "Satellite " + std::to_string(satnum) + ": ";
  const double type = xa[XA_TLE_EPHTYPE];
  if (type == TLETYPE_SP) {
    return who + "TLE type 6 (SP) holds a special-perturbations vector that SGP4 cannot propagate";
  }
  if (type != TLETYPE_SGP && type != TLETYPE_SGP4 && type != TLETYPE_XP) {
    return who + "TLE type " + Num(type) + " is not 0, 2 or 4";
  }
  sgp4::MeanElements el{};
  el.epoch_ds50_utc = xa[XA_TLE_EPOCH];
  // Type 4 carries the ballistic coefficient B; SGP4 takes B* = B / 12.741621 and no radiation
  // pressure (the XP theory's own extensions are not modelled).
  el.bstar = type == TLETYPE_XP ? xa[XA_TLE_BTERM] / kBtermPerBstar : xa[XA_TLE_BSTAR];
  el.ecco = xa[XA_TLE_ECCEN];
  el.argpo = xa[XA_TLE_OMEGA] * kRadPerDeg;
  el.inclo = xa[XA_TLE_INCLI] * kRadPerDeg;
  el.mo = xa[XA_TLE_MNANOM] * kRadPerDeg;
  el.nodeo = xa[XA_TLE_NODE] * kRadPerDeg;
  const double n_rad_min = xa[XA_TLE_MNMOTN] * kTwoPi / kMinPerDay;
  const double values[] = {el.epoch_ds50_utc, el.bstar, el.ecco,  el.argpo,
                           el.inclo,          el.mo,    el.nodeo, n_rad_min};
  for (double v : values) {
    if (!std::isfinite(v)) return who + "an element is not a finite number";
  }
  if (!(el.ecco >= 0.0 && el.ecco < 1.0)) {
    return who + "SGP4 error 1 (mean eccentricity out of range): eccentricity " + Num(el.ecco) +
           " at epoch is outside [0, 1)";
  }
  if (!(n_rad_min > 0.0)) {
    return who + "SGP4 error 2 (mean motion not positive): mean motion " + Num(xa[XA_TLE_MNMOTN]) +
           " rev/day at epoch";
  }
  // Type 0 carries Kozai's mean motion, which the theory takes as it is; types 2 and 4 carry
  // Brouwer's, which the theory would reach from the Kozai value that we recover here.
  el.no_kozai = type == TLETYPE_SGP ? n_rad_min : sgp4::ReKozai(n_rad_min, el.ecco, el.inclo);
  std::copy(xa, xa + XA_TLE_SIZE, sat.xa.begin());
  sat.xs = xs;
  const int code = sgp4::Sgp4Init(el, satnum, sat.rec);
  if (code != sgp4::kOk) {
    return who + "SGP4 error " + std::to_string(code) + " (" + ErrorText(code) +
           ") at initialisation";
  }
  return {};
}

// Fills the Sgp4PropAll slots from one propagation.
int PropagateAll(const Satellite& sat, double tsince_min, double* out) {
  for (int i = 0; i < XA_SGP4OUT_SIZE; ++i) out[i] = 0.0;
  double r[3], v[3];
  sgp4::MeanState mean{};
  const int status = Propagate(sat, tsince_min, r, v, &mean);
  if (status != 0) return status;
  const sgp4::Gravity& g = sgp4::Wgs72();
  out[XA_SGP4OUT_DS50UTC] = sat.rec.epoch_ds50_utc + tsince_min / kMinPerDay;
  out[XA_SGP4OUT_MSE] = tsince_min;
  for (int k = 0; k < 3; ++k) {
    out[XA_SGP4OUT_POSX + k] = r[k];
    out[XA_SGP4OUT_VELX + k] = v[k];
  }
  out[XA_SGP4OUT_MNMOTN] = mean.nm * kMinPerDay / kTwoPi;
  // Revolutions counted from the TLE's at the ascending node: the change of the mean argument of
  // latitude since epoch, in whole turns.
  const double u0 = sat.rec.mo + sat.rec.argpo;
  const double u1 =
      sat.rec.mo + sat.rec.mdot * tsince_min + sat.rec.argpo + sat.rec.argpdot * tsince_min;
  out[XA_SGP4OUT_REVNUM] =
      sat.xa[XA_TLE_REVNUM] + std::floor(u1 / kTwoPi) - std::floor(u0 / kTwoPi);
  out[XA_SGP4OUT_MN_A] = mean.am * g.radius_km;
  out[XA_SGP4OUT_MN_E] = mean.em;
  out[XA_SGP4OUT_MN_INCLI] = mean.inclm * kDegPerRad;
  out[XA_SGP4OUT_MN_MA] = Wrap360(mean.mm * kDegPerRad);
  out[XA_SGP4OUT_MN_NODE] = Wrap360(mean.nodem * kDegPerRad);
  out[XA_SGP4OUT_MN_OMEGA] = Wrap360(mean.argpm * kDegPerRad);
  OsculatingElements(r, v, out + XA_SGP4OUT_OSC_A);
  return 0;
}

}  // namespace sgp4prop

using sgp4prop::Satellite;

extern "C" {

int Sgp4InitSat(int64_t satKey) {
  std::array<double, XA_TLE_SIZE> xa{};
  char xs[ENGINE_TEXT_BUF] = {};
  if (TleDataToArray(satKey, xa.data(), xs) != 0) {
    return engine::fail("Sgp4InitSat: TLE key " + std::to_string(satKey) + " is not loaded");
  }
  auto sat = std::make_unique<Satellite>();
  const std::string msg = sgp4prop::MakeSatellite(xa.data(), xs, *sat);
  if (!msg.empty()) return engine::fail(msg);
  if (satKey == 0) return sgp4prop::NotInitialised(satKey);  // 0 marks an empty slot
  sgp4prop::Store& store = sgp4prop::TheStore();
  std::lock_guard lock(store.mutex);
  store.Insert(satKey, std::move(sat));
  return 0;
}

int Sgp4RemoveSat(int64_t satKey) {
  sgp4prop::Store& store = sgp4prop::TheStore();
  std::lock_guard lock(store.mutex);
  if (satKey == 0 || !store.Remove(satKey)) return sgp4prop::NotInitialised(satKey);
  return 0;
}

int Sgp4RemoveAllSats(void) {
  sgp4prop::Store& store = sgp4prop::TheStore();
  std::lock_guard lock(store.mutex);
  store.Clear();
  return 0;
}

int Sgp4GetCount(void) {
  sgp4prop::Store& store = sgp4prop::TheStore();
  std::lock_guard lock(store.mutex);
  return static_cast<int>(store.live);
}

int Sgp4PropDs50UtcPosVel(int64_t satKey, double ds50UTC, double pos[3], double vel[3]) {
  int status = 1;
  if (!sgp4prop::WithSatellite(satKey, [&](const Satellite& sat) {
        const double tsince = (ds50UTC - sat.rec.epoch_ds50_utc) * sgp4prop::kMinPerDay;
        status = sgp4prop::Propagate(sat, tsince, pos, vel);
      })) {
    for (int k = 0; k < 3; ++k) pos[k] = vel[k] = 0.0;
  }
  return status;
}

int Sgp4PropMse(int64_t satKey, double minutesSinceEpoch, double pos[3], double vel[3]) {
  int status = 1;
  if (!sgp4prop::WithSatellite(satKey, [&](const Satellite& sat) {
        status = sgp4prop::Propagate(sat, minutesSinceEpoch, pos, vel);
      })) {
    for (int k = 0; k < 3; ++k) pos[k] = vel[k] = 0.0;
  }
  return status;
}

int Sgp4PropDs50UtcPosVelBatch(int64_t satKey, int n, const double* ds50UTC, double* out) {
  if (n < 0 || (n > 0 && (ds50UTC == nullptr || out == nullptr))) {
    return engine::fail("Sgp4PropDs50UtcPosVelBatch: invalid count or null array");
  }
  const std::ptrdiff_t count = n;
  int status = 1;
  std::ptrdiff_t filled = 0;  // states written; the rest are zeroed
  sgp4prop::WithSatellite(satKey, [&](const Satellite& sat) {
    status = 0;
    const double epoch = sat.rec.epoch_ds50_utc;
    const auto put = [&](const double r[3], const double v[3]) {
      for (std::ptrdiff_t k = 0; k < 3; ++k) {
        out[k * count + filled] = r[k];
        out[(k + 3) * count + filled] = v[k];
      }
      ++filled;
    };
    // sgp4::kLanes times a call to the theory, then one at a time; the first failure ends the
    // batch.
    constexpr int kLanes = sgp4::kLanes;
    while (count - filled >= kLanes && status == 0) {
      double tsince[kLanes];
      for (int j = 0; j < kLanes; ++j) {
        tsince[j] = (ds50UTC[filled + j] - epoch) * sgp4prop::kMinPerDay;
      }
      double r[kLanes][3], v[kLanes][3];
      int code[kLanes];
      sgp4::Sgp4Lanes(sat.rec, tsince, r, v, code);
      for (int j = 0; j < kLanes && status == 0; ++j) {
        if (code[j] != sgp4::kOk) status = sgp4prop::Failed(sat, tsince[j], code[j], r[j], v[j]);
        put(r[j], v[j]);
      }
    }
    while (filled < count && status == 0) {
      const double tsince = (ds50UTC[filled] - epoch) * sgp4prop::kMinPerDay;
      double r[3], v[3];
      status = sgp4prop::Propagate(sat, tsince, r, v);
      put(r, v);
    }
  });
  for (std::ptrdiff_t k = 0; k < 6; ++k) {
    std::fill(out + k * count + filled, out + (k + 1) * count, 0.0);
  }
  return status;
}

int Sgp4PropAll(int64_t satKey, int timeType, double timeIn, double xa_sgp4Out[XA_SGP4OUT_SIZE]) {
  if (timeType != SGP4_TIMETYPE_MSE && timeType != SGP4_TIMETYPE_DS50UTC) {
    for (int i = 0; i < XA_SGP4OUT_SIZE; ++i) xa_sgp4Out[i] = 0.0;
    return engine::fail("Sgp4PropAll: time type " + std::to_string(timeType) +
                        " is not 0 (minutes since epoch) or 1 (ds50 UTC)");
  }
  int status = 1;
  if (!sgp4prop::WithSatellite(satKey, [&](const Satellite& sat) {
        const double tsince = timeType == SGP4_TIMETYPE_MSE
                                  ? timeIn
                                  : (timeIn - sat.rec.epoch_ds50_utc) * sgp4prop::kMinPerDay;
        status = sgp4prop::PropagateAll(sat, tsince, xa_sgp4Out);
      })) {
    for (int i = 0; i < XA_SGP4OUT_SIZE; ++i) xa_sgp4Out[i] = 0.0;
  }
  return status;
}

int XpGetNativeElts(int64_t satKey, double ds50UTC, double xa_eqnx[6], double xa_eqnxRate[6]) {
  for (int i = 0; i < 6; ++i) xa_eqnx[i] = xa_eqnxRate[i] = 0.0;
  int status = 1;
  sgp4prop::WithSatellite(satKey, [&](const Satellite& sat) {
    const double tsince = (ds50UTC - sat.rec.epoch_ds50_utc) * sgp4prop::kMinPerDay;
    const auto native = [&](double t, double eq[6]) {
      double r[3], v[3];
      sgp4::MeanState m{};
      const int s = sgp4prop::Propagate(sat, t, r, v, &m);
      if (s != 0) return s;
      const double tan_half_i = std::tan(0.5 * m.inclm);
      eq[0] = m.em * std::cos(m.argpm + m.nodem);
      eq[1] = m.em * std::sin(m.argpm + m.nodem);
      eq[2] = tan_half_i * std::sin(m.nodem);
      eq[3] = tan_half_i * std::cos(m.nodem);
      eq[4] = sgp4prop::Wrap360((m.mm + m.argpm + m.nodem) * sgp4prop::kDegPerRad);
      eq[5] = m.nm * sgp4prop::kMinPerDay / sgp4prop::kTwoPi;
      return 0;
    };
    status = native(tsince, xa_eqnx);
    if (status != 0) return;
    double before[6], after[6];
    status = native(tsince - 1.0, before);
    if (status == 0) status = native(tsince + 1.0, after);
    if (status != 0) {
      for (int i = 0; i < 6; ++i) xa_eqnx[i] = 0.0;
      return;
    }
    for (int i = 0; i < 6; ++i) {
      double d = after[i] - before[i];
      if (i == 4) d = std::remainder(d, 360.0);  // the mean longitude wraps at 360 deg
      xa_eqnxRate[i] = d / 2.0 * sgp4prop::kMinPerDay;
    }
  });
  return status;
}

}  // extern "C"
