from . import time

from . import enums


class TLE:
    """A two-line element set, loaded in the engine for as long as it lives."""

    @staticmethod
    def from_lines(line_1: str, line_2: str, line_3: str | None = None) -> TLE:
        """Reads two element lines, or a name line and two element lines."""

    @property
    def id(self) -> str: ...

    @property
    def name(self) -> str | None: ...

    @property
    def designator(self) -> str: ...

    @property
    def norad_id(self) -> int: ...

    @property
    def classification(self) -> enums.Classification: ...

    @property
    def type(self) -> enums.KeplerianType: ...

    @property
    def epoch(self) -> time.Epoch: ...

    @property
    def semi_major_axis(self) -> float: ...

    @property
    def eccentricity(self) -> float: ...

    @property
    def inclination(self) -> float: ...

    @property
    def raan(self) -> float: ...

    @property
    def argument_of_perigee(self) -> float: ...

    @property
    def mean_anomaly(self) -> float: ...

    @property
    def mean_motion(self) -> float:
        """Revolutions per day."""

    @property
    def mean_motion_dot(self) -> float: ...

    @property
    def mean_motion_dot_dot(self) -> float: ...

    @property
    def b_term(self) -> float: ...

    @property
    def b_star(self) -> float: ...

    @property
    def agom(self) -> float: ...

    @property
    def cartesian_state(self) -> CartesianState: ...

    @property
    def lines(self) -> tuple[str, str]:
        """The two element lines, with check sums."""

class CartesianState:
    """Position (km) and velocity (km/s) at an epoch in a frame."""

    def __init__(self, epoch: time.Epoch, position: CartesianVector, velocity: CartesianVector, frame: enums.ReferenceFrame) -> None: ...

    @property
    def epoch(self) -> time.Epoch: ...

    @property
    def position(self) -> CartesianVector: ...

    @property
    def velocity(self) -> CartesianVector: ...

    def get_frame(self) -> enums.ReferenceFrame: ...

    def to_frame(self, frame: enums.ReferenceFrame) -> CartesianState: ...

    def to_keplerian(self) -> KeplerianState: ...

class CartesianVector:
    """A 3-vector (km, km/s or unitless)."""

    def __init__(self, x: float, y: float, z: float) -> None: ...

    @property
    def x(self) -> float: ...

    @property
    def y(self) -> float: ...

    @property
    def z(self) -> float: ...

    @property
    def magnitude(self) -> float: ...

    def dot(self, other: CartesianVector) -> float: ...

    def distance(self, other: CartesianVector) -> float: ...

    def angle(self, other: CartesianVector) -> float:
        """The angle between the two vectors, radians; 0.0 when either is zero."""

    def to_spherical(self) -> SphericalVector: ...

    def __add__(self, arg: CartesianVector, /) -> CartesianVector: ...

    def __sub__(self, arg: CartesianVector, /) -> CartesianVector: ...

class KeplerianState:
    """Keplerian elements at an epoch, in a frame, of a theory."""

    def __init__(self, epoch: time.Epoch, elements: KeplerianElements, frame: enums.ReferenceFrame, keplerian_type: enums.KeplerianType) -> None: ...

    @property
    def semi_major_axis(self) -> float: ...

    @property
    def eccentricity(self) -> float: ...

    @property
    def inclination(self) -> float: ...

    @property
    def raan(self) -> float: ...

    @property
    def argument_of_perigee(self) -> float: ...

    @property
    def mean_anomaly(self) -> float: ...

    @property
    def apoapsis(self) -> float: ...

    @property
    def periapsis(self) -> float: ...

    @property
    def mean_motion(self) -> float: ...

    @property
    def frame(self) -> enums.ReferenceFrame: ...

    @property
    def epoch(self) -> time.Epoch: ...

    @epoch.setter
    def epoch(self, arg: time.Epoch, /) -> None: ...

    @property
    def type(self) -> enums.KeplerianType: ...

    @type.setter
    def type(self, arg: enums.KeplerianType, /) -> None: ...

    def to_cartesian(self) -> CartesianState: ...

    def to_frame(self, frame: enums.ReferenceFrame) -> KeplerianState: ...

class KeplerianElements:
    """
    Semi-major axis (km), eccentricity, inclination, RAAN, argument of perigee and mean anomaly (degrees).
    """

    def __init__(self, semi_major_axis: float, eccentricity: float, inclination: float, raan: float, argument_of_perigee: float, mean_anomaly: float) -> None: ...

    @property
    def semi_major_axis(self) -> float: ...

    @semi_major_axis.setter
    def semi_major_axis(self, arg: float, /) -> None: ...

    @property
    def eccentricity(self) -> float: ...

    @eccentricity.setter
    def eccentricity(self, arg: float, /) -> None: ...

    @property
    def inclination(self) -> float: ...

    @inclination.setter
    def inclination(self, arg: float, /) -> None: ...

    @property
    def raan(self) -> float: ...

    @raan.setter
    def raan(self, arg: float, /) -> None: ...

    @property
    def argument_of_perigee(self) -> float: ...

    @argument_of_perigee.setter
    def argument_of_perigee(self, arg: float, /) -> None: ...

    @property
    def mean_anomaly(self) -> float: ...

    @mean_anomaly.setter
    def mean_anomaly(self, arg: float, /) -> None: ...

    @property
    def apoapsis(self) -> float:
        """Apoapsis radius, km."""

    @property
    def periapsis(self) -> float:
        """Periapsis radius, km."""

    def get_mean_motion(self, element_type: enums.KeplerianType) -> float:
        """Mean motion, revolutions per day, in the theory of `element_type`."""

    def to_equinoctial(self) -> EquinoctialElements: ...

