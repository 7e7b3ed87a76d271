"""MainInterface: the engine's last-error text and key mode."""

import subprocess
import sys

import pytest

from talvoran import enums
from talvoran.saal import MainInterface


@pytest.fixture
def restore_key_mode():
    mode = MainInterface.get_key_mode()
    yield
    MainInterface.set_key_mode(mode)


def test_key_mode_is_direct_memory_access_after_import():
    out = subprocess.run(
        [sys.executable, "-c",
         "from talvoran.saal import MainInterface as M; print(repr(M.get_key_mode()))"],
        capture_output=True, text=True, check=True)
    assert out.stdout.strip() == "SAALKeyMode.DirectMemoryAccess"


@pytest.mark.parametrize("mode", [enums.SAALKeyMode.NoDuplicates,
                                  enums.SAALKeyMode.DirectMemoryAccess])
def test_set_and_get_key_mode(mode, restore_key_mode):
    assert MainInterface.set_key_mode(mode) is None
    assert MainInterface.get_key_mode() == mode


def test_set_key_mode_names_its_parameter_on_a_wrong_type(restore_key_mode):
    for bad in (enums.TimeSystem.UTC, 1, None):
        with pytest.raises(TypeError, match="key_mode"):
            MainInterface.set_key_mode(bad)
    with pytest.raises(TypeError):
        MainInterface.set_key_mode(key_mode=0)
    MainInterface.set_key_mode(key_mode=enums.SAALKeyMode.NoDuplicates)
    assert MainInterface.get_key_mode() == enums.SAALKeyMode.NoDuplicates


def test_last_error_message_is_a_string():
    assert isinstance(MainInterface.get_last_error_message(), str)


def test_no_constructor():
    with pytest.raises(TypeError, match="^No constructor defined for MainInterface$"):
        MainInterface()
