// Sun and Moon of astrofunc: the analytic series against DE421, the SPK reader against DE421
// when a DE421 file is given (TALVORAN_DE421), and the reader's handling of small SPK files
// written here: Chebyshev evaluation, spans, and every kind of bad file.
#include <erfa.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "engine/astrofunc.h"
#include "engine/dllmain.h"
#include "engine/timefunc.h"

namespace {

std::string LastError() {
  char buf[ENGINE_TEXT_BUF] = {};
  GetLastErrMsg(buf);
  return buf;
}

double Norm(const double a[3]) { return std::sqrt(a[0] * a[0] + a[1] * a[1] + a[2] * a[2]); }
double Dist(const double a[3], const double b[3]) {
  const double d[3] = {a[0] - b[0], a[1] - b[1], a[2] - b[2]};
  return Norm(d);
}
double AngleDeg(const double a[3], const double b[3]) {
  const double c[3] = {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2],
                       a[0] * b[1] - a[1] * b[0]};
  return std::atan2(Norm(c), a[0] * b[0] + a[1] * b[1] + a[2] * b[2]) * 180.0 / M_PI;
}

// Leaves the engine on the analytic series, whatever an earlier test set.
void UseAnalyticSeries() { JplSetParameters("", 0.0, 1.0); }

struct Epoch {
  int y, mo, d, h, mi;
  double s;
};
struct SunMoonCase {
  Epoch utc;
  double sun_km[3], moon_km[3];  // geocentric, TEME of date
};

// jplephem 2.24 (SPK reader) on DE421 repacked by engine/tests/oracles/make_de421_spk.py from the
// PyPI de421 package's coefficients; geometric geocentric ICRS vectors turned to TEME of date
// with pyerfa 2.0.1.5 (bp00 frame bias, pmat76, nut80/obl80, geometric equation of the
// equinoxes); printed by engine/tests/oracles/astrofunc_oracles.py with that file.
const SunMoonCase kDe421[] = {
    {{1960, 3, 1, 0, 0, 0.0},
     {139685857.60816702, -45564897.404676214, -19757748.816714793},
     {364914.2260557748, 130283.39307520191, 39523.01331583862}},
    {{1972, 7, 15, 6, 30, 0.0},
     {-59081084.54345608, 128551002.1536641, 55743682.55000927},
     {-382896.45818726864, 83668.65993703651, 5079.910803631418}},
    {{1986, 1, 28, 16, 39, 0.0},
     {91665980.53430197, -105823373.11063544, -45889685.67779376},
     {-359241.63224884693, 102597.31874538261, 73414.5775053291}},
    {{2000, 1, 1, 12, 0, 0.0},
     {26499405.413866982, -132758706.4524591, -57553571.731452934},
     {-291569.10801992234, -266761.7355292437, -76106.49836779555}},
    {{2004, 4, 6, 7, 51, 28.386009},
     {143285228.8699496, 39839238.784392364, 17270377.8385097},
     {-322233.49095522077, -163282.65157467712, -62641.63178135957}},
    {{2012, 6, 6, 1, 29, 0.0},
     {37337183.05875741, 135000748.7476119, 58523087.12228254},
     {50386.83002061962, -337712.52007217513, -126477.84071624216}},
    {{2020, 3, 2, 14, 39, 0.0},
     {141415539.49213785, -40929452.46204682, -17747273.925777793},
     {134763.5202379152, 344702.9187754389, 132856.40686885914}},
    {{2031, 11, 14, 21, 7, 30.0},
     {-90524136.99453042, -107438510.5905747, -46569127.43740217},
     {-227340.36812561576, -270353.0375797816, -115053.26957615347}},
    {{2042, 9, 9, 3, 0, 0.0},
     {-146596864.63275054, 32056679.991651565, 13898148.161980152},
     {-108999.69615792554, 325160.7734401897, 179223.1116794176}},
    {{2049, 12, 30, 23, 59, 0.0},
     {24864530.91304573, -133037962.88321695, -57655901.67169461},
     {371720.49973166967, 18849.19992064603, 38191.43905634442}},
};

