"""The exception raised for talvoran's internal failures."""


class InternalError(BaseException):
    """An internal failure of talvoran: a broken invariant, or an engine call that was not
    expected to fail.

    It derives from BaseException, not Exception, so that ``except Exception`` handlers written
    for ordinary errors do not hide it. Its single argument is the failure text.
    """


InternalError.__module__ = "talvoran"
