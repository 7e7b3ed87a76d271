/* tle: two-line element sets in memory, and the text of their two lines.
 *
 * A TLE lives in memory as an XA_TLE array of 64 doubles and an XS_TLE text, under a positive
 * 64-bit key. The data behind a key never changes once added; any number of threads may read it
 * at once. docs/engine.md ("TLEs (tle)") lists the slots, the column layout and the
 * normalisations of written lines.
 */
#ifndef ENGINE_TLE_H
#define ENGINE_TLE_H

#include <stdint.h>

#include "engine/export.h"

ENGINE_EXTERN_C_BEGIN

/* ---- XA_TLE: the numeric form of one element set ------------------------------------------ */
#define XA_TLE_SATNUM 0    /* satellite number (Alpha-5 numbers as 100000-339999) */
#define XA_TLE_EPOCH 1     /* epoch, ds50 UTC */
#define XA_TLE_NDOT 2      /* first-derivative field of line 1, rev/day^2, as written (n-dot/2) */
#define XA_TLE_SP_BTERM 2  /* type 6: ballistic coefficient, m^2/kg */
#define XA_TLE_NDOTDOT 3   /* second-derivative field of line 1, rev/day^3, as written (n-ddot/6) */
#define XA_TLE_SP_OGPARM 3 /* type 6: outgassing parameter */
#define XA_TLE_BSTAR 4     /* B*, 1/Earth radii */
#define XA_TLE_SP_AGOM 4   /* type 6: area times radiation-pressure coefficient over mass, m^2/kg */
#define XA_TLE_EPHTYPE 5   /* ephemeris type, a TLETYPE value */
#define XA_TLE_INCLI 20    /* inclination, deg */
#define XA_TLE_NODE 21     /* right ascension of the ascending node, deg */
#define XA_TLE_ECCEN 22    /* eccentricity */
#define XA_TLE_OMEGA 23    /* argument of perigee, deg */
#define XA_TLE_MNANOM 24   /* mean anomaly, deg */
#define XA_TLE_MNMOTN 25   /* mean motion, rev/day: Kozai for type 0, Brouwer otherwise */
#define XA_TLE_REVNUM 26   /* revolution number at epoch */
#define XA_TLE_ELSETNUM 30 /* element set number */
#define XA_TLE_ORGSATNUM 31 /* original satellite number (kept, not interpreted) */
#define XA_TLE_BTERM 32     /* type 4: ballistic coefficient B, m^2/kg */
#define XA_TLE_OBSTIME 33   /* kept, not interpreted */
#define XA_TLE_EGR 34       /* kept, not interpreted */
#define XA_TLE_EDR 35       /* kept, not interpreted */
#define XA_TLE_VISMAG 36    /* kept, not interpreted */
#define XA_TLE_RCS 37       /* kept, not interpreted */
#define XA_TLE_AGOMGP 38 /* type 4: area times radiation-pressure coefficient over mass, m^2/kg */
#define XA_TLE_SIZE 64

/* ---- XS_TLE: the text fields of one element set (offsets and lengths) --------------------- */
#define XS_TLE_SECCLASS_0_1 0  /* classification letter U, C or S */
#define XS_TLE_SATNAME_1_12 1  /* international designator, blank-padded to 12 characters */
#define XS_TLE_OBJTYPE_13_1 13 /* object type; blank, the lines carry none */
#define XS_TLE_SIZE 512

/* ---- Ephemeris types -------------------------------------------------------------------- */
#define TLETYPE_SGP 0  /* SGP4 with Kozai mean motion */
#define TLETYPE_SGP4 2 /* SGP4 with Brouwer mean motion */
#define TLETYPE_XP 4   /* Brouwer mean motion with a ballistic coefficient and radiation pressure */
#define TLETYPE_SP 6   /* special-perturbations vector; held, not propagated by SGP4 */

/* Reads two element lines (NUL-terminated; columns 1-69 are read, anything after column 69 is
 * ignored) into xa_tle (64 doubles, every slot not read set to 0) and xs_tle (ENGINE_TEXT_BUF
 * bytes: 14 characters and a NUL). The check-sum column is not verified (GetCheckSums computes
 * it). Returns 0, or non-zero with a message naming the line and columns of the first field that
 * cannot be read; the outputs are then zero. */
ENGINE_API int TleLinesToArray(const char* line1, const char* line2, double xa_tle[XA_TLE_SIZE],
                               char* xs_tle);

/* Writes the two element lines of xa_tle and xs_tle into line1 and line2 (ENGINE_TEXT_BUF bytes
 * each, 69 characters and a NUL), check sums included. Returns 0, or non-zero with a message
 * when a value does not fit its field or the type cannot be written; both lines are then empty. */
ENGINE_API int TleGPArrayToLines(const double xa_tle[XA_TLE_SIZE], const char* xs_tle, char* line1,
                                 char* line2);

/* Adds an element set to memory and returns its key (> 0), or -1 with a message when the arrays
 * are invalid or, in key mode KEYMODE_NODUP, a set with the same satellite number and epoch is
 * already held. */
ENGINE_API int64_t TleAddSatFrArray(const double xa_tle[XA_TLE_SIZE], const char* xs_tle);

/* TleLinesToArray followed by TleAddSatFrArray; -1 with the message of the failing step. */
ENGINE_API int64_t TleAddSatFrLines(const char* line1, const char* line2);

/* Copies the arrays held under satKey into xa_tle and xs_tle (ENGINE_TEXT_BUF bytes). Returns 0,
 * or non-zero with a message when the key is not held. */
ENGINE_API int TleDataToArray(int64_t satKey, double xa_tle[XA_TLE_SIZE], char* xs_tle);

/* Check sums of columns 1-68 of each line: the sum of the digits, with '-' counting 1 and every
 * other character 0, modulo 10. *errCode is 0, or 1 when line 1 and 2 when line 2 is shorter than
 * 68 columns or not ASCII (the function then also returns non-zero with a message). */
ENGINE_API int GetCheckSums(const char* line1, const char* line2, int* chkSum1, int* chkSum2,
                            int* errCode);

/* Removes one set; non-zero with a message when the key is not held. */
ENGINE_API int TleRemoveSat(int64_t satKey);
/* Removes every set; always 0. */
ENGINE_API int TleRemoveAllSats(void);
/* Number of sets held. */
ENGINE_API int TleGetCount(void);

ENGINE_EXTERN_C_END

#endif