class AnalyticSeries : public ::testing::TestWithParam<SunMoonCase> {};

TEST_P(AnalyticSeries, AgreesWithDe421WithinTheSeriesAccuracy) {
  UseAnalyticSeries();
  const SunMoonCase& c = GetParam();
  const double t = TimeComps2ToUTC(c.utc.y, c.utc.mo, c.utc.d, c.utc.h, c.utc.mi, c.utc.s);
  double sun[3], moon[3];
  ASSERT_EQ(JplCompSunMoonPos(t, sun, moon), 0);
  // The almanac's Sun is good to 0.01 deg over 1950-2050 (measured at most 0.0079 deg and
  // 8200 km in distance over these epochs).
  EXPECT_LT(AngleDeg(sun, c.sun_km), 0.01) << c.utc.y;
  EXPECT_NEAR(Norm(sun), Norm(c.sun_km), 10000.0) << c.utc.y;
  // The truncated ELP series: measured at most 0.0022 deg and 6.6 km in distance (16 km in
  // all); 0.004 deg and 10 km leave room for the epochs between these.
  EXPECT_LT(AngleDeg(moon, c.moon_km), 0.004) << c.utc.y;
  EXPECT_NEAR(Norm(moon), Norm(c.moon_km), 10.0) << c.utc.y;
}

INSTANTIATE_TEST_SUITE_P(Epochs1960To2049, AnalyticSeries, ::testing::ValuesIn(kDe421));

class De421Set : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* path = std::getenv("TALVORAN_DE421");
    if (path == nullptr || *path == '\0') GTEST_SKIP() << "TALVORAN_DE421 names no DE421 file";
    ASSERT_EQ(JplSetParameters(path, YrDaysToUTC(1960, 1.0), YrDaysToUTC(2050, 1.0)), 0)
        << LastError();
  }
  void TearDown() override { UseAnalyticSeries(); }
};

class De421File : public De421Set, public ::testing::WithParamInterface<SunMoonCase> {};

TEST_P(De421File, JplCompSunMoonPosMatchesJplephem) {
  const SunMoonCase& c = GetParam();
  const double t = TimeComps2ToUTC(c.utc.y, c.utc.mo, c.utc.d, c.utc.h, c.utc.mi, c.utc.s);
  double sun[3], moon[3];
  ASSERT_EQ(JplCompSunMoonPos(t, sun, moon), 0) << LastError();
  // Same coefficients and the same time scales; the day count carries ~2e-7 s of rounding, in
  // which the Sun moves 6 micrometres relative to the Earth (measured 1.2e-5 km and 4e-7 km).
  EXPECT_LT(Dist(sun, c.sun_km), 1e-4) << c.utc.y;
  EXPECT_LT(Dist(moon, c.moon_km), 1e-5) << c.utc.y;
}

TEST_F(De421Set, EpochOutsideTheSpanReadGivesZerosAndAMessage) {
  const double t = YrDaysToUTC(2051, 1.0);
  double sun[3] = {1, 1, 1}, moon[3] = {1, 1, 1};
  EXPECT_NE(JplCompSunMoonPos(t, sun, moon), 0);
  EXPECT_NE(LastError().find("lies outside the span read from"), std::string::npos);
  for (int k = 0; k < 3; ++k) EXPECT_TRUE(sun[k] == 0.0 && moon[k] == 0.0);
}

INSTANTIATE_TEST_SUITE_P(Epochs1960To2049, De421File, ::testing::ValuesIn(kDe421));

// ---- Small SPK files written by the test --------------------------------------------------------

