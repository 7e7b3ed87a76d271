// Earth-model constants against their defining documents (values copied from the sources named in
// envconst/earth_models.cpp); derived constants against independent arithmetic.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "engine/dllmain.h"
#include "engine/envconst.h"

namespace {

struct ModelCase {
  int code;
  double radius_km, mu_km3_s2, inv_flattening, j2;
};

// Sources: WGS-72 as SGP4 uses it (Vallado et al. 2006, "wgs72"); WGS-84 NIMA TR8350.2;
// EGM-96 Lemoine et al. 1998 (J2 = -C20 * sqrt(5), C20 = -0.484165371736e-3).
const ModelCase kCases[] = {
    {XF_GEOMOD_WGS72, 6378.135, 398600.8, 298.26, 0.001082616},
    {XF_GEOMOD_WGS84, 6378.137, 398600.4418, 298.257223563, 0.00108262998905},
    {XF_GEOMOD_EGM96, 6378.1363, 398600.4415, 298.257223563, 0.484165371736e-3 * std::sqrt(5.0)},
};

class EarthModels : public ::testing::TestWithParam<ModelCase> {
 protected:
  void TearDown() override { ASSERT_EQ(EnvSetGeoIdx(XF_GEOMOD_WGS72), 0); }
};

TEST_P(EarthModels, ConstantsMatchTheirSources) {
  const ModelCase& c = GetParam();
  ASSERT_EQ(EnvSetGeoIdx(c.code), 0);
  EXPECT_EQ(EnvGetGeoIdx(), c.code);
  EXPECT_EQ(EnvGetGeoConst(XF_GEOCON_KMPER), c.radius_km);
  EXPECT_EQ(EnvGetGeoConst(XF_GEOCON_MU), c.mu_km3_s2);
  // Exact but for the rounding of one division.
  EXPECT_NEAR(1.0 / EnvGetGeoConst(XF_GEOCON_FF), c.inv_flattening, 1e-9);
  EXPECT_NEAR(EnvGetGeoConst(XF_GEOCON_J2), c.j2, 1e-18);
  EXPECT_DOUBLE_EQ(EnvGetGeoConst(XF_GEOCON_CK2), 0.5 * c.j2);
  EXPECT_DOUBLE_EQ(EnvGetGeoConst(XF_GEOCON_KS2EK), 60.0 / c.radius_km);
  EXPECT_DOUBLE_EQ(EnvGetGeoConst(XF_GEOCON_RPTIM), 60.0 * EnvGetGeoConst(XF_GEOCON_THDOT));
  // ke = sqrt(GM) in Earth radii^1.5 per minute.
  const double ke = 60.0 / std::sqrt(std::pow(c.radius_km, 3) / c.mu_km3_s2);
  EXPECT_NEAR(EnvGetGeoConst(XF_GEOCON_KE), ke, 1e-16);
}

INSTANTIATE_TEST_SUITE_P(AllModels, EarthModels, ::testing::ValuesIn(kCases));

TEST(EarthModelDefault, IsWgs72WithSgp4sKe) {
  EXPECT_EQ(EnvGetGeoIdx(), XF_GEOMOD_WGS72);
  // The value of xke printed in Vallado et al. 2006 (sgp4unit, getgravconst "wgs72"), to 1 ulp.
  EXPECT_NEAR(EnvGetGeoConst(XF_GEOCON_KE), 0.0743669161331734132, 2e-17);
  EXPECT_DOUBLE_EQ(EnvGetGeoConst(XF_GEOCON_J3), -0.00000253881);
  EXPECT_DOUBLE_EQ(EnvGetGeoConst(XF_GEOCON_J4), -0.00000165597);
  EXPECT_DOUBLE_EQ(EnvGetGeoConst(XF_GEOCON_CK4), -0.375 * -0.00000165597);
}

TEST(EarthModelErrors, UnknownCodesFailWithAMessage) {
  char buf[ENGINE_TEXT_BUF] = {};
  EXPECT_NE(EnvSetGeoIdx(85), 0);
  GetLastErrMsg(buf);
  EXPECT_STREQ(buf, "Unknown Earth model 85: expected 72 (WGS-72), 84 (WGS-84) or 96 (EGM-96)");
  EXPECT_EQ(EnvGetGeoIdx(), XF_GEOMOD_WGS72);

  EXPECT_EQ(EnvGetGeoConst(0), 0.0);
  EXPECT_EQ(EnvGetGeoConst(13), 0.0);
  GetLastErrMsg(buf);
  EXPECT_STREQ(buf, "Unknown Earth constant 13: expected 1 to 12");
}

}  // namespace
