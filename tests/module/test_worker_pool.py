"""The process-wide worker pool. Its size is fixed once built, so every case runs in a fresh
interpreter."""

import os
import subprocess
import sys
import textwrap

import pytest


def run(code: str) -> subprocess.CompletedProcess:
    return subprocess.run([sys.executable, "-c", textwrap.dedent(code)], capture_output=True,
                          text=True, timeout=60)


def test_default_size_is_one_thread_per_core_and_then_fixed():
    out = run("""
        import talvoran
        n = talvoran.get_thread_count()
        print(n)
        try:
            talvoran.set_thread_count(2)
        except talvoran.InternalError as e:
            print("refused")
        print(talvoran.get_thread_count())
    """)
    assert out.returncode == 0, out.stderr
    first, refused, again = out.stdout.split()
    assert int(first) == len(os.sched_getaffinity(0)) or int(first) == os.cpu_count()
    assert refused == "refused" and again == first


@pytest.mark.parametrize("count, expected", [(2, 2), (1, 1), (5, 5)])
def test_explicit_size_sticks(count, expected):
    out = run(f"""
        import talvoran
        assert talvoran.set_thread_count({count}) is None
        assert talvoran.get_thread_count() == {expected}
        try:
            talvoran.set_thread_count(4)
            raise SystemExit("resized")
        except talvoran.InternalError:
            pass
        assert talvoran.get_thread_count() == {expected}
    """)
    assert out.returncode == 0, out.stderr


def test_zero_means_one_thread_per_core():
    out = run("""
        import os, talvoran
        talvoran.set_thread_count(0)
        assert talvoran.get_thread_count() in (os.cpu_count(), len(os.sched_getaffinity(0)))
    """)
    assert out.returncode == 0, out.stderr


@pytest.mark.parametrize("count, error", [
    (-1, OverflowError),
    (2**64, OverflowError),
    (10**6, ValueError),
    ("2", TypeError),
    (2.0, TypeError),
])
def test_bad_counts_are_refused_before_the_pool_exists(count, error):
    out = run(f"""
        import talvoran
        try:
            talvoran.set_thread_count({count!r})
            raise SystemExit("accepted")
        except {error.__name__}:
            pass
        # Nothing was built: a valid size is still accepted.
        talvoran.set_thread_count(2)
        assert talvoran.get_thread_count() == 2
    """)
    assert out.returncode == 0, out.stderr
