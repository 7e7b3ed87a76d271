/* timefunc: time scales, calendar, DTG texts, timing constants and Greenwich angles.
 *
 * Day counts are "ds50": days since 1950 January 0.0 in the scale the function's name gives
 * (UTC where it names none), so 1950-01-01T00:00:00 is 1.0. Functions that cannot convert return
 * the failure mark -1.0 and leave a message (GetLastErrMsg). docs/engine.md documents the formats,
 * the leap-second day and what is used outside the table of timing constants.
 */
#ifndef ENGINE_TIMEFUNC_H
#define ENGINE_TIMEFUNC_H

#include "engine/export.h"

ENGINE_EXTERN_C_BEGIN

/* The failure mark of the day-count conversions. */
#define TIME_FAILURE_MARK (-1.0)

/* ---- Time scales ------------------------------------------------------------------------- */
/* TAI-UTC comes from ERFA (leap seconds, and the drifting UTC of 1960-1971); before 1960 there is
 * no UTC and these fail. A UTC day has 86400 s: TAIToUTC gives the TAI instants of an inserted
 * leap second the count after midnight. */
ENGINE_API double UTCToTAI(double ds50UTC);
ENGINE_API double TAIToUTC(double ds50TAI);
/* UT1-UTC from the timing constants; outside their table the nearest row's value holds. */
ENGINE_API double UTCToUT1(double ds50UTC);
ENGINE_API double TAIToUT1(double ds50TAI);
/* Terrestrial time (the former ephemeris time): TT = TAI + 32.184 s. */
ENGINE_API double UTCToET(double ds50UTC);

/* ---- Calendar ---------------------------------------------------------------------------- */
/* UTC day count of a Gregorian date and time of day, years 1 to 9999. Day, hour, minute and
 * second add linearly (second 60.5 is 0.5 s into the next minute); a month outside 1..12 fails. */
ENGINE_API double TimeComps2ToUTC(int year, int month, int day, int hour, int minute,
                                  double second);
/* Calendar components of a UTC day count, rounded to the microsecond (the second is never 60).
 * A count outside the years 1 to 9999 sets all six to 0 and leaves a message. */
ENGINE_API void UTCToTimeComps2(double ds50UTC, int* year, int* month, int* day, int* hour,
                                int* minute, double* second);
/* Year and day of year (1.0 = January 1 at 00:00) of a UTC day count; year 0 and day
 * TIME_FAILURE_MARK for a count outside the years 1 to 9999. */
ENGINE_API void UTCToYrDays(double ds50UTC, int* year, double* dayOfYear);
/* UTC day count of a year and day of year. */
ENGINE_API double YrDaysToUTC(int year, double dayOfYear);

/* ---- DTG texts (each buffer holds ENGINE_TEXT_BUF bytes) ---------------------------------- */
/* Writers round to the last printed digit before splitting into fields, so 59.9995 s carries
 * into the next minute; a count they cannot write gives an empty text and a message. */
ENGINE_API void UTCToDTG15(double ds50UTC, char* dtg15); /* "YYDDDHHMMSS.SSS" */
ENGINE_API void UTCToDTG17(double ds50UTC, char* dtg17); /* "YYYY/DDD.DDDDDDDD" */
ENGINE_API void UTCToDTG19(double ds50UTC, char* dtg19); /* "YYYYMonDDHHMMSS.SSS" */
ENGINE_API void UTCToDTG20(double ds50UTC, char* dtg20); /* "YYYY/DDD HHMM SS.SSS" */
/* Reads any of the four forms (at most ENGINE_TEXT_LEN bytes, blanks around tolerated; two-digit
 * years 57-99 are 1957-1999 and 00-56 are 2000-2056); TIME_FAILURE_MARK for text it cannot
 * read. */
ENGINE_API double DTGToUTC(const char* dtg);

/* ---- Timing constants (leap seconds, UT1-UTC, polar motion) ------------------------------- */
/* Loads a timing-constants file (CelesTrak EOP-All or IERS finals2000A), replacing what was
 * loaded before. Returns 0, or non-zero with a message naming the file and line. */
ENGINE_API int TConLoadFile(const char* tconFile);
/* Non-zero once a file has been loaded explicitly (the built-in table does not count). Until then
 * a snapshot built into the library serves. */
ENGINE_API int IsTConFileLoaded(void);
/* The timing constants at a UTC day count: TAI-UTC (s), UT1-UTC (s), the rate of UT1-UTC
 * (ms/day) and the polar motion x and y (arcseconds), linear between the daily rows. Null outputs
 * are skipped; a count outside the years 1 to 9999 gives NaN in all five and a message. */
ENGINE_API void UTCToTConRec(double ds50UTC, double* taiMinusUTC, double* ut1MinusUTC,
                             double* ut1Rate, double* polarX, double* polarY);

/* ---- Greenwich angles (radians in [0, 2 pi)) ---------------------------------------------- */
/* Greenwich mean sidereal time of the FK4 era, as SGP4 uses it (Spacetrack Report No. 3). */
ENGINE_API double ThetaGrnwchFK4(double ds50UT1);
/* Greenwich mean sidereal time, IAU 1982 (FK5). */
ENGINE_API double ThetaGrnwchFK5(double ds50UT1);

ENGINE_EXTERN_C_END

#endif
