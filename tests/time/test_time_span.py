"""TimeSpan: constructors multiply by rounded reciprocals, readers by exact factors."""

import pytest

from talvoran.time import TimeSpan


@pytest.mark.parametrize("make, arg, read, expected", [
    ("from_seconds", 86400.0, "in_days", 1.0),
    ("from_days", 1.5, "in_hours", 36.0),
    ("from_hours", 7.0, "in_hours", 6.999999999999999),   # 7 * fl(1/24) * 24
    ("from_minutes", 90.0, "in_minutes", 90.0),
    ("from_hours", -2.0, "in_minutes", -120.0),
    ("from_days", -0.25, "in_seconds", -21600.0),
    ("from_days", 0.0, "in_days", 0.0),
])
def test_constructors_and_readers(make, arg, read, expected):
    assert getattr(getattr(TimeSpan, make)(arg), read)() == expected


def test_no_constructor_and_identity_semantics():
    with pytest.raises(TypeError, match="^No constructor defined for TimeSpan$"):
        TimeSpan()
    a, b = TimeSpan.from_days(1.0), TimeSpan.from_days(1.0)
    assert a != b and a == a
    assert {a: 1}[a] == 1  # hashable by identity
    with pytest.raises(TypeError):
        a + b
    with pytest.raises(TypeError):
        a < b
