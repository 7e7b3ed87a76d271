"""SAALError and the internal-error exception."""

import pytest

import talvoran
from talvoran import _talvoran


def test_saal_error_is_a_plain_exception():
    err = _talvoran.exceptions.SAALError
    assert issubclass(err, Exception)
    assert err.__qualname__ == "SAALError"
    assert err.__module__ == "talvoran.exceptions"
    assert err.__doc__ is None
    assert err.__bases__ == (Exception,)
    with pytest.raises(Exception, match="^bad file$"):
        raise err("bad file")


def test_internal_error_is_not_an_exception():
    assert issubclass(talvoran.InternalError, BaseException)
    assert not issubclass(talvoran.InternalError, Exception)
    assert talvoran.InternalError.__module__ == "talvoran"


def test_internal_error_carries_the_failure_text():
    # The worker pool's size is fixed once it exists: a second sizing is an internal failure.
    talvoran.get_thread_count()
    with pytest.raises(talvoran.InternalError) as info:
        talvoran.set_thread_count(1)
    assert len(info.value.args) == 1
    assert "its size cannot be changed" in info.value.args[0]
    # An `except Exception` handler does not catch it.
    try:
        try:
            talvoran.set_thread_count(1)
        except Exception:  # noqa: BLE001 - the point of the test
            pytest.fail("the internal-error exception must not be an Exception")
    except talvoran.InternalError:
        pass
