// Topocentric calls of astrofunc against skyfield's view of the ISS from a WGS-84 site and
// against Vallado's Ex 4-2 (Neptune from USAFA); RAEToECI as the inverse of ECIToTopoComps.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "engine/astrofunc.h"
#include "engine/dllmain.h"
#include "engine/envconst.h"
#include "engine/timefunc.h"

namespace {

constexpr double kRadPerDeg = M_PI / 180.0;

std::string LastError() {
  char buf[ENGINE_TEXT_BUF] = {};
  GetLastErrMsg(buf);
  return buf;
}

double AngleDiffDeg(double a, double b) { return std::remainder(a - b, 360.0); }

// Site: geodetic 40 N, 75 W, 100 m on WGS-84 (skyfield's wgs84.latlon).
constexpr double kSiteLatDeg = 40.0, kSiteLonDeg = -75.0;

struct SkyfieldView {
  const char* utc;
  double gmst_rad;
  double site_teme_km[3], sat_teme_km[3], sat_teme_kms[3];
  double topo[10];  // XA_TOPO order
};

// skyfield 1.55, ISS TLE 25544 of 2020-062 (EarthSatellite), printed by
// engine/tests/oracles/astrofunc_oracles.py: theta_GMST1982 of t (skyfield.sgp4lib); site.at(t) and
// sat.at(t) .frame_xyz_and_velocity(TEME); (sat - site).at(t).frame_latlon_and_rates(site) for
// az/el and
// (...).frame_latlon_and_rates(TEME) for RA/Dec, each with its rates.
const SkyfieldView kIssPass[] = {
    {"2020-03-02 14:39:00",
     0.3594873092773218,
     {2848.001098173154, -3978.4704368357075, 4078.0498509613735},
     {1928.9034071657873, -4120.186177660868, 5044.62678840783},
     {7.33762381141264, 1.0735793523374062, -1.9198239208090504},
     {188.76541081926734, 46.10611514287129, 320.5998941383584, 12.913374252659326,
      1341.3034305540514, 0.013442169672941436, 0.16161034431124988, 0.1115815730177768,
      0.11971012776813122, -6.30410567612648}},
    {"2020-03-02 14:41:49",
     0.37181098499544574,
     {2896.8129721862015, -3943.0713759891473, 4078.0498509613735},
     {3126.6527242326765, -3865.438074530173, 4630.77659394181},
     {6.794107348705281, 1.9321005889910778, -2.9630000102111893},
     {18.663499039574635, 66.30288620346032, 31.57518508645384, 42.991111450711145,
      603.6224759913814, -0.10670389425462853, -0.6966881628098435, 0.9544088488466965,
      0.0008766683940488943, -0.01435302288628016}},
};

class IssPass : public ::testing::TestWithParam<SkyfieldView> {};

TEST_P(IssPass, ECIToTopoCompsMatchesSkyfield) {
  const SkyfieldView& c = GetParam();
  const double theta_lst = c.gmst_rad + kSiteLonDeg * kRadPerDeg;
  double topo[10];
  ASSERT_EQ(
      ECIToTopoComps(theta_lst, kSiteLatDeg, c.site_teme_km, c.sat_teme_km, c.sat_teme_kms, topo),
      0);
  // Angles: skyfield reaches its horizon frame through GCRS and back, rounding at 1e-9 deg
  // (0.02 mm at 1300 km); 1e-8 deg and 1e-8 km allow for it.
  for (int k : {XA_TOPO_RA, XA_TOPO_DEC, XA_TOPO_AZ, XA_TOPO_EL})
    EXPECT_NEAR(AngleDiffDeg(topo[k], c.topo[k]), 0.0, 1e-8) << c.utc << " slot " << k;
  EXPECT_NEAR(topo[XA_TOPO_RANGE], c.topo[XA_TOPO_RANGE], 1e-8);
  // Rates: skyfield turns the frame at 7.2921158553e-5 rad/s, WGS-72 at 7.292115147e-5; the
  // 7e-12 rad/s apart is 5e-8 km/s at the satellite and ~4e-10 deg/s in the angle rates.
  EXPECT_NEAR(topo[XA_TOPO_RANGEDOT], c.topo[XA_TOPO_RANGEDOT], 1e-7) << c.utc;
  for (int k : {XA_TOPO_RADOT, XA_TOPO_DECDOT, XA_TOPO_AZDOT, XA_TOPO_ELDOT})
    EXPECT_NEAR(topo[k], c.topo[k], 1e-8) << c.utc << " slot " << k;
}

TEST_P(IssPass, RAEToECIInvertsECIToTopoComps) {
  const SkyfieldView& c = GetParam();
  const double theta_lst = c.gmst_rad + kSiteLonDeg * kRadPerDeg;
  double topo[10], pos[3], vel[3];
  ASSERT_EQ(
      ECIToTopoComps(theta_lst, kSiteLatDeg, c.site_teme_km, c.sat_teme_km, c.sat_teme_kms, topo),
      0);
  const double rae[6] = {topo[XA_TOPO_RANGE],    topo[XA_TOPO_AZ],    topo[XA_TOPO_EL],
                         topo[XA_TOPO_RANGEDOT], topo[XA_TOPO_AZDOT], topo[XA_TOPO_ELDOT]};
  ASSERT_EQ(RAEToECI(theta_lst, kSiteLatDeg, rae, c.site_teme_km, pos, vel), 0);
  // Exact inverses: rounding only (1e-9 km, 1e-12 km/s).
  for (int k = 0; k < 3; ++k) {
    EXPECT_NEAR(pos[k], c.sat_teme_km[k], 1e-9);
    EXPECT_NEAR(vel[k], c.sat_teme_kms[k], 1e-12);
  }
}

TEST_P(IssPass, RaDecToAzElAgreesWithTheTopocentricAngles) {
  const SkyfieldView& c = GetParam();
  double az = 0, el = 0;
  ASSERT_EQ(RaDecToAzEl(c.gmst_rad, kSiteLatDeg, kSiteLonDeg, c.topo[XA_TOPO_RA],
                        c.topo[XA_TOPO_DEC], &az, &el),
            0);
  EXPECT_NEAR(AngleDiffDeg(az, c.topo[XA_TOPO_AZ]), 0.0, 1e-8);
  EXPECT_NEAR(el, c.topo[XA_TOPO_EL], 1e-8);
}

INSTANTIATE_TEST_SUITE_P(Skyfield, IssPass, ::testing::ValuesIn(kIssPass));

TEST(SitePosition, LLHToXYZTimeMatchesSkyfieldsSite) {
  ASSERT_EQ(EnvSetGeoIdx(XF_GEOMOD_WGS84), 0);  // skyfield's wgs84 site
  const double llh[3] = {kSiteLatDeg, kSiteLonDeg, 0.1};
  double pos[3];
  const double ds50_utc = TimeComps2ToUTC(2020, 3, 2, 14, 39, 0.0);
  const int status = LLHToXYZTime(ds50_utc, llh, pos);
  ASSERT_EQ(EnvSetGeoIdx(XF_GEOMOD_WGS72), 0);
  ASSERT_EQ(status, 0);
  // Our UT1 - UTC and skyfield's (from its own IERS table) differ by well under 1 ms: 0.35 m
  // at this site's 3600 km from the axis. 1 m.
  for (int k = 0; k < 3; ++k) EXPECT_NEAR(pos[k], kIssPass[0].site_teme_km[k], 1e-3);
}

TEST(Vallado4_2, NeptuneFromUsafaTopocentricRaDecToAzEl) {
  // 1994-05-14 13:11:20.59856 UTC, site 39.007 N, 104.883 W; topocentric RA/Dec in the FK5
  // J2000 frame; the book takes dUT1 = 0 and no polar motion.
  const double ds50_utc = TimeComps2ToUTC(1994, 5, 14, 13, 11, 20.59856);
  double ra_date = 0, dec_date = 0, az = 0, el = 0;
  ASSERT_EQ(RotRADec_EqnxToDate(106, YROFEQNX_2000, ds50_utc, 294.98911145, -20.82356234, &ra_date,
                                &dec_date),
            0);
  ASSERT_EQ(RaDecToAzEl(ThetaGrnwchFK5(ds50_utc), 39.007, -104.883, ra_date, dec_date, &az, &el),
            0);
  // Published az = 210.82506677, el = 23.85950527. The book's TT uses dAT = 32 s where UTC
  // had 28 s (4 s of precession: 1e-10 rad), and its sidereal time includes the kinematic
  // equation-of-equinoxes terms that TEME leaves out (below 0.003"): 1e-6 deg covers both.
  EXPECT_NEAR(az, 210.82506677, 1e-6);
  EXPECT_NEAR(el, 23.85950527, 1e-6);
}

TEST(RaDecToAzElTime, UsesTheGreenwichAngleOfUt1) {
  const double ds50_utc = TimeComps2ToUTC(2020, 3, 2, 14, 39, 0.0);
  double az_time = 0, el_time = 0, az = 0, el = 0;
  ASSERT_EQ(RaDecToAzElTime(ds50_utc, 40.0, -75.0, 100.0, 30.0, &az_time, &el_time), 0);
  ASSERT_EQ(RaDecToAzEl(ThetaGrnwchFK5(UTCToUT1(ds50_utc)), 40.0, -75.0, 100.0, 30.0, &az, &el), 0);
  EXPECT_DOUBLE_EQ(az_time, az);
  EXPECT_DOUBLE_EQ(el_time, el);
}

TEST(TopocentricSingular, ZenithAndPoleGiveZeroAzimuthAndRaByConvention) {
  // A satellite straight above a site on the equator at theta = 0: zenith, azimuth undefined.
  const double site[3] = {6378.135, 0.0, 0.0}, sat[3] = {7000.0, 0.0, 0.0};
  const double vel[3] = {0.0, 7.5, 0.0};
  double topo[10];
  ASSERT_EQ(ECIToTopoComps(0.0, 0.0, site, sat, vel, topo), 0);
  EXPECT_EQ(topo[XA_TOPO_AZ], 0.0);
  EXPECT_EQ(topo[XA_TOPO_AZDOT], 0.0);
  EXPECT_NEAR(topo[XA_TOPO_EL], 90.0, 1e-12);
  // Straight above the north pole: declination 90, RA undefined.
  const double pole_site[3] = {0.0, 0.0, 6356.75}, pole_sat[3] = {0.0, 0.0, 7000.0};
  ASSERT_EQ(ECIToTopoComps(0.0, 90.0, pole_site, pole_sat, vel, topo), 0);
  EXPECT_EQ(topo[XA_TOPO_RA], 0.0);
  EXPECT_EQ(topo[XA_TOPO_RADOT], 0.0);
  EXPECT_EQ(topo[XA_TOPO_DEC], 90.0);
  for (double x : topo) EXPECT_TRUE(std::isfinite(x));
}

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(TopocentricBadInput, FailuresGiveAllZerosAndAMessage) {
  const SkyfieldView& c = kIssPass[0];
  double topo[10];
  ASSERT_NE(ECIToTopoComps(0.1, 40.0, c.sat_teme_km, c.sat_teme_km, c.sat_teme_kms, topo), 0);
  EXPECT_EQ(LastError(), "ECIToTopoComps: zero range (satellite at the sensor's position)");
  for (double x : topo) EXPECT_EQ(x, 0.0);
  ASSERT_NE(ECIToTopoComps(0.1, 95.0, c.site_teme_km, c.sat_teme_km, c.sat_teme_kms, topo), 0);
  EXPECT_EQ(LastError(), "ECIToTopoComps: latitude 95 deg out of range [-90, 90]");
  ASSERT_NE(ECIToTopoComps(kNaN, 40.0, c.site_teme_km, c.sat_teme_km, c.sat_teme_kms, topo), 0);
  EXPECT_EQ(LastError(), "ECIToTopoComps: theta nan rad is not finite");

  const double rae[6] = {0.0, 10.0, 20.0, 0.0, 0.0, 0.0};
  double pos[3] = {9, 9, 9}, vel[3] = {9, 9, 9};
  ASSERT_NE(RAEToECI(0.1, 40.0, rae, c.site_teme_km, pos, vel), 0);
  EXPECT_EQ(LastError(), "RAEToECI: range 0 km is not positive");
  for (int k = 0; k < 3; ++k) EXPECT_TRUE(pos[k] == 0.0 && vel[k] == 0.0);
  const double rae_nan[6] = {1.0, kNaN, 20.0, 0.0, 0.0, 0.0};
  ASSERT_NE(RAEToECI(0.1, 40.0, rae_nan, c.site_teme_km, pos, vel), 0);

  double az = 9, el = 9;
  ASSERT_NE(RaDecToAzElTime(kNaN, 40.0, -75.0, 10.0, 20.0, &az, &el), 0);
  EXPECT_EQ(LastError(), "RaDecToAzElTime: UTC day count nan is not a finite number");
  EXPECT_EQ(az, 0.0);
  EXPECT_EQ(el, 0.0);
}

}  // namespace
