from . import time

from . import elements
from . import propagation


class Satellite:
    """
    A satellite: identity, orbit state, force properties and its SGP4 propagator.
    """

    def __init__(self) -> None:
        """A new satellite with no state and catalogue number 99999."""

    @staticmethod
    def from_tle(tle: elements.TLE) -> Satellite:
        """
        A satellite propagating a copy of `tle`, with its id, name and catalogue number.
        """

    @property
    def id(self) -> str: ...

    @id.setter
    def id(self, arg: str, /) -> None: ...

    @property
    def name(self) -> str | None: ...

    @name.setter
    def name(self, arg: str | None, /) -> None: ...

    @property
    def norad_id(self) -> int: ...

    @norad_id.setter
    def norad_id(self, arg: int, /) -> None: ...

    @property
    def keplerian_state(self) -> elements.KeplerianState | None: ...

    @keplerian_state.setter
    def keplerian_state(self, arg: elements.KeplerianState, /) -> None: ...

    @property
    def force_properties(self) -> propagation.ForceProperties: ...

    @force_properties.setter
    def force_properties(self, arg: propagation.ForceProperties, /) -> None: ...

    @property
    def periapsis(self) -> float | None:
        """Periapsis radius (km) of the state, or None without one."""

    @property
    def apoapsis(self) -> float | None:
        """Apoapsis radius (km) of the state, or None without one."""

    def get_state_at_epoch(self, epoch: time.Epoch) -> elements.CartesianState | None:
        """TEME state at `epoch`, or None without a propagator or on failure."""

    def step_to_epoch(self, epoch: time.Epoch) -> None:
        """Moves the satellite's element set to `epoch` (re-epoching the TLE)."""

    def to_tle(self) -> elements.TLE | None:
        """The satellite's state as a TLE, or None without a state."""

    def get_ephemeris(self, start_epoch: time.Epoch, end_epoch: time.Epoch, step: time.TimeSpan) -> elements.Ephemeris | None:
        """
        TEME states from `start_epoch` to `end_epoch` every `step` (at most a quarter of the span), built once per distinct request and cached; None when the satellite cannot be propagated.
        """
