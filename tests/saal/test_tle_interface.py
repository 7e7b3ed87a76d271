"""TLEInterface: the engine's TLE library, straight through."""

import pytest

from talvoran.saal import TLEInterface as T

# The ISS in CelesTrak's "active" group of 2020-09-30 (engine/tests/data/catalog-20200930.tle).
L1 = "1 25544U 98067A   20274.82890554  .00002661  00000-0  56764-4 0  9993"
L2 = "2 25544  51.6441 185.7404 0001299 101.5310   5.1562 15.48814123248396"


def test_constants():
    names = [n for n in vars(T) if n.isupper()]
    assert len(names) == 69
    assert (T.XA_TLE_SATNUM, T.XA_TLE_EPOCH, T.XA_TLE_MNMOTN, T.XA_TLE_AGOMGP, T.XA_TLE_SIZE) == (
        0, 1, 25, 38, 64)
    assert (T.XS_TLE_OBJTYPE_11, T.XS_TLE_LENGTH, T.TLETYPE_XP, T.XF_TLE_SATNAME_12,
            T.XF_TLEFORM_CSV) == (13, 512, 4, 25, 1)


def test_arrays_round_trip_and_memory():
    xa, xs = T.lines_to_arrays(L1, L2)
    assert len(xa) == 64 and xa[T.XA_TLE_SATNUM] == 25544.0
    assert xs.startswith("U98067A")
    l1, l2 = T.arrays_to_lines(xa, xs)
    assert l1 == l1.strip() and l1[:63] == L1[:63]
    assert T.get_check_sums(L1, L2) == (3, 6)
    before = T.count_loaded()
    key = T.load_from_arrays(xa, xs)
    assert key > 0 and T.count_loaded() == before + 1
    T.remove_key(key)
    T.remove_key(0)   # not held: silently nothing
    assert T.count_loaded() == before


def test_failures_raise_runtime_error_with_the_engine_message():
    with pytest.raises(RuntimeError, match="."):
        T.lines_to_arrays("1 garbage", L2)
    with pytest.raises(RuntimeError):
        T.get_check_sums("1 short", L2)
    with pytest.raises(RuntimeError):
        T.load_from_arrays([float("nan")] * 64, "U")
    with pytest.raises(TypeError, match="xa_tle"):
        T.load_from_arrays([0.0] * 63, "U")


def test_overlong_lines_are_cut_not_overrun():
    xa, _ = T.lines_to_arrays(L1 + " " * 1000, L2 + "x" * 1000)
    assert xa[T.XA_TLE_SATNUM] == 25544.0
