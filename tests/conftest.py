"""Fixtures shared by the test folders."""

import pytest

from talvoran.saal import TLEInterface


@pytest.fixture
def loaded_before():
    """The number of element sets in the engine's memory before the test; after it, the same
    number must be there again: whatever the test made and dropped released its keys."""
    start = TLEInterface.count_loaded()
    yield start
    assert TLEInterface.count_loaded() == start, "element-set keys were left behind"
