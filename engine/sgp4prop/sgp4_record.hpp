// The SGP4/SDP4 theory of Hoots and Roehrich, Spacetrack Report No. 3 (1980), in the form of
// Vallado, Crawford, Hujsak and Kelso, "Revisiting Spacetrack Report #3", AIAA 2006-6753 (the
// "improved" operation of that paper, with its corrections), on WGS-72 constants.
//
// One file per routine of the paper: sgp4init (with initl), dscom, dpper, dsinit, dspace, sgp4.
// Units inside: Earth radii, minutes, radians; angles of the record in radians.
//
// NOTE: the record is filled once by Sgp4Init and only read afterwards; every routine that runs
// at propagation time takes it by const reference and keeps its working values on the stack
// (the resonance integration restarts from epoch on every call), so one record may be
// propagated by any number of threads at once.
#pragma once

#include <bit>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace sgp4 {

// The gravity model SGP4 was fitted with (WGS-72), in the theory's canonical units.
struct Gravity {
  double radius_km;  // equatorial radius
  double xke;        // sqrt(GM), Earth radii^1.5 per minute
  double j2, j3, j4;
  double j3oj2;
  double vkmpersec;  // km/s per (Earth radius per minute)
};

// The WGS-72 constants, read once from envconst (see sgp4init.cpp).
const Gravity& Wgs72();

// std::fmod(x, 2 pi), the same number, without the library call for the angles SGP4 meets.
// fmod is exact, so when the quotient q is right, x - q 2 pi is computed exactly: 2 pi is split
// into hi (27 significant bits) + lo (the other 26), q < 2^27 makes q hi and q lo exact, and
// |x| - q hi is exact because both are multiples of ulp(q hi) and it is below 2^53 of them. A
// quotient off by one shows as a remainder within rounding of 0 or of 2 pi; those, large
// arguments and non-finite ones go to std::fmod.
inline double FmodTwoPi(double x) {
  constexpr double kTwoPi = 2.0 * std::numbers::pi;
  constexpr double kHi =
      std::bit_cast<double>(std::bit_cast<std::uint64_t>(kTwoPi) & ~((std::uint64_t{1} << 26) - 1));
  constexpr double kLo = kTwoPi - kHi;
  constexpr double kMargin = 1e-12;  // far above the rounding of the two steps (about 1e-15)
  const double ax = std::fabs(x);
  if (ax < kTwoPi) return x;
  if (!(ax < 0x1p25)) return std::fmod(x, kTwoPi);
  const auto q = static_cast<double>(static_cast<std::int64_t>(ax * (1.0 / kTwoPi)));
  const double r = (ax - q * kHi) - q * kLo;
  if (!(r > kMargin && r < kTwoPi - kMargin)) return std::fmod(x, kTwoPi);
  return x < 0.0 ? -r : r;
}

// Mean elements of a TLE as the theory takes them (Kozai mean motion, radians, rad/min).
struct MeanElements {
  double epoch_ds50_utc;
  double bstar;  // 1/Earth radii
  double ecco, argpo, inclo, mo, nodeo;
  double no_kozai;  // rad/min
};

// The lunar-solar terms of dscom that dpper evaluates at each time (Hoots and Roehrich, "Deep
// space perturbations"; the names are the paper's).
struct LunarSolar {
  double e3, ee2, se2, se3, sgh2, sgh3, sgh4, sh2, sh3, si2, si3, sl2, sl3, sl4;
  double xgh2, xgh3, xgh4, xh2, xh3, xi2, xi3, xl2, xl3, xl4;
  double zmol, zmos;
};

// State of the resonance integration after a whole number of steps from epoch, with its rates
// there: dn/dt, dL/dt and d2n/dt2.
struct ResonanceStep {
  double xli, xni;
  double xndt, xldot, xnddt;
};

// Steps of the resonance integration kept at initialisation in each direction (720 min each,
// so about 32 days): a propagation starts from the last kept step it would pass, which gives the
// same numbers as stepping from epoch and spares the steps.
inline constexpr int kResonanceSteps = 64;

// The resonance terms of dsinit that dspace integrates.
struct Resonance {
  int irez;  // 0 none, 1 one-day (synchronous), 2 half-day
  double d2201, d2211, d3210, d3222, d4410, d4422, d5220, d5232, d5421, d5433;
  double del1, del2, del3;
  double xfact, xlamo;
  // epoch: the state at epoch; forward[k] / backward[k]: after k + 1 steps forwards / backwards.
  ResonanceStep epoch;
  ResonanceStep forward[kResonanceSteps], backward[kResonanceSteps];
};

struct DeepSpace {
  LunarSolar ls;
  Resonance res;
  double dedt, didt, dmdt, dnodt, domdt;  // secular lunar-solar rates
  double gsto;                            // Greenwich angle at epoch, rad
};

