import os


def time_constants_loaded() -> bool:
    """Whether a timing-constants file has been loaded explicitly."""

def load_time_constants(path: str | os.PathLike[str]) -> None:
    """
    Loads a timing-constants file (CelesTrak EOP-All or IERS finals2000A): leap seconds, UT1-UTC and polar motion. Raises SAALError when the engine refuses the file.
    """

def ds50_utc_to_ut1(ds50_utc: float) -> float:
    """UT1 day count of a UTC day count."""

def get_fk4_greenwich_angle(ds50_ut1: float) -> float:
    """Greenwich angle (radians) of the FK4 era, as SGP4 uses it."""

def get_fk5_greenwich_angle(ds50_ut1: float) -> float:
    """Greenwich mean sidereal time IAU 1982 (radians)."""

def ymd_components_to_ds50(year: int, month: int, day: int, hour: int, minute: int, second: float) -> float:
    """UTC day count since 1950 of calendar components."""
