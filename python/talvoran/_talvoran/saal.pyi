from collections.abc import Sequence

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

class TLEInterface:
    """The engine's two-line element set library."""

    @staticmethod
    def lines_to_arrays(line_1: str, line_2: str) -> tuple[list[float], str]: ...

    @staticmethod
    def arrays_to_lines(xa_tle: Sequence[float], xs_tle: str) -> tuple[str, str]: ...

    @staticmethod
    def load_from_arrays(xa_tle: Sequence[float], xs_tle: str) -> int: ...

    @staticmethod
    def get_check_sums(line_1: str, line_2: str) -> tuple[int, int]: ...

    @staticmethod
    def remove_key(sat_key: int) -> None: ...

    @staticmethod
    def remove_all() -> None: ...

    @staticmethod
    def count_loaded() -> int:
        """Number of element sets in the engine's memory."""

    XA_TLE_SATNUM: int = 0

    XA_TLE_EPOCH: int = 1

    XA_TLE_NDOT: int = 2

    XA_TLE_SP_BTERM: int = 2

    XA_TLE_NDOTDOT: int = 3

    XA_TLE_SP_OGPARM: int = 3

    XA_TLE_BSTAR: int = 4

    XA_TLE_SP_AGOM: int = 4

    XA_TLE_EPHTYPE: int = 5

    XA_TLE_INCLI: int = 20

    XA_TLE_NODE: int = 21

    XA_TLE_ECCEN: int = 22

    XA_TLE_OMEGA: int = 23

    XA_TLE_MNANOM: int = 24

    XA_TLE_MNMOTN: int = 25

    XA_TLE_REVNUM: int = 26

    XA_TLE_ELSETNUM: int = 30

    XA_TLE_ORGSATNUM: int = 31

    XA_TLE_BTERM: int = 32

    XA_TLE_OBSTIME: int = 33

    XA_TLE_EGR: int = 34

    XA_TLE_EDR: int = 35

    XA_TLE_VISMAG: int = 36

    XA_TLE_RCS: int = 37

    XA_TLE_AGOMGP: int = 38

    XA_TLE_SIZE: int = 64

    XS_TLE_SECCLASS_0_1: int = 0

    XS_TLE_SECCLASS_1: int = 0

    XS_TLE_SATNAME_1_12: int = 1

    XS_TLE_SATNAME_12: int = 1

    XS_TLE_OBJTYPE_13_1: int = 13

    XS_TLE_OBJTYPE_11: int = 13

    XS_TLE_SIZE: int = 512

    XS_TLE_LENGTH: int = 512

    TLETYPE_SGP: int = 0

    TLETYPE_SGP4: int = 2

    TLETYPE_XP: int = 4

    TLETYPE_SP: int = 6

    XF_TLE_SATNUM: int = 1

    XF_TLE_CLASS: int = 2

    XF_TLE_SATNAME: int = 3

    XF_TLE_EPOCH: int = 4

    XF_TLE_BSTAR: int = 5

    XF_TLE_SP_AGOM: int = 5

    XF_TLE_EPHTYPE: int = 6

    XF_TLE_ELSETNUM: int = 7

    XF_TLE_INCLI: int = 8

    XF_TLE_NODE: int = 9

    XF_TLE_ECCEN: int = 10

    XF_TLE_OMEGA: int = 11

    XF_TLE_MNANOM: int = 12

    XF_TLE_MNMOTN: int = 13

    XF_TLE_REVNUM: int = 14

    XF_TLE_NDOT: int = 15

    XF_TLE_SP_BTERM: int = 15

    XF_TLE_NDOTDOT: int = 16

    XF_TLE_AGOMGP: int = 16

    XF_TLE_SP_OGPARM: int = 16

    XF_TLE_ORGSATNUM: int = 17

    XF_TLE_BTERM: int = 18

    XF_TLE_OBSTIME: int = 19

    XF_TLE_EGR: int = 20

    XF_TLE_EDR: int = 21

    XF_TLE_VISMAG: int = 22

    XF_TLE_RCS: int = 23

    XF_TLE_OBJTYPE: int = 24

    XF_TLE_SATNAME_12: int = 25

    XF_TLEFORM_ORG: int = 0

    XF_TLEFORM_CSV: int = 1
