// Geodetic conversions of astrofunc against ERFA's eraGc2gde on the WGS-72 ellipsoid and the
// site examples of Vallado's book (Ex 3-1, 3-2, 3-3, with his constants: the EGM-96 model here).
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "engine/astrofunc.h"
#include "engine/dllmain.h"
#include "engine/envconst.h"
#include "engine/timefunc.h"

namespace {

std::string LastError() {
  char buf[ENGINE_TEXT_BUF] = {};
  GetLastErrMsg(buf);
  return buf;
}

struct GeodeticCase {
  double efg_km[3];
  double lat_deg, lon_deg, height_km;
  double round_trip_km;  // how well ERFA's closed form inverts there (see EFGPosToLLHAndBack)
};

// erfa.gc2gde(6378.135, 1 / 298.26, xyz) via pyerfa 2.0.1.5 (WGS-72); printed by
// engine/tests/oracles/astrofunc_oracles.py. Points: Vallado's Ex 3-3 position, the ITRF vector
// of the 2004 frame example, the north pole, just off the south pole, geostationary, and a
// point deep inside the Earth.
const GeodeticCase kErfaWgs72[] = {
    {{6524.834, 6862.875, 6448.296},
     34.352494192055964,
     46.44641685678996,
     5085.220665718613,
     1e-7},
    {{-1033.479383, 7901.2952754, 6380.3565958},
     38.80100340478594,
     97.4519107954148,
     3838.439026273012,
     1e-7},
    {{0.0, 0.0, 6356.7}, 90.0, 0.0, -0.05052001609419676, 1e-7},
    {{0.001, 0.0, -6400.0}, -89.9999911070628, 0.0, 43.249479983983946, 1e-7},
    {{42164.0, -100.0, 10.0}, 0.013602527321468534, -0.13588765791996998, 35785.98477145221, 1e-7},
    {{100.0, 200.0, -50.0}, -15.328446451372058, 63.43494882292201, -6147.773072136139, 2e-3},
};

class AgainstErfaWgs72 : public ::testing::TestWithParam<GeodeticCase> {};

TEST_P(AgainstErfaWgs72, EFGPosToLLHAndBack) {
  const GeodeticCase& c = GetParam();
  double llh[3], efg[3];
  ASSERT_EQ(EFGPosToLLH(c.efg_km, llh), 0);
  // The same closed-form method on the same ellipsoid: agreement to rounding, 1e-11 deg
  // (1 micrometre) and 1e-9 km. Back to Cartesian, ERFA's closed form is exact near the surface
  // but good to some 1e-12 of the radius thousands of km up (measured 30 micrometres at
  // h = 5085 km): 1e-7 km; 6000 km below the surface it is off by 1.4 m: 2e-3 km there.
  EXPECT_NEAR(llh[0], c.lat_deg, 1e-11);
  EXPECT_NEAR(llh[1], c.lon_deg, 1e-11);
  EXPECT_NEAR(llh[2], c.height_km, 1e-9);
  ASSERT_EQ(LLHToEFGPos(llh, efg), 0);
  for (int k = 0; k < 3; ++k) EXPECT_NEAR(efg[k], c.efg_km[k], c.round_trip_km);
}

INSTANTIATE_TEST_SUITE_P(Points, AgainstErfaWgs72, ::testing::ValuesIn(kErfaWgs72));

// Vallado's examples use RE = 6378.1363 km and f = 1/298.257223563, the EGM-96 model's values.
class ValladoSites : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(EnvSetGeoIdx(XF_GEOMOD_EGM96), 0); }
  void TearDown() override { ASSERT_EQ(EnvSetGeoIdx(XF_GEOMOD_WGS72), 0); }
};

TEST_F(ValladoSites, Ex3_1MtEvans) {
  const double llh[3] = {39.586667, -105.64, 4.3476672};
  double efg[3];
  ASSERT_EQ(LLHToEFGPos(llh, efg), 0);
  // r_delta = 4925.4298 km and r_K = 4045.4938 km, printed to 0.1 m.
  EXPECT_NEAR(std::hypot(efg[0], efg[1]), 4925.4298, 1e-4);
  EXPECT_NEAR(efg[2], 4045.4938, 1e-4);
}

TEST_F(ValladoSites, Ex3_2AscensionIsland) {
  const double lat = -(7.0 + 54.0 / 60 + 23.886 / 3600), lon = 345.0 + 35.0 / 60 + 51.0 / 3600;
  const double llh[3] = {lat, lon, 0.056};
  double efg[3];
  ASSERT_EQ(LLHToEFGPos(llh, efg), 0);
  // Printed to 1e-8 km.
  EXPECT_NEAR(efg[0], 6119.39959773, 2e-8);
  EXPECT_NEAR(efg[1], -1571.47938298, 2e-8);
  EXPECT_NEAR(efg[2], -871.56108524, 2e-8);
  double back[3];
  ASSERT_EQ(EFGPosToLLH(efg, back), 0);
  EXPECT_NEAR(back[0], lat, 1e-10);
  EXPECT_NEAR(back[1], lon - 360.0, 1e-10);  // east longitudes come back in (-180, 180]
  EXPECT_NEAR(back[2], 0.056, 1e-10);
}

