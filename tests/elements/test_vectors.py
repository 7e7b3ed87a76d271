"""CartesianVector and SphericalVector."""

import math

import pytest

from talvoran.elements import CartesianVector, SphericalVector


@pytest.mark.parametrize("xyz, spherical", [
    ((0.0, -1.0, 0.0), (1.0, -90.0, 0.0)),      # right ascension is not wrapped to [0, 360)
    ((0.0, 0.0, 0.0), (0.0, 0.0, 0.0)),
    ((1.0, 1.0, math.sqrt(2.0)), (2.0, 45.0, 45.0)),
    ((-1.0, 0.0, 0.0), (1.0, 180.0, 0.0)),
    ((0.0, 0.0, -3.0), (3.0, 0.0, -90.0)),
])
def test_to_spherical(xyz, spherical):
    s = CartesianVector(*xyz).to_spherical()
    assert (s.range, s.right_ascension, s.declination) == pytest.approx(spherical, abs=1e-12)


@pytest.mark.parametrize("xyz", [(7000.0, -1234.5, 42.0), (-1e-3, 2e-3, -3e-3), (0.0, 0.0, 1.0)])
def test_round_trip(xyz):
    c = CartesianVector(*xyz).to_spherical().to_cartesian()
    assert (c.x, c.y, c.z) == pytest.approx(xyz, rel=1e-14, abs=1e-15)


@pytest.mark.parametrize("u, v, angle", [
    ((1, 0, 0), (-2, 0, 0), math.pi),
    ((1, 0, 0), (0, 5, 0), math.pi / 2),
    ((0, 0, 0), (1, 2, 3), 0.0),
    ((1, 2, 3), (2, 4, 6), 0.0),
])
def test_angle(u, v, angle):
    assert CartesianVector(*u).angle(CartesianVector(*v)) == pytest.approx(angle, abs=2e-8)


def test_arithmetic_and_measures():
    a, b = CartesianVector(1.0, 2.0, 2.0), CartesianVector(4.0, 6.0, 2.0)
    assert a.magnitude == 3.0
    assert a.dot(b) == 20.0
    assert a.distance(b) == 5.0
    s, d = a + b, b - a
    assert (s.x, s.y, s.z) == (5.0, 8.0, 4.0) and (d.x, d.y, d.z) == (3.0, 4.0, 0.0)
    with pytest.raises(TypeError):
        a + (1.0, 2.0, 3.0)
    with pytest.raises(TypeError):
        a - 1.0
    assert a != CartesianVector(1.0, 2.0, 2.0)     # no comparison of its own: identity
    with pytest.raises(AttributeError):
        a.x = 0.0


def test_spherical_fields_are_read_write():
    s = SphericalVector(1.0, 2.0, 3.0)
    s.range, s.right_ascension, s.declination = 4.0, 400.0, -100.0   # no checks
    assert (s.range, s.right_ascension, s.declination) == (4.0, 400.0, -100.0)
    with pytest.raises(AttributeError, match="^can't delete attribute$"):
        del s.range
