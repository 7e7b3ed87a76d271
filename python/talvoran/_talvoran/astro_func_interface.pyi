from collections.abc import Sequence


def teme_to_topo(theta: float, lat: float, sen_pos: Sequence[float], sat_pos: Sequence[float], sat_vel: Sequence[float]) -> list[float]:
    """
    Topocentric array (XA_TOPO slots) of a TEME satellite state seen from a TEME site position; theta is the local sidereal angle (radians), lat the site latitude (degrees).
    """

def ra_dec_to_az_el_time(ds50_utc: float, lat: float, long: float, ra: float, dec: float) -> list[float]:
    """[azimuth, elevation] (degrees) of a TEME RA/Dec."""

def ra_dec_to_az_el(theta: float, lat: float, long: float, ra: float, dec: float) -> list[float]:
    """[azimuth, elevation] (degrees) of a TEME RA/Dec."""

def theta_teme_to_lla(theta: float, teme_pos: Sequence[float]) -> list[float]:
    """
    [latitude, longitude, height] of a TEME position, given the Greenwich angle.
    """

def time_teme_to_lla(ds50utc: float, teme_pos: Sequence[float]) -> list[float]:
    """[latitude, longitude, height] of a TEME position at a UTC day count."""

def mean_motion_to_sma(mean_motion: float) -> float:
    """Semi-major axis (km) of a mean motion (revolutions per day)."""

def kozai_to_brouwer(eccentricity: float, inclination: float, mean_motion: float) -> float: ...

def brouwer_to_kozai(eccentricity: float, inclination: float, mean_motion: float) -> float: ...

def sma_to_mean_motion(sma: float) -> float:
    """Mean motion (revolutions per day) of a semi-major axis (km)."""

def topo_date_to_equinox(yr_of_equinox: int, ds50utc: float, ra: float, dec: float) -> tuple[float, float]: ...

def topo_equinox_to_date(yr_of_equinox: int, ds50utc: float, ra: float, dec: float) -> tuple[float, float]: ...

def get_jpl_sun_and_moon_position(ds50utc: float) -> tuple[list[float], list[float]]:
    """Geocentric Sun and Moon positions (km) in TEME of the epoch."""

def horizon_to_teme(theta: float, lat: float, sen_pos: Sequence[float], xa_rae: Sequence[float]) -> list[float]:
    """TEME position and velocity of a range-azimuth-elevation array."""

XA_TOPO_RA: int = 0

XA_TOPO_DEC: int = 1

XA_TOPO_AZ: int = 2

XA_TOPO_EL: int = 3

XA_TOPO_RANGE: int = 4

XA_TOPO_RADOT: int = 5

XA_TOPO_DECDOT: int = 6

XA_TOPO_AZDOT: int = 7

XA_TOPO_ELDOT: int = 8

XA_TOPO_RANGEDOT: int = 9

XA_TOPO_SIZE: int = 10

XA_RAE_RANGE: int = 0

XA_RAE_AZ: int = 1

XA_RAE_EL: int = 2

XA_RAE_RANGEDOT: int = 3

XA_RAE_AZDOT: int = 4

XA_RAE_ELDOT: int = 5

XA_RAE_SIZE: int = 6

YROFEQNX_2000: int = 2

YROFEQNX_CURR: int = 1
