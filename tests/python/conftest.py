# The module under test comes from the build tree (PYTHONPATH), the program beside it
# (PROBEX_BINARY) and the examples from the sources (PROBEX_SOURCE_DIR); ctest sets all three.
import os
import pathlib
import subprocess

import pytest

SOURCE_DIR = pathlib.Path(os.environ.get("PROBEX_SOURCE_DIR", pathlib.Path(__file__).parents[2]))
EXAMPLES = SOURCE_DIR / "examples"


@pytest.fixture
def settings(tmp_path):
    """A settings file of the program's defaults, for the module and the program alike."""
    path = tmp_path / "Probex.ini"
    path.write_text("[Settings]\n")
    return str(path)


@pytest.fixture
def batch(settings):
    """Runs probex --batch with the test's settings; returns its standard output, or the
    finished process when a failure is expected."""
    def run(*args, fails=False):
        done = subprocess.run([os.environ["PROBEX_BINARY"], "--batch", *map(str, args),
                               "--settings", settings],
                              capture_output=True, text=True, check=not fails)
        return done if fails else done.stdout
    return run