struct SegmentSpec {
  std::int32_t target, center;
  double init_s, interval_s;
  int n_coef;
  std::vector<double> coefs;  // per record: x, y, z coefficients (n_coef each)
  double trailer_n = 0.0;     // when non-zero, the record count the trailer claims
};

// A little-endian DAF/SPK file: file record, one summary record, one name record, then the
// arrays (type 2: records of MID, RADIUS, coefficients; trailer INIT, INTLEN, RSIZE, N).
// extra_last_word moves the first segment's last word beyond what the file holds.
std::string WriteSpk(const std::string& name, const std::vector<SegmentSpec>& segments,
                     std::int32_t extra_last_word = 0) {
  std::vector<double> words(3 * 128, 0.0);
  std::vector<unsigned char> file_record(1024, 0);
  std::memcpy(file_record.data(), "DAF/SPK ", 8);
  const std::int32_t nd = 2, ni = 6, fward = 2, bward = 2;
  std::memcpy(file_record.data() + 8, &nd, 4);
  std::memcpy(file_record.data() + 12, &ni, 4);
  std::memcpy(file_record.data() + 76, &fward, 4);
  std::memcpy(file_record.data() + 80, &bward, 4);
  std::memcpy(file_record.data() + 88, "LTL-IEEE", 8);
  std::vector<unsigned char> summaries(1024, 0);
  const double n_summaries = static_cast<double>(segments.size());
  std::memcpy(summaries.data() + 16, &n_summaries, 8);
  for (size_t i = 0; i < segments.size(); ++i) {
    const SegmentSpec& s = segments[i];
    const int rsize = 2 + 3 * s.n_coef;
    const size_t n_rec = s.coefs.size() / static_cast<size_t>(3 * s.n_coef);
    const auto first_word = static_cast<std::int32_t>(words.size() + 1);
    for (size_t r = 0; r < n_rec; ++r) {
      words.push_back(s.init_s + (static_cast<double>(r) + 0.5) * s.interval_s);
      words.push_back(0.5 * s.interval_s);
      for (int k = 0; k < 3 * s.n_coef; ++k) words.push_back(s.coefs[r * 3 * s.n_coef + k]);
    }
    const double n_claimed = s.trailer_n != 0.0 ? s.trailer_n : static_cast<double>(n_rec);
    for (double x : {s.init_s, s.interval_s, static_cast<double>(rsize), n_claimed})
      words.push_back(x);
    const auto last_word = static_cast<std::int32_t>(words.size()) + (i == 0 ? extra_last_word : 0);
    const double span[2] = {s.init_s, s.init_s + static_cast<double>(n_rec) * s.interval_s};
    const std::int32_t ic[6] = {s.target, s.center, 1, 2, first_word, last_word};
    std::memcpy(summaries.data() + 24 + 40 * i, span, 16);
    std::memcpy(summaries.data() + 24 + 40 * i + 16, ic, 24);
  }
  const std::string path = ::testing::TempDir() + name;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(file_record.data()), 1024);
  out.write(reinterpret_cast<const char*>(summaries.data()), 1024);
  out.write(std::string(1024, ' ').data(), 1024);
  out.write(reinterpret_cast<const char*>(words.data() + 3 * 128),
            static_cast<std::streamsize>((words.size() - 3 * 128) * sizeof(double)));
  return path;
}

// TDB seconds past J2000 of a UTC day count as the engine forms it (TT from the leap seconds,
// then ERFA's TDB - TT).
double EtOfUtc(double ds50_utc) {
  const double ds50_tt = UTCToTAI(ds50_utc) + 32.184 / 86400.0;
  return (ds50_tt - 18263.5) * 86400.0 + eraDtdb(2433281.5, ds50_tt, 0.0, 0.0, 0.0, 0.0);
}