class Ephemeris:
    """
    A time-ordered table of TEME states of one body, interpolated between neighbouring entries by cubic Hermite interpolation. Every handle to a table shares it.
    """

    def __init__(self, satellite_id: str, norad_id: int | None, state: CartesianState) -> None:
        """
        A table holding `state` converted to TEME. Without a NORAD number (None) the table reports 99999.
        """

    @property
    def id(self) -> str:
        """Version-4 UUID made when the table was created."""

    @property
    def satellite_id(self) -> str:
        """Identifier of the body whose states these are."""

    @property
    def norad_id(self) -> int: ...

    @property
    def number_of_states(self) -> int:
        """The length of the table."""

    def get_state_at_epoch(self, epoch: time.Epoch) -> CartesianState | None:
        """
        The TEME state at `epoch`: a table entry unchanged when `epoch` is within 1e-10 day of it or outside the table's span (no extrapolation), else the Hermite interpolation between the neighbouring entries. Day counts are compared as they stand, whatever their time systems.
        """

class SphericalVector:
    """Range, right ascension and declination (degrees)."""

    def __init__(self, range: float, right_ascension: float, declination: float) -> None: ...

    @property
    def range(self) -> float: ...

    @range.setter
    def range(self, arg: float, /) -> None: ...

    @property
    def right_ascension(self) -> float: ...

    @right_ascension.setter
    def right_ascension(self, arg: float, /) -> None: ...

    @property
    def declination(self) -> float: ...

    @declination.setter
    def declination(self, arg: float, /) -> None: ...

    def to_cartesian(self) -> CartesianVector: ...

class EquinoctialElements:
    """
    Equinoctial elements a_f, a_g, chi, psi, mean longitude (degrees) and mean motion (revolutions per day).
    """

    def __init__(self, a_f: float, a_g: float, chi: float, psi: float, mean_longitude: float, mean_motion: float) -> None: ...

    @property
    def mean_motion(self) -> float: ...

    def to_keplerian(self) -> KeplerianElements: ...

class GeodeticPosition:
    """Latitude and longitude (degrees) and altitude (km)."""

    def __init__(self, latitude: float, longitude: float, altitude: float) -> None: ...

    @property
    def latitude(self) -> float: ...

    @property
    def longitude(self) -> float: ...

    @property
    def altitude(self) -> float: ...

class OrbitPlotState:
    """One point of an orbit plot."""

    @property
    def latitude(self) -> float: ...

    @property
    def longitude(self) -> float: ...

    @property
    def altitude(self) -> float: ...

    @property
    def semi_major_axis(self) -> float: ...

    @property
    def eccentricity(self) -> float: ...

    @property
    def inclination(self) -> float: ...

    @property
    def raan(self) -> float: ...

    @property
    def radius(self) -> float: ...

    @property
    def apogee_radius(self) -> float: ...

    @property
    def perigee_radius(self) -> float: ...

    @property
    def epoch(self) -> time.Epoch: ...

class OrbitPlotData:
    """
    Parallel series of epochs, geodetic coordinates, elements and radii; every read returns a new list.
    """

    @property
    def satellite_id(self) -> str: ...

    @property
    def epochs(self) -> list[str]: ...

    @property
    def latitudes(self) -> list[float]: ...

    @property
    def longitudes(self) -> list[float]: ...

    @property
    def altitudes(self) -> list[float]: ...

    @property
    def semi_major_axes(self) -> list[float]: ...

    @property
    def eccentricities(self) -> list[float]: ...

    @property
    def inclinations(self) -> list[float]: ...

    @property
    def raans(self) -> list[float]: ...

    @property
    def radii(self) -> list[float]: ...

    @property
    def apogee_radii(self) -> list[float]: ...

    @property
    def perigee_radii(self) -> list[float]: ...

class RelativeState:
    """
    A secondary satellite's position and velocity relative to an origin satellite.
    """

    def __init__(self, epoch: time.Epoch, position: CartesianVector, velocity: CartesianVector, origin_id: str, secondary_id: str) -> None: ...

    @property
    def epoch(self) -> time.Epoch: ...

    @property
    def position(self) -> CartesianVector: ...

    @property
    def velocity(self) -> CartesianVector: ...

    @property
    def origin_satellite_id(self) -> str: ...

    @property
    def secondary_satellite_id(self) -> str: ...
