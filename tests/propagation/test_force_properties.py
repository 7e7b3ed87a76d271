"""ForceProperties and the B* conversions."""

import pytest

from talvoran.propagation import (ForceProperties, b_star_to_drag_coefficient,
                                  drag_coefficient_to_b_star)


def test_derived_terms():
    f = ForceProperties(0.03, 1.0, 0.01, 1.0, 1.0, 0.0, 0.0)
    assert f.b_star == 0.01 / 12.741621
    assert f.drag_term == 0.01 and f.srp_term == 0.03
    f.mass = 2.0
    assert (f.drag_term, f.srp_term, f.b_star) == (0.005, 0.015, 0.005 / 12.741621)


def test_srp_area_is_write_only():
    f = ForceProperties(0.03, 1.0, 0.01, 1.0, 1.0, 0.0, 0.0)
    f.srp_area = 3.0
    assert f.srp_term == pytest.approx(0.09)
    with pytest.raises(AttributeError):
        f.srp_area


def test_setters_convert_and_name_the_property():
    f = ForceProperties(0.03, 1.0, 0.01, 1.0, 1.0, 0.0, 0.0)
    f.drag_coefficient = 2       # any number convertible to float
    assert f.drag_coefficient == 2.0
    with pytest.raises(TypeError):
        f.drag_coefficient = "0.1"
    with pytest.raises(AttributeError, match="^can't delete attribute$"):
        del f.mass
    with pytest.raises(AttributeError, match="^can't delete attribute$"):
        del f.srp_area


def test_b_star_round_trip():
    b = 2.8098e-05
    assert b_star_to_drag_coefficient(b) == b * 12.741621
    assert drag_coefficient_to_b_star(b_star_to_drag_coefficient(b)) == pytest.approx(b, rel=2.3e-16)