class SmallSpk : public ::testing::Test {
 protected:
  void TearDown() override { UseAnalyticSeries(); }
  // Two 10-day records from 2020-01-01 TDB for every body: the Sun fixed at (1e8, 2e7, 3e7) km
  // from the barycentre, the barycentres and the Earth at their origins, and the Moon moving
  // linearly (T1 coefficients) in the second record.
  std::vector<SegmentSpec> Bodies() const {
    const double init = EtOfUtc(TimeComps2ToUTC(2020, 1, 1, 0, 0, 0.0)), day = 86400.0;
    const std::vector<double> zero(2 * 3 * 2, 0.0);
    std::vector<double> sun = zero, moon = zero;
    for (int r = 0; r < 2; ++r) {
      sun[static_cast<size_t>(r * 6 + 0)] = 1e8;
      sun[static_cast<size_t>(r * 6 + 2)] = 2e7;
      sun[static_cast<size_t>(r * 6 + 4)] = 3e7;
    }
    // Second record: x = 380000 + 1000 T1, y = -2000 T1, z = 500.
    moon[6] = 380000.0;
    moon[7] = 1000.0;
    moon[9] = -2000.0;
    moon[10] = 500.0;
    return {{3, 0, init, 10 * day, 2, zero},
            {10, 0, init, 10 * day, 2, sun},
            {301, 3, init, 10 * day, 2, moon},
            {399, 3, init, 10 * day, 2, zero}};
  }
};

// The engine's ICRS -> TEME of date, rebuilt from its published parts: ERFA's frame bias, then
// RotJ2KToDate.
void ExpectedTeme(double ds50_utc, const double icrs[3], double teme[3]) {
  double rb[3][3], rp[3][3], rbp[3][3], j2000[3], v0[3] = {0, 0, 0}, v_out[3];
  eraBp00(2433281.5, UTCToTAI(ds50_utc) + 32.184 / 86400.0, rb, rp, rbp);
  double in[3] = {icrs[0], icrs[1], icrs[2]};
  eraRxp(rb, in, j2000);
  ASSERT_EQ(RotJ2KToDate(0, 106, UTCToTAI(ds50_utc), j2000, v0, teme, v_out), 0);
}

TEST_F(SmallSpk, ChebyshevRecordsAreEvaluatedAndRotatedToTeme) {
  const std::string path = WriteSpk("astrofunc_small.bsp", Bodies());
  const double start = TimeComps2ToUTC(2020, 1, 1, 12, 0, 0.0);
  // A span reaching past the file's end is served up to that end (2020-01-21 TDB).
  ASSERT_EQ(JplSetParameters(path.c_str(), start, start + 30.0), 0) << LastError();
  // 2020-01-18 00:00 TDB is 7 days into the second record: T1(x) = x = (7 - 5) / 5 = 0.4.
  // Its UTC is 69.184 s and the periodic TDB - TT earlier; take the engine's own ET.
  const double t = TimeComps2ToUTC(2020, 1, 18, 0, 0, 0.0);
  const double x =
      (EtOfUtc(t) - EtOfUtc(TimeComps2ToUTC(2020, 1, 1, 0, 0, 0.0)) - 15 * 86400.0) / (5 * 86400.0);
  double sun[3], moon[3], sun_ref[3], moon_ref[3];
  ASSERT_EQ(JplCompSunMoonPos(t, sun, moon), 0) << LastError();
  const double sun_icrs[3] = {1e8, 2e7, 3e7};
  const double moon_icrs[3] = {380000.0 + 1000.0 * x, -2000.0 * x, 500.0};
  ExpectedTeme(t, sun_icrs, sun_ref);
  ExpectedTeme(t, moon_icrs, moon_ref);
  // Rounding of the rotation only: 1e-15 of 1e8 km is 1e-7 km.
  EXPECT_LT(Dist(sun, sun_ref), 1e-6);
  EXPECT_LT(Dist(moon, moon_ref), 1e-8);

  // Outside the span read: refused, not extrapolated.
  double s2[3] = {1, 1, 1}, m2[3] = {1, 1, 1};
  EXPECT_NE(JplCompSunMoonPos(start + 25.0, s2, m2), 0);
  EXPECT_NE(LastError().find("lies outside the span read from \"" + path + "\""), std::string::npos)
      << LastError();
  for (int k = 0; k < 3; ++k) EXPECT_TRUE(s2[k] == 0.0 && m2[k] == 0.0);
}

