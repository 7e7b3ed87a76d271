/* envconst: the Earth model in force and its constants.
 *
 * The default model is WGS-72, the one SGP4 was fitted with; WGS-84 and EGM-96 can be selected.
 * docs/engine.md lists every constant with its source.
 */
#ifndef ENGINE_ENVCONST_H
#define ENGINE_ENVCONST_H

#include "engine/export.h"

ENGINE_EXTERN_C_BEGIN

/* Earth models, named by their conventional year. */
#define XF_GEOMOD_WGS72 72
#define XF_GEOMOD_WGS84 84
#define XF_GEOMOD_EGM96 96

/* Constants read with EnvGetGeoConst. */
#define XF_GEOCON_FF 1     /* flattening of the reference ellipsoid (dimensionless) */
#define XF_GEOCON_J2 2     /* second zonal harmonic J2 (unnormalised, dimensionless) */
#define XF_GEOCON_J3 3     /* third zonal harmonic J3 */
#define XF_GEOCON_J4 4     /* fourth zonal harmonic J4 */
#define XF_GEOCON_KE 5     /* sqrt(GM) in Earth radii^1.5 per minute */
#define XF_GEOCON_KMPER 6  /* equatorial radius, km */
#define XF_GEOCON_RPTIM 7  /* Earth rotation rate, rad per minute */
#define XF_GEOCON_CK2 8    /* J2 / 2 (SGP4's k2, in Earth radii squared) */
#define XF_GEOCON_CK4 9    /* -3/8 J4 (SGP4's k4) */
#define XF_GEOCON_KS2EK 10 /* km/s to Earth radii per minute: 60 / radius */
#define XF_GEOCON_THDOT 11 /* Earth rotation rate, rad per second */
#define XF_GEOCON_MU 12    /* GM, km^3/s^2 */

/* Selects the Earth model (one of the XF_GEOMOD codes). Returns 0, or non-zero with a message for
 * an unknown code (the model in force is then unchanged). */
ENGINE_API int EnvSetGeoIdx(int geoIdx);

/* The Earth model in force (an XF_GEOMOD code); XF_GEOMOD_WGS72 until changed. */
ENGINE_API int EnvGetGeoIdx(void);

/* The constant xfGeoCon (an XF_GEOCON code) of the model in force; 0.0 with a message for an
 * unknown code. */
ENGINE_API double EnvGetGeoConst(int xfGeoCon);

ENGINE_EXTERN_C_END

#endif
