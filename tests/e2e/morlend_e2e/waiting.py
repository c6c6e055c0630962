"""Waits for a condition with a deadline; journeys never sleep for a fixed time."""

import time

# Long enough for a loaded machine that runs several suites at once; a condition that
# holds returns at once, so only a failing journey waits this long.
DEFAULT_TIMEOUT = 20.0


class WaitTimeout(AssertionError):
    pass


def wait_until(condition, what, timeout=DEFAULT_TIMEOUT, interval=0.03):
    """Returns the condition's first true value; fails naming `what` and the last value."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() >= deadline:
            raise WaitTimeout(f'waited {timeout:g} s for {what}; last seen: {value!r}')
        time.sleep(interval)
