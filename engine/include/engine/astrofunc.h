/* astrofunc: element, frame, geodetic and topocentric conversions; Sun and Moon positions.
 *
 * Units unless a call says otherwise: km, km/s, degrees for latitudes, longitudes, element angles
 * and topocentric angles, degrees per second for angular rates, radians for the sidereal angle
 * theta. Day counts are ds50 (days since 1950 January 0.0) in the scale the argument's name gives.
 * "ECI" and "date" frames are TEME (true equator, mean equinox of date); "EFG" is the
 * pseudo-Earth-fixed frame (TEME turned by GMST), "ECR" the Earth-fixed frame with polar motion.
 *
 * Calls that return int give 0 on success. Every call that cannot compute fills its outputs with
 * zeros and leaves a message (GetLastErrMsg); no call leaves a NaN in an output without a message.
 * docs/engine.md lists the models, their accuracy and the singular cases.
 */
#ifndef ENGINE_ASTROFUNC_H
#define ENGINE_ASTROFUNC_H

#include "engine/export.h"

ENGINE_EXTERN_C_BEGIN

/* Keplerian element array: a (km), e, i, M, node, argument of perigee (degrees). */
#define XA_KEP_A 0
#define XA_KEP_E 1
#define XA_KEP_INCLI 2
#define XA_KEP_MA 3
#define XA_KEP_NODE 4
#define XA_KEP_OMEGA 5
#define XA_KEP_SIZE 6

/* Equinoctial element array (direct set): af = e cos(omega + node), ag = e sin(omega + node),
 * chi = tan(i/2) sin(node), psi = tan(i/2) cos(node), mean longitude L = M + omega + node
 * (degrees), mean motion n (revolutions per day, two-body). */
#define XA_EQNX_AF 0
#define XA_EQNX_AG 1
#define XA_EQNX_CHI 2
#define XA_EQNX_PSI 3
#define XA_EQNX_L 4
#define XA_EQNX_N 5
#define XA_EQNX_SIZE 6

/* Topocentric array. RA and Dec are in the TEME frame of the epoch, seen from the site; azimuth
 * is from north through east, elevation geometric (no refraction). */
#define XA_TOPO_RA 0       /* right ascension, degrees in [0, 360) */
#define XA_TOPO_DEC 1      /* declination, degrees */
#define XA_TOPO_AZ 2       /* azimuth, degrees in [0, 360) */
#define XA_TOPO_EL 3       /* elevation, degrees */
#define XA_TOPO_RANGE 4    /* slant range, km */
#define XA_TOPO_RADOT 5    /* rate of right ascension, deg/s */
#define XA_TOPO_DECDOT 6   /* rate of declination, deg/s */
#define XA_TOPO_AZDOT 7    /* rate of azimuth, deg/s */
#define XA_TOPO_ELDOT 8    /* rate of elevation, deg/s */
#define XA_TOPO_RANGEDOT 9 /* range rate, km/s */
#define XA_TOPO_SIZE 10

/* Range-azimuth-elevation array. */
#define XA_RAE_RANGE 0    /* km */
#define XA_RAE_AZ 1       /* degrees */
#define XA_RAE_EL 2       /* degrees */
#define XA_RAE_RANGEDOT 3 /* km/s */
#define XA_RAE_AZDOT 4    /* deg/s */
#define XA_RAE_ELDOT 5    /* deg/s */
#define XA_RAE_SIZE 6

/* Year-of-equinox codes of the RA/Dec rotations. */
#define YROFEQNX_CURR 1 /* mean equator and equinox of date */
#define YROFEQNX_2000 2 /* mean equator and equinox of J2000 */

/* ---- Elements (two-body with the Earth model's GM) ---------------------------------------- */
/* Position and velocity of an elliptic orbit. Fails (zeros) for e outside [0, 1), a <= 0 or a
 * non-finite element. */
ENGINE_API int KepToPosVel(const double kep[6], double pos[3], double vel[3]);
/* Osculating elements of a state. Circular orbits (e < 1e-12) give omega = 0 and M = argument of
 * latitude; equatorial orbits (sin i < 1e-12) give node = 0 and angles from the x axis. Fails
 * (zeros) for a zero position or velocity, a rectilinear or non-elliptic (e >= 1) orbit. */
ENGINE_API int PosVelToKep(const double pos[3], const double vel[3], double kep[6]);
ENGINE_API int KepToEqnx(const double kep[6], double eqnx[6]);
ENGINE_API int EqnxToKep(const double eqnx[6], double kep[6]);
/* Semi-major axis (km) of a mean motion (rev/day), and back; 0.0 with a message when the input
 * is not positive and finite. */
ENGINE_API double NToA(double meanMotion);
ENGINE_API double AToN(double semiMajorAxis);
/* SGP4's mean-motion theories (rev/day), with the Earth model's ke and k2: Kozai's mean motion
 * of a TLE to the Brouwer mean motion SGP4 recovers at initialisation, and the inverse. The
 * inclination is in degrees. 0.0 with a message for e outside [0, 1) or a non-positive n. */