struct Record {
  // Identification, for messages.
  std::int64_t satnum;
  bool deep_space;  // the paper's method 'd' (period of 225 min or more)
  bool isimp;       // simplified drag (perigee below 220 km, and every deep-space orbit)

  // Epoch elements (Brouwer mean motion).
  double ecco, argpo, inclo, mo, nodeo, no_unkozai, bstar;
  double ao;  // (xke / no_unkozai)^(2/3): the semi-major axis before drag, Earth radii
  double epoch_ds50_utc;

  // Secular rates and drag coefficients of sgp4init.
  double mdot, argpdot, nodedot, nodecf;
  double cc1, cc4, cc5, t2cof, t3cof, t4cof, t5cof;
  double d2, d3, d4, delmo, eta, omgcof, xmcof, sinmao;
  // Short-period and long-period coefficients at epoch (recomputed for deep space).
  double con41, x1mth2, x7thm1, aycof, xlcof;
  double sinio, cosio;  // sin and cos of the epoch inclination (near Earth the mean one)

  Gravity grav;  // Wgs72(), kept here for sgp4

  DeepSpace ds;  // used only when deep_space
};

// The paper's error codes of sgp4.
enum Error : int {
  kOk = 0,
  kMeanEccentricity = 1,       // mean eccentricity out of range (e >= 1 or e < -0.001)
  kMeanMotion = 2,             // mean motion not positive
  kPerturbedEccentricity = 3,  // perturbed eccentricity out of [0, 1]
  kSemiLatusRectum = 4,        // semi-latus rectum negative
  kSubOrbital = 5,             // epoch elements sub-orbital (not raised; see sgp4init.cpp)
  kDecayed = 6,                // satellite has decayed (radius below one Earth radius)
};

// The mean elements of the theory at a time (after the secular and resonance terms, before the
// periodic ones): semi-major axis (Earth radii), e, i, node, argument of perigee, mean
// anomaly (rad, node and perigee in (-2 pi, 2 pi)), mean motion (rad/min).
struct MeanState {
  double am, em, inclm, nodem, argpm, mm, nm;
};

// sgp4init: fills the record from the epoch elements. Returns kOk, kMeanEccentricity or
// kMeanMotion (elements the theory cannot start from).
int Sgp4Init(const MeanElements& elements, std::int64_t satnum, Record& rec);

// sgp4: position (km) and velocity (km/s) in TEME at tsince minutes from epoch. Returns an
// Error; with kDecayed the state is still filled. `mean` (optional) receives the mean elements.
int Sgp4(const Record& rec, double tsince_min, double r_km[3], double v_km_s[3],
         MeanState* mean = nullptr);

// sgp4 at kLanes times at once, each the same numbers as Sgp4 gives (their Newton iterations
// are interleaved so that the processor overlaps them); code[i] is the Error of time i.
inline constexpr int kLanes = 4;
void Sgp4Lanes(const Record& rec, const double t[kLanes], double r_km[kLanes][3],
               double v_km_s[kLanes][3], int code[kLanes]);

// Kozai to Brouwer mean motion (rad/min) of the theory (initl), and its inverse by iteration.
double UnKozai(double no_kozai, double ecco, double inclo);
double ReKozai(double no_unkozai, double ecco, double inclo);

// ---- Deep-space routines ------------------------------------------------------------------

// The s and z terms of one perturbing body in dscom (the paper's ss1.., sz1.. for the Sun and
// s1.., z1.. for the Moon).
struct BodyTerms {
  double s1, s2, s3, s4, s5, s6, s7;
  double z1, z2, z3, z11, z12, z13, z21, z22, z23, z31, z32, z33;
};

// Working values of dscom passed on to dsinit.
struct DsComOut {
  double snodm, cnodm, sinim, cosim, sinomm, cosomm, day, em, emsq, gam, rtemsq, nm;
  BodyTerms sun, moon;
};

// dscom: lunar and solar terms at epoch (tc minutes after it).
void DsCom(double epoch_ds50, double ep, double argpp, double tc, double inclp, double nodep,
           double np, DsComOut& out, LunarSolar& ls);

// dsinit: secular lunar-solar rates and resonance terms.
void DsInit(const Gravity& grav, const DsComOut& com, const Record& rec, double eccsq,
            double xpidot, DeepSpace& ds);

// Fills the kept steps of the resonance integration (after dsinit).
void DsResonanceSteps(Record& rec);

// dspace: secular lunar-solar effects and the resonance integration at t minutes.
void DsSpace(const Record& rec, double t, double& em, double& argpm, double& inclm, double& mm,
             double& nodem, double& nm);

// dpper: lunar-solar periodics at t minutes, applied to the elements.
void DpPer(const LunarSolar& ls, double t, double& ep, double& inclp, double& nodep, double& argpp,
           double& mp);

}  // namespace sgp4
