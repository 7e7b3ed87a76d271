/* sgp4prop: SGP4/SDP4 propagation of element sets held in TLE memory.
 *
 * The theory is Hoots and Roehrich, Spacetrack Report No. 3 (1980), with the corrections of
 * Vallado, Crawford, Hujsak and Kelso, "Revisiting Spacetrack Report #3", AIAA 2006-6753, on
 * WGS-72 constants whatever Earth model envconst has in force. States are in TEME, km and km/s.
 *
 * A TLE key is initialised once (Sgp4InitSat); its record is read-only afterwards, so any number
 * of threads may propagate it at once. Propagation allocates nothing and takes no exclusive lock.
 * docs/engine.md ("SGP4 (sgp4prop)") documents the slots of Sgp4PropAll, the element types and
 * the messages.
 */
#ifndef ENGINE_SGP4PROP_H
#define ENGINE_SGP4PROP_H

#include <stdint.h>

#include "engine/export.h"

ENGINE_EXTERN_C_BEGIN

/* Time types of Sgp4PropAll. */
#define SGP4_TIMETYPE_MSE 0     /* minutes since the TLE epoch */
#define SGP4_TIMETYPE_DS50UTC 1 /* ds50 UTC */

/* Slots of the Sgp4PropAll output (64 doubles; slots not listed are 0). */
#define XA_SGP4OUT_DS50UTC 0 /* time, ds50 UTC */
#define XA_SGP4OUT_POSX 1    /* TEME position, km (1-3) */
#define XA_SGP4OUT_POSY 2
#define XA_SGP4OUT_POSZ 3
#define XA_SGP4OUT_VELX 4 /* TEME velocity, km/s (4-6) */
#define XA_SGP4OUT_VELY 5
#define XA_SGP4OUT_VELZ 6
#define XA_SGP4OUT_MSE 7    /* time, minutes since epoch */
#define XA_SGP4OUT_MNMOTN 8 /* mean (Brouwer) mean motion at the time, rev/day */
#define XA_SGP4OUT_REVNUM \
  9                        /* revolution number at the time (from the TLE's, counted at the node) */
#define XA_SGP4OUT_MN_A 15 /* mean semi-major axis, km */
#define XA_SGP4OUT_MN_E 16 /* mean eccentricity */
#define XA_SGP4OUT_MN_INCLI 17 /* mean inclination, deg */
#define XA_SGP4OUT_MN_MA 18    /* mean anomaly, deg [0, 360) */
#define XA_SGP4OUT_MN_NODE 19  /* mean right ascension of the node, deg [0, 360) */
#define XA_SGP4OUT_MN_OMEGA 20 /* mean argument of perigee, deg [0, 360) */
#define XA_SGP4OUT_OSC_A                                                  \
  21 /* osculating two-body elements of the state (WGS-72 GM), same order \
      */
#define XA_SGP4OUT_OSC_E 22
#define XA_SGP4OUT_OSC_INCLI 23
#define XA_SGP4OUT_OSC_MA 24
#define XA_SGP4OUT_OSC_NODE 25
#define XA_SGP4OUT_OSC_OMEGA 26
#define XA_SGP4OUT_SIZE 64

/* Initialises SGP4 for a TLE held in TLE memory (types 0, 2 and 4). Initialising a key again
 * replaces its record. Returns 0, or non-zero with a message for an unknown key, type 6, or
 * elements the theory cannot start from (eccentricity outside [0, 1), mean motion <= 0). */
ENGINE_API int Sgp4InitSat(int64_t satKey);
/* Removes a key's SGP4 record; non-zero with a message when it is not initialised. */
ENGINE_API int Sgp4RemoveSat(int64_t satKey);
/* Removes every record; always 0. */
ENGINE_API int Sgp4RemoveAllSats(void);
/* Number of initialised keys. */
ENGINE_API int Sgp4GetCount(void);

/* TEME position (km) and velocity (km/s) at a ds50 UTC time. Returns 0, or non-zero with a
 * message for a key that is not initialised or an SGP4 error (code 1-6, named in the message;
 * the outputs are then zero, except for code 6, decay, where they hold the state computed). */
ENGINE_API int Sgp4PropDs50UtcPosVel(int64_t satKey, double ds50UTC, double pos[3], double vel[3]);
/* The same at a time in minutes since the TLE epoch (no loss of precision from a day count). */
ENGINE_API int Sgp4PropMse(int64_t satKey, double minutesSinceEpoch, double pos[3], double vel[3]);
/* n states at once, as a structure of arrays: out[k * n + i] is component k (x, y, z in km, then
 * vx, vy, vz in km/s) at ds50UTC[i], so out holds 6 n doubles. One lookup for all. Returns 0, or
 * the status of the first time that fails (its message set; the states from there on are left
 * zero, or as computed for a decay). */
ENGINE_API int Sgp4PropDs50UtcPosVelBatch(int64_t satKey, int n, const double* ds50UTC,
                                          double* out);
/* Every output of one propagation (XA_SGP4OUT slots) at a time of type timeType
 * (SGP4_TIMETYPE_MSE or SGP4_TIMETYPE_DS50UTC). Status as Sgp4PropDs50UtcPosVel. */
ENGINE_API int Sgp4PropAll(int64_t satKey, int timeType, double timeIn,
                           double xa_sgp4Out[XA_SGP4OUT_SIZE]);

/* A new TLE of the same satellite at a new epoch: the state at ds50UTC is fitted with SGP4 mean
 * elements at that epoch (rounded to the 1e-8 day of the epoch field), keeping the type and the
 * drag terms; the two lines (ENGINE_TEXT_BUF bytes each, check sums included) are written into
 * line1 and line2. Returns 0, or non-zero with a message. */
ENGINE_API int Sgp4ReepochTLE(int64_t satKey, double ds50UTC, char* line1, char* line2);

/* The native elements of an initialised key at a ds50 UTC time: xa_eqnx = the mean equinoctial
 * elements of the theory, a_f = e cos(w + node), a_g = e sin(w + node), chi = tan(i/2) sin(node),
 * psi = tan(i/2) cos(node), mean longitude (deg, [0, 360)), Brouwer mean motion (rev/day); and
 * xa_eqnxRate = their rates per day at that time (symmetric difference over +-1 minute).
 * Returns 0, or non-zero with a message (status as Sgp4PropDs50UtcPosVel). */
ENGINE_API int XpGetNativeElts(int64_t satKey, double ds50UTC, double xa_eqnx[6],
                               double xa_eqnxRate[6]);

ENGINE_EXTERN_C_END

#endif