TEST_F(SmallSpk, ASpanBeyondTheFileIsRefused) {
  const std::string path = WriteSpk("astrofunc_small.bsp", Bodies());
  const double start = TimeComps2ToUTC(2020, 1, 1, 12, 0, 0.0);
  EXPECT_NE(JplSetParameters(path.c_str(), start - 30.0, start - 20.0), 0);
  EXPECT_NE(LastError().find("no type-2 segment of the Earth-Moon barycentre"), std::string::npos)
      << LastError();
}

TEST_F(SmallSpk, BadFilesGiveAMessageAndLeaveTheAnalyticSeries) {
  struct BadFile {
    const char* what;
    std::string path;
    const char* message;
  };
  const std::string dir = ::testing::TempDir();
  {
    std::ofstream text(dir + "astrofunc_text.bsp");
    for (int line = 0; line < 100; ++line) text << "this is not an ephemeris\n";
    std::ofstream short_file(dir + "astrofunc_short.bsp", std::ios::binary);
    short_file.write("DAF/SPK ", 8);
  }
  auto bodies = Bodies();
  auto missing_sun = bodies;
  missing_sun.erase(missing_sun.begin() + 1);
  auto bad_trailer = bodies;
  bad_trailer[2].trailer_n = 3.0;  // the Moon's trailer claims a record more than it holds
  const BadFile files[] = {
      {"missing", dir + "no_such_dir/de421.bsp", "cannot be opened"},
      {"text", dir + "astrofunc_text.bsp", "not an SPK file"},
      {"short", dir + "astrofunc_short.bsp", "too short for a DAF file record"},
      {"beyond", WriteSpk("astrofunc_beyond.bsp", bodies, 1000000), "lies beyond the file"},
      {"no sun", WriteSpk("astrofunc_nosun.bsp", missing_sun), "no type-2 segment of the Sun"},
      {"trailer", WriteSpk("astrofunc_trailer.bsp", bad_trailer), "damaged type-2 segment"},
  };
  const double start = TimeComps2ToUTC(2020, 1, 1, 12, 0, 0.0);
  for (const BadFile& f : files) {
    EXPECT_NE(JplSetParameters(f.path.c_str(), start, start + 5.0), 0) << f.what;
    EXPECT_NE(LastError().find(f.message), std::string::npos) << f.what << ": " << LastError();
    EXPECT_EQ(LastError().rfind("JplSetParameters: JPL file \"" + f.path + "\": ", 0), 0u)
        << LastError();
    // The analytic series is in force again: no failure, the Sun about 1 AU away.
    double sun[3], moon[3];
    ASSERT_EQ(JplCompSunMoonPos(start, sun, moon), 0) << f.what;
    EXPECT_NEAR(Norm(sun), 1.47e8, 0.01e8);
  }
}

TEST(SunMoonBadInput, NaNEpochGivesZerosAndAMessage) {
  double sun[3] = {1, 1, 1}, moon[3] = {1, 1, 1};
  EXPECT_NE(JplCompSunMoonPos(std::nan(""), sun, moon), 0);
  EXPECT_EQ(LastError().rfind("JplCompSunMoonPos: no TAI for UTC day count nan", 0), 0u)
      << LastError();
  for (int k = 0; k < 3; ++k) EXPECT_TRUE(sun[k] == 0.0 && moon[k] == 0.0);
  EXPECT_NE(JplSetParameters(nullptr, 0.0, 1.0), 0);
  EXPECT_EQ(LastError(), "JplSetParameters: no file name given");
}

}  // namespace
