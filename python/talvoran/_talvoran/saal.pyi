from . import enums


class MainInterface:
    @staticmethod
    def get_last_error_message() -> str:
        """The engine's last error message on this thread, unchanged."""

    @staticmethod
    def get_key_mode() -> enums.SAALKeyMode:
        """The key mode in force in the engine."""

    @staticmethod
    def set_key_mode(key_mode: enums.SAALKeyMode) -> None:
        """Sets the key mode of every engine memory library."""