TEST_F(ValladoSites, Ex3_3EcefToGeodetic) {
  const double efg[3] = {6524.834, 6862.875, 6448.296};
  double llh[3];
  ASSERT_EQ(EFGPosToLLH(efg, llh), 0);
  // Printed to 1e-4 deg and 0.01 km.
  EXPECT_NEAR(llh[0], 34.3525, 5e-5);
  EXPECT_NEAR(llh[1], 46.4464, 5e-5);
  EXPECT_NEAR(llh[2], 5085.22, 5e-3);
}

TEST(GeodeticTime, XYZToLLHTimeIsXYZToLLHAtTheGreenwichAngleOfUt1) {
  const double ds50_utc = 19820.0 + 28288.386009 / 86400.0;  // 2004-04-06 07:51:28.386009
  const double r_teme[3] = {5094.18010720, 6127.64470520, 6380.34453270};
  double llh_time[3], llh_theta[3], back[3];
  ASSERT_EQ(XYZToLLHTime(ds50_utc, r_teme, llh_time), 0);
  ASSERT_EQ(XYZToLLH(ThetaGrnwchFK5(UTCToUT1(ds50_utc)), r_teme, llh_theta), 0);
  for (int k = 0; k < 3; ++k) EXPECT_DOUBLE_EQ(llh_time[k], llh_theta[k]);
  ASSERT_EQ(LLHToXYZTime(ds50_utc, llh_time, back), 0);
  // Rotation and ERFA's geodetic pair, both ways; 1e-7 km as in the table above.
  for (int k = 0; k < 3; ++k) EXPECT_NEAR(back[k], r_teme[k], 1e-7);
  // The example's PEF vector is the same point in the Earth-fixed frame, up to the 0.34 m by
  // which the built-in UT1 - UTC (interpolated to the instant) moves it: 1e-5 deg is 1 m.
  const double r_pef[3] = {-1033.4750313, 7901.3055856, 6380.3445327};
  double llh_pef[3];
  ASSERT_EQ(EFGPosToLLH(r_pef, llh_pef), 0);
  EXPECT_NEAR(llh_time[0], llh_pef[0], 1e-5);
  EXPECT_NEAR(llh_time[1], llh_pef[1], 1e-5);
  EXPECT_NEAR(llh_time[2], llh_pef[2], 1e-3);
}

TEST(GeodeticLongitude, RangeIsMinus180ExclusiveTo180Inclusive) {
  // On the -x axis the sign of a zero y must not matter.
  for (double y : {0.0, -0.0}) {
    const double efg[3] = {-7000.0, y, 10.0};
    double llh[3];
    ASSERT_EQ(EFGPosToLLH(efg, llh), 0);
    EXPECT_EQ(llh[1], 180.0) << "y = " << y;
  }
  const double just_west[3] = {-7000.0, -1e-9, 0.0};
  double llh[3];
  ASSERT_EQ(EFGPosToLLH(just_west, llh), 0);
  EXPECT_LT(llh[1], -179.999999);
}

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(GeodeticBadInput, ZeroNaNAndOutOfRangeGiveZerosAndAMessage) {
  const double zero[3] = {0.0, 0.0, 0.0}, nan_pos[3] = {kNaN, 1.0, 1.0};
  double llh[3] = {9, 9, 9};
  EXPECT_NE(EFGPosToLLH(zero, llh), 0);
  EXPECT_EQ(LastError(), "EFGPosToLLH: position is the zero vector");
  for (double x : llh) EXPECT_EQ(x, 0.0);
  EXPECT_NE(XYZToLLH(1.0, nan_pos, llh), 0);
  EXPECT_EQ(LastError(), "XYZToLLH: a position component is not finite");
  EXPECT_NE(XYZToLLH(kNaN, zero, llh), 0);
  EXPECT_EQ(LastError(), "XYZToLLH: theta nan rad is not finite");
  EXPECT_NE(XYZToLLHTime(kNaN, nan_pos, llh), 0);
  EXPECT_EQ(LastError(), "XYZToLLHTime: UTC day count nan is not a finite number");

  const double bad_lat[3] = {90.5, 0.0, 0.0};
  double pos[3] = {9, 9, 9};
  EXPECT_NE(LLHToXYZTime(19820.0, bad_lat, pos), 0);
  EXPECT_EQ(LastError(), "LLHToXYZTime: latitude 90.5 deg out of range [-90, 90]");
  for (double x : pos) EXPECT_EQ(x, 0.0);
}

}  // namespace
