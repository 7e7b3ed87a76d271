"""TimeComponents: fields, the ISO reader and writer, repr and equality."""

import math

import pytest

import talvoran
from talvoran.time import TimeComponents


@pytest.mark.parametrize("fields, iso", [
    ((2024, 1, 2, 3, 4, 5.0), "2024-01-02T03:04:05.000"),
    ((2024, 1, 2, 3, 4, 5.25), "2024-01-02T03:04:05.250"),
    ((12345, 1, 2, 3, 4, 5.0), "12345-01-02T03:04:05.000"),
    ((-5, 1, 2, 3, 4, 5.0), "-005-01-02T03:04:05.000"),
    ((2024, 13, 40, 25, 61, 123.4567), "2024-13-40T25:61:123.457"),
    ((2024, 1, 1, 0, 0, 59.9996), "2024-01-01T00:00:60.000"),  # nothing carries into minutes
    ((2024, 1, 1, 0, 0, 0.0005), "2024-01-01T00:00:00.001"),   # the double is just above the tie
    ((2024, 1, 1, 0, 0, 0.0625), "2024-01-01T00:00:00.062"),   # exact tie rounds to even
    ((2024, 1, 1, 0, 0, -1.5), "2024-01-01T00:00:-1.500"),
])
def test_iso_writer(fields, iso):
    c = TimeComponents(*fields)
    assert c.to_iso() == iso
    assert str(c) == iso


@pytest.mark.parametrize("text, fields", [
    ("2024-03-01T12:30:45.5Z", (2024, 3, 1, 12, 30, 45.5)),
    ("2024-03-01T12:30:45", (2024, 3, 1, 12, 30, 45.0)),
    ("2024-3-1T1:2:3", (2024, 3, 1, 1, 2, 3.0)),
    ("2024-03-01T12:30:45Z:99", (2024, 3, 1, 12, 30, 45.0)),
    ("2024-03-01-07T12:30:45", (2024, 3, 1, 12, 30, 45.0)),      # surplus date piece ignored
    ("2024-03-01T12:30:45TXX", (2024, 3, 1, 12, 30, 45.0)),      # surplus "T" piece ignored
    ("+2024-03-01T12:30:4.5e1", (2024, 3, 1, 12, 30, 45.0)),
    ("2024-03-01T12:30:.5", (2024, 3, 1, 12, 30, 0.5)),
    ("2024-03-01T12:30:7.", (2024, 3, 1, 12, 30, 7.0)),
    ("2024-03-01T1Z2:3Z0:4Z5", (2024, 3, 1, 12, 30, 45.0)),     # every Z removed
    ("2024-13-40T25:-1:75.5", (2024, 13, 40, 25, -1, 75.5)),    # unchecked
    ("2147483647-1-1T0:0:0", (2147483647, 1, 1, 0, 0, 0.0)),
    ("2024-01-01T00:00:-Infinity", (2024, 1, 1, 0, 0, -math.inf)),
])
def test_iso_reader_accepts(text, fields):
    c = TimeComponents.from_iso(text)
    assert (c.year, c.month, c.day, c.hour, c.minute, c.second) == fields


@pytest.mark.parametrize("text", [
    "2024-03-01 12:30:45",          # no T
    "2024-03-01T12:30",             # two time pieces
    "2024-03-01T12:30:45+00:00",    # second piece "45+00"
    "-0500-01-01T00:00:00",         # empty year piece
    "2024-03T12:30:45",             # two date pieces
    "2024-03-01T12:30:45 ",         # whitespace is not trimmed
    " 2024-03-01T12:30:45",
    "2024-03-01T12:30:",            # empty second
    "2024-03-01T12:30:1e",          # exponent without digits
    "2024-03-01T12:30:.",           # no digits
    "2024-03-01T12:30:0x1p3",
    "2024-+-3-01T12:30:45",         # two signs
    "2024-03-01T12:30:++1",
    "2147483648-01-01T00:00:00",    # out of int32
    "99999999999999999999-01-01T00:00:00",
    "2024-03-01T12:30:nanx",
    "",
])
def test_iso_reader_rejects_with_the_internal_error(text):
    with pytest.raises(talvoran.InternalError):
        TimeComponents.from_iso(text)


def test_round_trip_drops_the_zone_letter():
    assert TimeComponents.from_iso("2024-01-02T03:04:05.123Z").to_iso() == "2024-01-02T03:04:05.123"


@pytest.mark.parametrize("second, text", [
    (0.0, "0"), (30.0, "30"), (1e-7, "0.0000001"), (-0.0, "-0"), (45.5, "45.5"),
    (0.1, "0.1"), (math.nan, "NaN"), (math.inf, "inf"), (-math.inf, "-inf"), (1e22, "10000000000000000000000"),
])
def test_repr(second, text):
    c = TimeComponents(2024, 1, 2, 3, 4, second)
    assert repr(c) == (f"TimeComponents(year=2024, month=1, day=2, hour=3, minute=4, "
                       f"second={text})")


@pytest.mark.parametrize("a, b, eq, ne", [
    (0.0, 1e-16, True, False),
    (0.0, 1e-15, False, True),
    (0.0, 2.220446049250313e-16, False, True),   # the epsilon itself is not "less than"
    (59.0, 59.0 + 1e-14, False, True),           # absolute, not relative
    (math.nan, math.nan, False, False),
    (math.nan, 1.0, False, False),
])
def test_equality_of_seconds(a, b, eq, ne):
    x, y = TimeComponents(2024, 1, 2, 3, 4, a), TimeComponents(2024, 1, 2, 3, 4, b)
    assert (x == y) is eq and (x != y) is ne


@pytest.mark.parametrize("field", ["year", "month", "day", "hour", "minute"])
def test_an_integer_field_decides_equality(field):
    x, y = TimeComponents(2024, 1, 2, 3, 4, 5.0), TimeComponents(2024, 1, 2, 3, 4, 5.0)
    setattr(y, field, getattr(y, field) + 1)
    assert x != y and not (x == y)


def test_comparisons_with_other_types_and_no_ordering():
    c = TimeComponents(2024, 1, 2, 3, 4, 5.0)
    assert c != "2024-01-02T03:04:05.000" and not (c == 5)
    with pytest.raises(TypeError):
        c < c
    with pytest.raises(TypeError, match="unhashable"):
        hash(c)


def test_fields_are_read_write_and_not_deletable():
    c = TimeComponents(2024, 1, 2, 3, 4, 5.0)
    c.year, c.month, c.day, c.hour, c.minute, c.second = -1, 13, 0, 99, -7, 75.5
    assert (c.year, c.month, c.day, c.hour, c.minute, c.second) == (-1, 13, 0, 99, -7, 75.5)
    for field in ("year", "second"):
        with pytest.raises(AttributeError, match="^can't delete attribute$"):
            delattr(c, field)


@pytest.mark.parametrize("bad", [2**31, -2**31 - 1, 2**70])
def test_integers_outside_int32_overflow(bad):
    with pytest.raises(OverflowError):
        TimeComponents(bad, 1, 1, 0, 0, 0.0)
    c = TimeComponents(2**31 - 1, 1, 1, 0, 0, 0.0)
    with pytest.raises(OverflowError):
        c.minute = bad
    assert c.minute == 0


def test_wrong_types_name_the_argument():
    with pytest.raises(TypeError, match="second"):
        TimeComponents(2024, 1, 1, 0, 0, "5")
    with pytest.raises(TypeError, match="year"):
        TimeComponents(2024.0, 1, 1, 0, 0, 5.0)