ENGINE_API double KozaiToBrouwer(double eccen, double incli, double meanMotion);
ENGINE_API double BrouwerToKozai(double eccen, double incli, double meanMotion);
/* SGP4 mean (Brouwer) elements of osculating ones: the mean set whose SGP4 state at its own epoch
 * (J2 short-period and J3 long-period periodics, Earth model constants) is the osculating state.
 * Both arrays in the Keplerian order; the mean a is that of Brouwer's mean motion (NToA). Fails
 * (zeros) where KepToPosVel does, at i = 180 deg, and when the iteration finds no mean set. */
ENGINE_API int KepOscToMean(const double kepOsc[6], double kepMean[6]);

/* ---- Frames -------------------------------------------------------------------------------- */
/* TEME <-> EFG: rotation by GMST (IAU 1982) of UT1, velocity with the Earth's rotation. */
ENGINE_API int ECIToEFGTime(double ds50UTC, const double posECI[3], const double velECI[3],
                            double posEFG[3], double velEFG[3]);
ENGINE_API int EFGToECITime(double ds50UTC, const double posEFG[3], const double velEFG[3],
                            double posECI[3], double velECI[3]);
/* EFG <-> ECR: polar motion of the timing constants at ds50UTC. */
ENGINE_API int EFGToECRTime(double ds50UTC, const double posEFG[3], const double velEFG[3],
                            double posECR[3], double velECR[3]);
ENGINE_API int ECRToEFGTime(double ds50UTC, const double posECR[3], const double velECR[3],
                            double posEFG[3], double velEFG[3]);
/* Mean equator and equinox of J2000 <-> TEME of date: IAU 1976 precession, IAU 1980 nutation
 * and the geometric equation of the equinoxes. spectr is accepted and has no effect;
 * nutationTerms must be 1 to 106 and the full 106-term series is always used. */
ENGINE_API int RotJ2KToDate(int spectr, int nutationTerms, double ds50TAI, const double posJ2K[3],
                            const double velJ2K[3], double posDate[3], double velDate[3]);
ENGINE_API int RotDateToJ2K(int spectr, int nutationTerms, double ds50TAI, const double posDate[3],
                            const double velDate[3], double posJ2K[3], double velJ2K[3]);
/* RA/Dec (degrees) in TEME of date <-> the equinox yrOfEquinox (YROFEQNX_CURR: mean of date;
 * YROFEQNX_2000: J2000). nutationTerms as for RotJ2KToDate. */
ENGINE_API int RotRADec_DateToEqnx(int nutationTerms, int yrOfEquinox, double ds50UTC, double raIn,
                                   double decIn, double* raOut, double* decOut);
ENGINE_API int RotRADec_EqnxToDate(int nutationTerms, int yrOfEquinox, double ds50UTC, double raIn,
                                   double decIn, double* raOut, double* decOut);

/* ---- Geodetic (the Earth model's ellipsoid) ------------------------------------------------ */
/* llh = geodetic latitude (deg), east longitude (deg, in (-180, 180]), height (km). */
ENGINE_API int XYZToLLH(double theta, const double posECI[3], double llh[3]);
ENGINE_API int XYZToLLHTime(double ds50UTC, const double posECI[3], double llh[3]);
ENGINE_API int LLHToXYZTime(double ds50UTC, const double llh[3], double posECI[3]);
ENGINE_API int EFGPosToLLH(const double posEFG[3], double llh[3]);
ENGINE_API int LLHToEFGPos(const double llh[3], double posEFG[3]);

/* ---- Topocentric ----------------------------------------------------------------------------- */
/* theta is the local sidereal angle (Greenwich angle plus east longitude, radians); lat the
 * site's geodetic latitude; positions and velocities TEME. Rates include the site's rotation. */
ENGINE_API int ECIToTopoComps(double theta, double lat, const double senPos[3],
                              const double satPos[3], const double satVel[3], double xa_topo[10]);
ENGINE_API int RAEToECI(double theta, double lat, const double xa_rae[6], const double senPos[3],
                        double satPos[3], double satVel[3]);
/* Azimuth and elevation of a TEME-of-date RA/Dec. thetaG is the Greenwich angle (radians); the
 * local angle is thetaG + lon. */
ENGINE_API int RaDecToAzEl(double thetaG, double lat, double lon, double ra, double dec, double* az,
                           double* el);
ENGINE_API int RaDecToAzElTime(double ds50UTC, double lat, double lon, double ra, double dec,
                               double* az, double* el);

/* ---- Sun and Moon ------------------------------------------------------------------------- */
/* Reads the JPL SPK file (.bsp) at jplFile for day counts from ds50Start to ds50Stop (UTC).
 * Returns 0, or non-zero with a message (the file in use, if any, is then dropped). */
ENGINE_API int JplSetParameters(const char* jplFile, double ds50Start, double ds50Stop);
/* Geocentric Sun and Moon positions (km) in TEME of ds50UTC: from the JPL file when one is set,
 * otherwise from analytic series. */
ENGINE_API int JplCompSunMoonPos(double ds50UTC, double sunPos[3], double moonPos[3]);

ENGINE_EXTERN_C_END

#endif
