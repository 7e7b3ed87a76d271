from . import time

from . import elements


class ForceProperties:
    """
    Radiation pressure, drag and mass terms, and the mean-motion derivatives of an element set.
    """

    def __init__(self, srp_coefficient: float, srp_area: float, drag_coefficient: float, drag_area: float, mass: float, mean_motion_dot: float, mean_motion_dot_dot: float) -> None: ...

    @property
    def srp_coefficient(self) -> float: ...

    @srp_coefficient.setter
    def srp_coefficient(self, arg: float, /) -> None: ...

    srp_area: float

    @property
    def drag_coefficient(self) -> float: ...

    @drag_coefficient.setter
    def drag_coefficient(self, arg: float, /) -> None: ...

    @property
    def drag_area(self) -> float: ...

    @drag_area.setter
    def drag_area(self, arg: float, /) -> None: ...

    @property
    def mass(self) -> float: ...

    @mass.setter
    def mass(self, arg: float, /) -> None: ...

    @property
    def mean_motion_dot(self) -> float: ...

    @mean_motion_dot.setter
    def mean_motion_dot(self, arg: float, /) -> None: ...

    @property
    def mean_motion_dot_dot(self) -> float: ...

    @mean_motion_dot_dot.setter
    def mean_motion_dot_dot(self, arg: float, /) -> None: ...

    @property
    def srp_term(self) -> float:
        """srp_area / mass * srp_coefficient"""

    @property
    def drag_term(self) -> float:
        """drag_area / mass * drag_coefficient"""

    @property
    def b_star(self) -> float:
        """drag_term / 12.741621"""

class InertialPropagator:
    """SGP4 propagation of one element set."""

    @staticmethod
    def from_tle(tle: elements.TLE) -> InertialPropagator:
        """A propagator of a copy of `tle`."""

    def get_cartesian_state_at_epoch(self, epoch: time.Epoch) -> elements.CartesianState | None:
        """TEME state at `epoch`, or None when SGP4 fails there."""

    def get_keplerian_state_at_epoch(self, epoch: time.Epoch) -> elements.KeplerianState | None:
        """SGP4 mean elements at `epoch`, or None when SGP4 fails there."""

    @property
    def keplerian_state(self) -> elements.KeplerianState: ...

    @property
    def force_properties(self) -> ForceProperties: ...

class SGP4Output:
    """
    The mean and osculating elements, geodetic position and TEME state of one SGP4 result.
    """

    @property
    def mean_elements(self) -> elements.KeplerianElements: ...

    @property
    def osculating_elements(self) -> elements.KeplerianElements: ...

    @property
    def geodetic_position(self) -> elements.GeodeticPosition: ...

    @property
    def cartesian_state(self) -> elements.CartesianState: ...

def b_star_to_drag_coefficient(b_star: float) -> float:
    """The drag term of a B*: b_star * 12.741621."""

def drag_coefficient_to_b_star(drag_coefficient: float) -> float:
    """The B* of a drag term: drag_coefficient / 12.741621."""
