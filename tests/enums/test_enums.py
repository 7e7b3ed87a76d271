"""The nine enumerations: members, codes, values, text forms, equality and what they refuse."""

import pytest

from talvoran import enums

# (enumeration, [(member, code, value)]) in declaration order.
TABLE = [
    ("TimeSystem", [("UTC", 0, "UTC"), ("TAI", 1, "TAI"), ("UT1", 2, "UT1"), ("TT", 3, "TT")]),
    ("ReferenceFrame", [("TEME", 0, "TEME"), ("EFG", 1, "EFG"), ("ECR", 2, "ECR"),
                        ("J2000", 3, "J2000")]),
    ("KeplerianType", [("MeanKozaiGP", 0, 0), ("MeanBrouwerGP", 2, 2), ("MeanBrouwerXP", 4, 4),
                       ("Osculating", 6, 6)]),
    ("GeodeticModel", [("WGS72", 72, 72), ("WGS84", 84, 84), ("EGM96", 96, 96)]),
    ("Classification", [("Unclassified", 1, "U"), ("Confidential", 2, "C"), ("Secret", 3, "S")]),
    ("EquinoxType", [("MeanOfDate", 1, 1), ("J2000", 2, 2)]),
    ("CovarianceType", [("Inertial", 0, "Inertial"), ("Relative", 1, "Relative"),
                        ("Equinoctial", 2, "Equinoctial")]),
    ("AssociationConfidence", [("High", 0, "High"), ("Medium", 1, "Medium"), ("Low", 2, "Low")]),
    ("SAALKeyMode", [("NoDuplicates", 0, 0), ("DirectMemoryAccess", 1, 1)]),
]
MEMBERS = [(enum, *member) for enum, members in TABLE for member in members]
ENUMS = [enum for enum, _ in TABLE]


def test_registration_order():
    names = [n for n, v in vars(enums).items() if isinstance(v, type)]
    assert names == ["SAALKeyMode", "TimeSystem", "ReferenceFrame", "Classification",
                     "KeplerianType", "EquinoxType", "GeodeticModel", "CovarianceType",
                     "AssociationConfidence"]


@pytest.mark.parametrize("enum, member, code, value", MEMBERS)
def test_member(enum, member, code, value):
    m = getattr(getattr(enums, enum), member)
    assert int(m) == code
    assert m.value == value and type(m.value) is type(value)
    assert repr(m) == str(m) == f"{enum}.{member}"
    assert getattr(getattr(enums, enum), member) is m, "class attributes are created once"
    assert m == getattr(getattr(enums, enum), member)
    assert not (m != m)


@pytest.mark.parametrize("enum", ENUMS)
def test_members_of_one_enumeration_are_distinct(enum):
    members = [getattr(getattr(enums, enum), name) for name, _, _ in dict(TABLE)[enum]]
    for i, a in enumerate(members):
        for j, b in enumerate(members):
            assert (a == b) is (i == j)
            assert (a != b) is (i != j)


@pytest.mark.parametrize("a, b", [
    (enums.TimeSystem.UTC, 0),
    (enums.TimeSystem.UTC, enums.ReferenceFrame.TEME),  # both code 0
    (enums.GeodeticModel.WGS72, 72),
    (enums.Classification.Unclassified, "U"),
    (enums.EquinoxType.J2000, enums.ReferenceFrame.J2000),
])
def test_foreign_operands_are_never_equal(a, b):
    assert a != b and not (a == b)
    assert b != a and not (b == a)


@pytest.mark.parametrize("enum", ENUMS)
def test_no_ordering_no_hash_no_constructor(enum):
    cls = getattr(enums, enum)
    first = getattr(cls, dict(TABLE)[enum][0][0])
    for op in ("__lt__", "__le__", "__gt__", "__ge__"):
        with pytest.raises(TypeError):
            getattr(__import__("operator"), op)(first, first)
    with pytest.raises(TypeError, match="unhashable"):
        hash(first)
    with pytest.raises(TypeError, match="unhashable"):
        {first}
    for args in ((), (0,)):
        with pytest.raises(TypeError) as info:
            cls(*args)
        assert str(info.value) == f"No constructor defined for {enum}"


def test_value_is_read_only():
    with pytest.raises(AttributeError):
        enums.TimeSystem.UTC.value = "TAI"
