// SGP4/SDP4 against the verification set of Vallado, Crawford, Hujsak and Kelso (2006): the 33
// TLEs of sgp4-ver.tle over their whole ranges, against the published MATLAB run
// (sgp4-ver-expected.out), including the cases that end in an SGP4 error. Mean elements against
// python-sgp4 2.27 (oracle numbers copied below with the call that made them). Sources:
// engine/tests/data/SOURCES.md.
#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <cmath>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "engine/dllmain.h"
#include "engine/envconst.h"
#include "engine/sgp4prop.h"
#include "engine/tle.h"

namespace {

std::string LastError() {
  char buf[ENGINE_TEXT_BUF] = {};
  GetLastErrMsg(buf);
  return buf;
}

// ---- The verification set ------------------------------------------------------------------

struct Row {
  double t_min;
  double r[3], v[3];
  bool has_elements;
  double a_km, e, incl, node, argp, nu, mean_anom;  // osculating, deg
};

struct Case {
  std::string line1, line2;
  int satnum;
  double start, stop, step;  // minutes, from the columns after 69 of line 2
  std::vector<Row> rows;
};

std::vector<std::string> ReadLines(const std::string& name) {
  std::ifstream in(std::string(SGP4_TEST_DATA) + "/" + name);
  std::vector<std::string> lines;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

std::vector<Case> LoadVerificationSet() {
  std::vector<Case> cases;
  const std::vector<std::string> tle = ReadLines("sgp4-ver.tle");
  for (std::size_t i = 0; i + 1 < tle.size(); ++i) {
    if (tle[i].rfind("1 ", 0) != 0 || tle[i + 1].rfind("2 ", 0) != 0) continue;
    Case c;
    c.line1 = tle[i];
    c.line2 = tle[i + 1];
    c.satnum = std::stoi(c.line1.substr(2, 5));
    std::istringstream extra(c.line2.substr(69));
    extra >> c.start >> c.stop >> c.step;
    cases.push_back(c);
  }
  // The expected file lists the cases in the same order, each after a "<satnum> xx" line.
  std::size_t index = 0;
  Case* current = nullptr;
  for (const std::string& line : ReadLines("sgp4-ver-expected.out")) {
    if (line.find("xx") != std::string::npos) {
      current = index < cases.size() ? &cases[index++] : nullptr;
      continue;
    }
    if (current == nullptr) continue;
    std::istringstream in(line);
    Row row{};
    if (!(in >> row.t_min >> row.r[0] >> row.r[1] >> row.r[2] >> row.v[0] >> row.v[1] >>
          row.v[2])) {
      continue;
    }
    row.has_elements = static_cast<bool>(in >> row.a_km >> row.e >> row.incl >> row.node >>
                                         row.argp >> row.nu >> row.mean_anom);
    current->rows.push_back(row);
  }
  return cases;
}

const std::vector<Case>& Cases() {
  static const std::vector<Case> cases = LoadVerificationSet();
  return cases;
}

// The cases that the set's comments say end in an SGP4 error, with the code and the first time
// of the run that fails: the expected file stops before that time.
struct ExpectedError {
  int satnum;
  int code;
  double first_failing_min;
};
// The codes agree with python-sgp4 2.27 (sgp4_tsince at the same times).
constexpr ExpectedError kExpectedErrors[] = {
    {22312, 1, 494.2028672},  // decayed 2006-04-04; eccentricity driven out of range by drag
    {28350, 1, 1560.0},       // mean motion 16.48 rev/day: re-entry, eccentricity out of range
    {28872, 6, 55.0},         // sub-orbital rocket body (perigee -51 km), decays after 50 min
    {29141, 6, 440.0},        // B* 0.135, decays at the end of its range
    {33333, 4, 25.0},         // "check error code 4": semi-latus rectum negative
    {33334, 3, 0.0},          // "try and check error code 2": ends in code 3 at epoch
    {20413, 6, 1844345.0},    // the second 20413 case (1844000 to 1845100 min)
};

const ExpectedError* FindExpectedError(int satnum) {
  for (const ExpectedError& e : kExpectedErrors) {
    if (e.satnum == satnum) return &e;
  }
  return nullptr;
}

// The run's times: epoch, then start to stop by step (stop included).
std::vector<double> RunTimes(const Case& c) {
  std::vector<double> times{0.0};
  const double dir = c.stop >= c.start ? 1.0 : -1.0;
  const double step = dir * std::fabs(c.step);
  for (int i = 0;; ++i) {
    const double t = c.start + i * step;
    if (dir * (t - c.stop) > 1e-9) break;
    if (t != 0.0 || i > 0) times.push_back(t);
  }
  if (std::fabs(times.back() - c.stop) > 1e-9) times.push_back(c.stop);
  // The run of the paper does not repeat the epoch when the range starts there.
  if (times.size() > 1 && times[1] == 0.0) times.erase(times.begin() + 1);
  return times;
}

class VerificationSet : public ::testing::TestWithParam<std::size_t> {
 protected:
  void SetUp() override {
    SetAllKeyMode(KEYMODE_DMA);
    const Case& c = Cases()[GetParam()];
    key_ = TleAddSatFrLines(c.line1.c_str(), c.line2.c_str());
    ASSERT_GT(key_, 0) << LastError();
    ASSERT_EQ(Sgp4InitSat(key_), 0) << LastError();
    ASSERT_EQ(TleDataToArray(key_, xa_.data(), xs_), 0);
  }
  void TearDown() override {
    Sgp4RemoveSat(key_);
    TleRemoveSat(key_);
    SetAllKeyMode(KEYMODE_NODUP);
  }
  int64_t key_ = 0;
  std::array<double, XA_TLE_SIZE> xa_{};
  char xs_[ENGINE_TEXT_BUF] = {};
};

// Tolerances: the published run prints positions to 1e-8 km and velocities to 1e-9 km/s.
// Position 1 cm: our epoch is the TLE's decimal epoch, while the published run's epoch comes out
// of a day-to-h/m/s split about 2e-10 day (19 us) off it; for the e = 0.97 object 23333 near
// perigee this moves the lunar-solar terms enough for 4 mm. Everything else agrees to 1e-7 km.
constexpr double kPosTolKm = 1e-5;
constexpr double kVelTolKmS = 1e-8;

TEST_P(VerificationSet, StatesInMinutesSinceEpochOverTheWholeRange) {
  const Case& c = Cases()[GetParam()];
  const ExpectedError* expected_error = FindExpectedError(c.satnum);
  std::size_t row = 0;
  for (double t : RunTimes(c)) {
    double r[3], v[3];
    const int status = Sgp4PropMse(key_, t, r, v);
    if (expected_error != nullptr && t >= expected_error->first_failing_min - 1e-6) {
      // The published run stops at its first error; so do we.
      EXPECT_NE(status, 0) << "t = " << t;
      const std::string want = "Satellite " + std::to_string(c.satnum) + ": SGP4 error " +
                               std::to_string(expected_error->code) + " (";
      EXPECT_EQ(LastError().rfind(want, 0), 0u) << LastError();
      break;
    }
    ASSERT_EQ(status, 0) << "t = " << t << ": " << LastError();
    ASSERT_LT(row, c.rows.size()) << "the expected run has no row for t = " << t;
    const Row& want = c.rows[row++];
    ASSERT_NEAR(want.t_min, t, 1e-6);
    for (int k = 0; k < 3; ++k) {
      EXPECT_NEAR(r[k], want.r[k], kPosTolKm) << "satellite " << c.satnum << " t " << t;
      EXPECT_NEAR(v[k], want.v[k], kVelTolKmS) << "satellite " << c.satnum << " t " << t;
    }
  }
  // Every published row was reproduced, except for a final row outside the case's range that
  // the published run appends to its last case, and the stale row it prints for 33334 (whose
  // first propagation fails).
  std::size_t extra = 0;
  for (std::size_t i = row; i < c.rows.size(); ++i) {
    const double t = c.rows[i].t_min;
    if (t < std::min(c.start, c.stop) || t > std::max(c.start, c.stop) || c.satnum == 33334)
      ++extra;
  }
  EXPECT_EQ(row + extra, c.rows.size());
}

// ds50 UTC times: a day count near 20000 resolves 3.6e-12 day, about 3 mm of LEO motion, so the
// same 1 cm holds (4 mm of 23333 plus at most 3 mm). Except for 33333 (e = 0.995 with a B* that
// collapses the orbit within 25 min): at 20 min its Kepler iteration ends at the theory's limit
// of 10 steps unconverged, so its state moves by 0.14 m with the last bits of the time; 1 m there.
TEST_P(VerificationSet, StatesAtDs50UtcTimes) {
  const Case& c = Cases()[GetParam()];
  const double pos_tol_km = c.satnum == 33333 ? 1e-3 : kPosTolKm;
  const ExpectedError* expected_error = FindExpectedError(c.satnum);
  std::size_t row = 0;
  for (double t : RunTimes(c)) {
    if (expected_error != nullptr && t >= expected_error->first_failing_min - 1e-6) break;
    double r[3], v[3];
    ASSERT_EQ(Sgp4PropDs50UtcPosVel(key_, xa_[XA_TLE_EPOCH] + t / 1440.0, r, v), 0) << LastError();
    const Row& want = c.rows[row++];
    for (int k = 0; k < 3; ++k) {
      EXPECT_NEAR(r[k], want.r[k], pos_tol_km) << "satellite " << c.satnum << " t " << t;
      EXPECT_NEAR(v[k], want.v[k], kVelTolKmS) << "satellite " << c.satnum << " t " << t;
    }
  }
}

double AngleDiffDeg(double a, double b) { return std::remainder(a - b, 360.0); }

// The published rows also carry the osculating elements of each state (two-body, WGS-72 GM).
// Printed to 1e-6 km, 1e-6 and 1e-5 deg; we allow two units of the last digit. Angles are only
// compared where they are defined well (e > 0.01, i > 1 deg); a is compared relatively (1e-9)
// because near-parabolic orbits magnify the rounding of the printed state.
TEST_P(VerificationSet, OsculatingElementsOfSgp4PropAll) {
  const Case& c = Cases()[GetParam()];
  for (const Row& want : c.rows) {
    if (!want.has_elements) continue;
    if (want.t_min < std::min(c.start, c.stop) || want.t_min > std::max(c.start, c.stop)) {
      continue;  // the stray row appended to the last case (see above)
    }
    double out[XA_SGP4OUT_SIZE];
    if (Sgp4PropAll(key_, SGP4_TIMETYPE_MSE, want.t_min, out) != 0) continue;
    EXPECT_NEAR(out[XA_SGP4OUT_OSC_A], want.a_km, std::max(2e-6, 1e-9 * std::fabs(want.a_km)));
    EXPECT_NEAR(out[XA_SGP4OUT_OSC_E], want.e, 2e-6);
    EXPECT_NEAR(out[XA_SGP4OUT_OSC_INCLI], want.incl, 2e-5);
    if (want.e > 0.01 && want.incl > 1.0) {
      EXPECT_NEAR(AngleDiffDeg(out[XA_SGP4OUT_OSC_NODE], want.node), 0.0, 2e-5);
      EXPECT_NEAR(AngleDiffDeg(out[XA_SGP4OUT_OSC_OMEGA], want.argp), 0.0, 2e-5);
      EXPECT_NEAR(AngleDiffDeg(out[XA_SGP4OUT_OSC_MA], want.mean_anom), 0.0, 2e-5);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Vallado2006, VerificationSet, ::testing::Range<std::size_t>(0, 33),
                         [](const ::testing::TestParamInfo<std::size_t>& param_info) {
                           return std::to_string(param_info.index) + "_" +
                                  std::to_string(Cases()[param_info.param].satnum);
                         });

TEST(VerificationSetFiles, HoldAllCases) {
  ASSERT_EQ(Cases().size(), 33u);
  for (const Case& c : Cases()) EXPECT_FALSE(c.rows.empty()) << c.satnum;
}

// ---- Element types, keys and messages ------------------------------------------------------

const std::string kL1 = "1 00005U 58002B   00179.78495062  .00000023  00000-0  28098-4 0  4753";
const std::string kL2 = "2 00005  34.2682 348.7242 1859667 331.7664  19.3264 10.82419157413667";
// 00005 at +4320 min, from the verification run (and Vallado et al. 2006, App. C).
constexpr double kR4320[3] = {-9060.47373569, 4658.70952502, 813.68673153};
constexpr double kV4320[3] = {-2.232832783, -4.110453490, -3.157345433};

class Sgp4Keys : public ::testing::Test {
 protected:
  void SetUp() override { SetAllKeyMode(KEYMODE_DMA); }
  void TearDown() override {
    Sgp4RemoveAllSats();
    TleRemoveAllSats();
    SetAllKeyMode(KEYMODE_NODUP);
  }
  static std::array<double, XA_TLE_SIZE> Arrays00005(std::string& xs) {
    std::array<double, XA_TLE_SIZE> xa{};
    char buf[ENGINE_TEXT_BUF];
    EXPECT_EQ(TleLinesToArray(kL1.c_str(), kL2.c_str(), xa.data(), buf), 0);
    xs = buf;
    return xa;
  }
  static int64_t Init(const std::array<double, XA_TLE_SIZE>& xa, const std::string& xs) {
    const int64_t key = TleAddSatFrArray(xa.data(), xs.c_str());
    EXPECT_GT(key, 0) << LastError();
    EXPECT_EQ(Sgp4InitSat(key), 0) << LastError();
    return key;
  }
  static void ExpectState4320(int64_t key) {
    double r[3], v[3];
    ASSERT_EQ(Sgp4PropMse(key, 4320.0, r, v), 0) << LastError();
    for (int k = 0; k < 3; ++k) {
      EXPECT_NEAR(r[k], kR4320[k], 1e-5);  // 1 cm, as for the verification set
      EXPECT_NEAR(v[k], kV4320[k], 1e-8);
    }
  }
};

// Type 2 carries Brouwer's mean motion. python-sgp4 2.27, Satrec.twoline2rv(kL1, kL2, WGS72),
// sgp4_tsince(0.0), nm * 1440 / (2 pi): 10.818887383050328 rev/day, the un-Kozai'd motion.
TEST_F(Sgp4Keys, TypeTwoWithTheBrouwerMeanMotionGivesTheSameOrbit) {
  std::string xs;
  std::array<double, XA_TLE_SIZE> xa = Arrays00005(xs);
  xa[XA_TLE_EPHTYPE] = TLETYPE_SGP4;
  xa[XA_TLE_MNMOTN] = 10.818887383050328;
  ExpectState4320(Init(xa, xs));
}

// Type 4: the B-term B = B* x 12.741621 in its own slot, and no radiation pressure.
TEST_F(Sgp4Keys, TypeFourWithTheEquivalentBTermGivesTheSameOrbit) {
  std::string xs;
  std::array<double, XA_TLE_SIZE> xa = Arrays00005(xs);
  xa[XA_TLE_EPHTYPE] = TLETYPE_XP;
  xa[XA_TLE_MNMOTN] = 10.818887383050328;
  xa[XA_TLE_BTERM] = xa[XA_TLE_BSTAR] * 12.741621;
  xa[XA_TLE_BSTAR] = 0.0;
  ExpectState4320(Init(xa, xs));
}

// SGP4 keeps WGS-72 whatever Earth model is in force.
TEST_F(Sgp4Keys, OtherEarthModelsDoNotChangeSgp4) {
  std::string xs;
  const auto xa = Arrays00005(xs);
  ASSERT_EQ(EnvSetGeoIdx(XF_GEOMOD_WGS84), 0);
  const int64_t key = Init(xa, xs);
  ExpectState4320(key);
  ASSERT_EQ(EnvSetGeoIdx(XF_GEOMOD_WGS72), 0);
}

TEST_F(Sgp4Keys, RefusalsCarryMessages) {
  std::string xs;
  std::array<double, XA_TLE_SIZE> xa = Arrays00005(xs);
  EXPECT_NE(Sgp4InitSat(987654321), 0);
  EXPECT_EQ(LastError(), "Sgp4InitSat: TLE key 987654321 is not loaded");

  xa[XA_TLE_EPHTYPE] = TLETYPE_SP;
  const int64_t sp = TleAddSatFrArray(xa.data(), xs.c_str());
  ASSERT_GT(sp, 0);
  EXPECT_NE(Sgp4InitSat(sp), 0);
  EXPECT_NE(LastError().find("Satellite 5: TLE type 6 (SP)"), std::string::npos) << LastError();

  xa[XA_TLE_EPHTYPE] = TLETYPE_SGP;
  xa[XA_TLE_ECCEN] = 1.2;
  const int64_t hyperbolic = TleAddSatFrArray(xa.data(), xs.c_str());
  EXPECT_NE(Sgp4InitSat(hyperbolic), 0);
  EXPECT_NE(LastError().find("Satellite 5: SGP4 error 1 (mean eccentricity out of range)"),
            std::string::npos)
      << LastError();

  double r[3] = {1, 1, 1}, v[3] = {1, 1, 1};
  EXPECT_NE(Sgp4PropDs50UtcPosVel(sp, 20000.0, r, v), 0);
  EXPECT_EQ(LastError(), "SGP4 key " + std::to_string(sp) +
                             " is not initialised (call Sgp4InitSat after loading the TLE)");
  for (int k = 0; k < 3; ++k) EXPECT_EQ(r[k], 0.0);
  EXPECT_NE(Sgp4RemoveSat(sp), 0);
  double out[XA_SGP4OUT_SIZE];
  EXPECT_NE(Sgp4PropAll(sp, 7, 0.0, out), 0);
  EXPECT_NE(LastError().find("time type 7"), std::string::npos);
}

TEST_F(Sgp4Keys, InitRemoveAndCount) {
  std::string xs;
  const auto xa = Arrays00005(xs);
  const int64_t k1 = Init(xa, xs);
  const int64_t k2 = Init(xa, xs);
  EXPECT_EQ(Sgp4GetCount(), 2);
  EXPECT_EQ(Sgp4InitSat(k1), 0);  // again: replaces the record
  EXPECT_EQ(Sgp4GetCount(), 2);
  EXPECT_EQ(Sgp4RemoveSat(k1), 0);
  EXPECT_EQ(Sgp4GetCount(), 1);
  ExpectState4320(k2);
  EXPECT_EQ(Sgp4RemoveAllSats(), 0);
  EXPECT_EQ(Sgp4GetCount(), 0);
}

// A decayed orbit (error 6) still reports the state computed; other errors clear it.
TEST_F(Sgp4Keys, DecayKeepsTheStateOtherErrorsClearIt) {
  const Case* decay = nullptr;
  const Case* latus = nullptr;
  for (const Case& c : Cases()) {
    if (c.satnum == 28872) decay = &c;
    if (c.satnum == 33333) latus = &c;
  }
  ASSERT_NE(decay, nullptr);
  ASSERT_NE(latus, nullptr);
  const int64_t k6 = TleAddSatFrLines(decay->line1.c_str(), decay->line2.c_str());
  const int64_t k4 = TleAddSatFrLines(latus->line1.c_str(), latus->line2.c_str());
  ASSERT_EQ(Sgp4InitSat(k6), 0);
  ASSERT_EQ(Sgp4InitSat(k4), 0);
  double r[3], v[3];
  EXPECT_NE(Sgp4PropMse(k6, 60.0, r, v), 0);
  EXPECT_EQ(LastError(),
            "Satellite 28872: SGP4 error 6 (satellite has decayed) at 60 min from epoch");
  EXPECT_LT(std::hypot(r[0], r[1], r[2]), 6378.135);  // below the surface
  EXPECT_GT(std::hypot(r[0], r[1], r[2]), 6000.0);
  EXPECT_NE(Sgp4PropMse(k4, 30.0, r, v), 0);
  EXPECT_EQ(LastError(),
            "Satellite 33333: SGP4 error 4 (semi-latus rectum negative) at 30 min from epoch");
  EXPECT_EQ(r[0], 0.0);
}

// ---- Sgp4PropAll, batches, native elements -------------------------------------------------

// python-sgp4 2.27: Satrec().sgp4init(WGS72, 'a', 9880, epoch of the TLE below, ...) (the
// operational mode, whose Greenwich angle this library uses), sgp4_tsince(1440.0), then
// am * 6378.135, em, im, mm, Om, om (deg) and nm (rev/day).
TEST_F(Sgp4Keys, MeanElementsOfADeepSpaceResonantOrbitAgreeWithPythonSgp4) {
  const std::string l1 = "1 09880U 77021A   06176.56157475  .00000421  00000-0  10000-3 0  9814";
  const std::string l2 = "2 09880  64.5968 349.3786 7069051 270.0229  16.3320  2.00813614112380";
  const int64_t key = TleAddSatFrLines(l1.c_str(), l2.c_str());
  ASSERT_EQ(Sgp4InitSat(key), 0);
  double out[XA_SGP4OUT_SIZE];
  ASSERT_EQ(Sgp4PropAll(key, SGP4_TIMETYPE_MSE, 1440.0, out), 0) << LastError();
  // Tolerances: the two codes round differently along 2 days of 720-min resonance steps;
  // 1e-6 km and 1e-8 deg are still a thousand times below anything visible in a state.
  EXPECT_NEAR(out[XA_SGP4OUT_MN_A], 26537.140705771948, 1e-6);
  EXPECT_NEAR(out[XA_SGP4OUT_MN_E], 0.7068980904777415, 1e-12);
  EXPECT_NEAR(out[XA_SGP4OUT_MN_INCLI], 64.59665637225568, 1e-8);
  EXPECT_NEAR(out[XA_SGP4OUT_MN_MA], 19.263981897490225, 1e-8);
  EXPECT_NEAR(out[XA_SGP4OUT_MN_NODE], 349.2552952184507, 1e-8);
  EXPECT_NEAR(out[XA_SGP4OUT_MN_OMEGA], 270.0139475980094, 1e-8);
  EXPECT_NEAR(out[XA_SGP4OUT_MNMOTN], 2.008268453880749, 1e-12);
  // The state slots are the state of Sgp4PropMse; the time slots the time asked for.
  double r[3], v[3];
  ASSERT_EQ(Sgp4PropMse(key, 1440.0, r, v), 0);
  for (int k = 0; k < 3; ++k) {
    EXPECT_EQ(out[XA_SGP4OUT_POSX + k], r[k]);
    EXPECT_EQ(out[XA_SGP4OUT_VELX + k], v[k]);
  }
  EXPECT_EQ(out[XA_SGP4OUT_MSE], 1440.0);
  double epoch_xa[XA_TLE_SIZE];
  char xs[ENGINE_TEXT_BUF];
  ASSERT_EQ(TleDataToArray(key, epoch_xa, xs), 0);
  EXPECT_EQ(out[XA_SGP4OUT_DS50UTC], epoch_xa[XA_TLE_EPOCH] + 1.0);
  // Time type 1 reaches the same instant through the day count.
  double by_day[XA_SGP4OUT_SIZE];
  ASSERT_EQ(Sgp4PropAll(key, SGP4_TIMETYPE_DS50UTC, epoch_xa[XA_TLE_EPOCH] + 1.0, by_day), 0);
  for (int k = 1; k <= 6; ++k) EXPECT_NEAR(by_day[k], out[k], 1e-5);  // ds50 resolution
}

TEST_F(Sgp4Keys, NativeEquinoctialElementsMatchTheMeanElements) {
  std::string xs;
  const int64_t key = Init(Arrays00005(xs), xs);
  double all[XA_SGP4OUT_SIZE], eq[6], rate[6];
  ASSERT_EQ(Sgp4PropAll(key, SGP4_TIMETYPE_MSE, 360.0, all), 0);
  double xa[XA_TLE_SIZE];
  char xsb[ENGINE_TEXT_BUF];
  ASSERT_EQ(TleDataToArray(key, xa, xsb), 0);
  ASSERT_EQ(XpGetNativeElts(key, xa[XA_TLE_EPOCH] + 0.25, eq, rate), 0) << LastError();
  const double d = 0.017453292519943295;
  const double e = all[XA_SGP4OUT_MN_E], i = all[XA_SGP4OUT_MN_INCLI] * d;
  const double node = all[XA_SGP4OUT_MN_NODE] * d, argp = all[XA_SGP4OUT_MN_OMEGA] * d;
  // Same instant through a ds50 day count: agreement to 1e-9 (about 3 mm of motion).
  EXPECT_NEAR(eq[0], e * std::cos(argp + node), 1e-9);
  EXPECT_NEAR(eq[1], e * std::sin(argp + node), 1e-9);
  EXPECT_NEAR(eq[2], std::tan(i / 2) * std::sin(node), 1e-9);
  EXPECT_NEAR(eq[3], std::tan(i / 2) * std::cos(node), 1e-9);
  EXPECT_NEAR(AngleDiffDeg(eq[4], all[XA_SGP4OUT_MN_MA] + all[XA_SGP4OUT_MN_NODE] +
                                      all[XA_SGP4OUT_MN_OMEGA]),
              0.0, 1e-6);
  EXPECT_NEAR(eq[5], all[XA_SGP4OUT_MNMOTN], 1e-9);
  // The mean longitude advances by the mean motion plus the J2 drift of node and perigee:
  // within 1 % of 360 deg per revolution.
  EXPECT_NEAR(rate[4], 360.0 * eq[5], 0.01 * 360.0 * eq[5]);
}

TEST_F(Sgp4Keys, BatchEqualsSingleCalls) {
  std::string xs;
  const int64_t key = Init(Arrays00005(xs), xs);
  double xa[XA_TLE_SIZE];
  char xsb[ENGINE_TEXT_BUF];
  ASSERT_EQ(TleDataToArray(key, xa, xsb), 0);
  std::vector<double> times, out(6 * 50);
  for (int i = 0; i < 50; ++i) times.push_back(xa[XA_TLE_EPOCH] + 0.1 * i - 1.0);
  ASSERT_EQ(Sgp4PropDs50UtcPosVelBatch(key, 50, times.data(), out.data()), 0);
  for (int i = 0; i < 50; ++i) {
    double r[3], v[3];
    ASSERT_EQ(Sgp4PropDs50UtcPosVel(key, times[static_cast<std::size_t>(i)], r, v), 0);
    // Structure of arrays: component k of state i at k * n + i.
    for (int k = 0; k < 3; ++k) {
      EXPECT_EQ(out[static_cast<std::size_t>(k * 50 + i)], r[k]);
      EXPECT_EQ(out[static_cast<std::size_t>((k + 3) * 50 + i)], v[k]);
    }
  }
}

// Worker threads propagate shared keys while keys are initialised and removed: every state is
// the one a single thread computes. (Run under TSan in the sanitizer job.)
TEST_F(Sgp4Keys, ConcurrentPropagationSeesImmutableRecords) {
  std::vector<int64_t> keys;
  for (std::size_t i = 0; i < 6; ++i) {
    const Case& c = Cases()[i * 5];
    keys.push_back(TleAddSatFrLines(c.line1.c_str(), c.line2.c_str()));
    ASSERT_EQ(Sgp4InitSat(keys.back()), 0);
  }
  std::vector<std::array<double, 6>> reference;
  for (int64_t key : keys) {
    std::array<double, 6> s{};
    ASSERT_EQ(Sgp4PropMse(key, 1000.0, s.data(), s.data() + 3), 0);
    reference.push_back(s);
  }
  std::atomic<int> mismatches{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&] {
      for (int n = 0; n < 2000; ++n) {
        const std::size_t i = static_cast<std::size_t>(n) % keys.size();
        std::array<double, 6> s{};
        if (Sgp4PropMse(keys[i], 1000.0, s.data(), s.data() + 3) != 0 || s != reference[i]) {
          ++mismatches;
        }
      }
    });
  }
  threads.emplace_back([&] {
    for (int n = 0; n < 300; ++n) {
      const int64_t k = TleAddSatFrLines(kL1.c_str(), kL2.c_str());
      if (Sgp4InitSat(k) != 0 || Sgp4RemoveSat(k) != 0 || TleRemoveSat(k) != 0) ++mismatches;
      if (Sgp4InitSat(keys[0]) != 0) ++mismatches;  // re-initialising a key being read
    }
  });
  for (auto& th : threads) th.join();
  EXPECT_EQ(mismatches.load(), 0);
}

// ---- Re-epoch ------------------------------------------------------------------------------

struct ReepochCase {
  const char* name;
  const char* line1;
  const char* line2;
  double days;
  double tol_km;  // what the 4-decimal angles and 7-digit eccentricity of the lines allow
};

class Reepoch : public Sgp4Keys, public ::testing::WithParamInterface<ReepochCase> {};

TEST_P(Reepoch, NewTleReproducesTheStateAtTheNewEpoch) {
  const ReepochCase& c = GetParam();
  const int64_t key = TleAddSatFrLines(c.line1, c.line2);
  ASSERT_EQ(Sgp4InitSat(key), 0) << LastError();
  double xa[XA_TLE_SIZE];
  char xs[ENGINE_TEXT_BUF];
  ASSERT_EQ(TleDataToArray(key, xa, xs), 0);
  const double new_epoch = xa[XA_TLE_EPOCH] + c.days;
  char l1[ENGINE_TEXT_BUF], l2[ENGINE_TEXT_BUF];
  ASSERT_EQ(Sgp4ReepochTLE(key, new_epoch, l1, l2), 0) << LastError();
  // Identity, class, designator, type and drag terms are kept.
  EXPECT_EQ(std::string(l1).substr(0, 18), std::string(c.line1).substr(0, 18));
  EXPECT_EQ(std::string(l1).substr(33, 30), std::string(c.line1).substr(33, 30));
  double nxa[XA_TLE_SIZE];
  char nxs[ENGINE_TEXT_BUF];
  ASSERT_EQ(TleLinesToArray(l1, l2, nxa, nxs), 0) << l1 << "\n" << l2 << "\n" << LastError();
  EXPECT_NEAR(nxa[XA_TLE_EPOCH], new_epoch, 0.6e-8);  // the epoch field's 1e-8 day, rounded
  int cs1, cs2, err;
  ASSERT_EQ(GetCheckSums(l1, l2, &cs1, &cs2, &err), 0);
  EXPECT_EQ(cs1, l1[68] - '0');
  EXPECT_EQ(cs2, l2[68] - '0');
  const int64_t fresh = TleAddSatFrLines(l1, l2);
  ASSERT_EQ(Sgp4InitSat(fresh), 0) << LastError();
  double r_old[3], v_old[3], r_new[3], v_new[3];
  ASSERT_EQ(Sgp4PropDs50UtcPosVel(key, nxa[XA_TLE_EPOCH], r_old, v_old), 0);
  ASSERT_EQ(Sgp4PropDs50UtcPosVel(fresh, nxa[XA_TLE_EPOCH], r_new, v_new), 0);
  EXPECT_LT(std::hypot(r_new[0] - r_old[0], r_new[1] - r_old[1], r_new[2] - r_old[2]), c.tol_km);
}

// Tolerances: the lines round angles to 1e-4 deg, 1.7e-6 rad, i.e. 15 m at 8,600 km and 12 m at
// 6,800 km per angle; a few angles add up.
INSTANTIATE_TEST_SUITE_P(
    Cases, Reepoch,
    ::testing::Values(
        ReepochCase{
            "leo_drag", "1 06251U 62025E   06176.82412014  .00008885  00000-0  12808-3 0  3985",
            "2 06251  58.0579  54.0425 0030035 139.1568 221.1854 15.56387291  6774", 1.0, 0.05},
        ReepochCase{
            "eccentric", "1 00005U 58002B   00179.78495062  .00000023  00000-0  28098-4 0  4753",
            "2 00005  34.2682 348.7242 1859667 331.7664  19.3264 10.82419157413667", 3.0, 0.05},
        ReepochCase{"molniya_resonant",
                    "1 09880U 77021A   06176.56157475  .00000421  00000-0  10000-3 0  9814",
                    "2 09880  64.5968 349.3786 7069051 270.0229  16.3320  2.00813614112380", -2.0,
                    0.2},
        ReepochCase{"type2_backwards",
                    "1 28057U 03049A   06177.78615833  .00000060  00000-0  35940-4 2  1836",
                    "2 28057  98.4283 247.6961 0000884  88.1964 271.9322 14.35478080140550", -1.5,
                    0.05}),
    [](const auto& param_info) { return std::string(param_info.param.name); });

TEST_F(Sgp4Keys, ReepochOfADecayedOrbitFailsWithTheSgp4Error) {
  const Case* decay = nullptr;
  for (const Case& c : Cases()) {
    if (c.satnum == 28872) decay = &c;
  }
  ASSERT_NE(decay, nullptr);
  const int64_t key = TleAddSatFrLines(decay->line1.c_str(), decay->line2.c_str());
  ASSERT_EQ(Sgp4InitSat(key), 0);
  double xa[XA_TLE_SIZE];
  char xs[ENGINE_TEXT_BUF];
  ASSERT_EQ(TleDataToArray(key, xa, xs), 0);
  char l1[ENGINE_TEXT_BUF] = "x", l2[ENGINE_TEXT_BUF] = "y";
  EXPECT_NE(Sgp4ReepochTLE(key, xa[XA_TLE_EPOCH] + 1.0, l1, l2), 0);
  EXPECT_EQ(LastError().rfind("Satellite 28872: SGP4 error 6", 0), 0u) << LastError();
  EXPECT_STREQ(l1, "");
}

}  // namespace
