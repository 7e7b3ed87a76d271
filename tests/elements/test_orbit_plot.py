"""OrbitPlotData and OrbitPlotState are read-only records with no constructor."""

import pytest

from talvoran.elements import OrbitPlotData, OrbitPlotState


@pytest.mark.parametrize("cls", [OrbitPlotData, OrbitPlotState])
def test_no_constructor(cls):
    with pytest.raises(TypeError, match=f"^No constructor defined for {cls.__name__}$"):
        cls()
