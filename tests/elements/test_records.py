"""GeodeticPosition and RelativeState: plain records."""

import pytest

from talvoran.elements import CartesianVector, GeodeticPosition, RelativeState
from talvoran.enums import TimeSystem
from talvoran.time import Epoch


def test_geodetic_position():
    g = GeodeticPosition(21.5, -158.0, 0.3)
    assert (g.latitude, g.longitude, g.altitude) == (21.5, -158.0, 0.3)
    assert g != GeodeticPosition(21.5, -158.0, 0.3)   # no comparison of its own
    with pytest.raises(AttributeError):
        g.latitude = 0.0


def test_relative_state():
    epoch = Epoch.from_days_since_1950(27000.0, TimeSystem.UTC)
    r = RelativeState(epoch, CartesianVector(1.0, 2.0, 3.0), CartesianVector(0.1, 0.2, 0.3), "A",
                      "B")
    assert r.origin_satellite_id == "A" and r.secondary_satellite_id == "B"
    assert r.epoch == epoch and r.position.y == 2.0 and r.velocity.z == 0.3
    assert r.position is not r.position   # reads are copies
