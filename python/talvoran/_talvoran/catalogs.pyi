from . import elements


class TLECatalog:
    """Element sets keyed by TLE id; each is the catalog's own copy."""

    def __init__(self) -> None: ...

    @staticmethod
    def from_tle_file(file_path: str) -> TLECatalog:
        """Reads a file of two-line or three-line element sets (name line first)."""

    @property
    def name(self) -> str | None: ...

    @name.setter
    def name(self, arg: str | None, /) -> None: ...

    @property
    def count(self) -> int: ...

    def keys(self) -> list[str]: ...

    def add(self, tle: elements.TLE) -> None:
        """Stores a copy of `tle` under its id, replacing any entry there."""

    def get(self, satellite_id: str) -> elements.TLE | None:
        """A copy of the element set stored under `satellite_id`, or None."""

    def __getitem__(self, satellite_id: str) -> elements.TLE: ...

    def remove(self, satellite_id: str) -> None: ...

    def clear(self) -> None: ...

    def get_plot_data(self) -> elements.OrbitPlotData:
        """One point per element set at its own epoch, from its stored elements."""
