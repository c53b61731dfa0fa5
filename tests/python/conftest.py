"""Paths the suite needs, from the environment ctest gives it, and the programs it compares with."""

import os
import subprocess
from pathlib import Path

import pytest

# Scratch files go where the test command keeps them (as the C++ tests do), when it says.
if os.environ.get("TEST_TMPDIR"):
    os.environ.setdefault("PYTEST_DEBUG_TEMPROOT", os.environ["TEST_TMPDIR"])


def _path(variable):
    value = os.environ.get(variable)
    if not value:
        pytest.exit(f"{variable} is not set: run the suite through ctest", returncode=2)
    return Path(value)


@pytest.fixture(scope="session")
def example():
    return _path("TOOLKIT_EXAMPLES") / "bladder_top1000.txt"


@pytest.fixture(scope="session")
def alignments():
    return _path("TOOLKIT_DISTCORR_DATA")


@pytest.fixture(scope="session")
def run_program():
    """Runs a built program (clusterer or distcorr) and returns its standard output."""
    programs = {"clusterer": _path("TOOLKIT_CLUSTERER"), "distcorr": _path("TOOLKIT_DISTCORR")}

    def run(name, *args):
        done = subprocess.run([str(programs[name]), *map(str, args)], capture_output=True,
                              text=True, check=True)
        return done.stdout

    return run
