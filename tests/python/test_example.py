# The example of the README and the manual runs, with or without matplotlib.
import os
import subprocess
import sys

from conftest import EXAMPLES, SOURCE_DIR


def test_the_load_sweep_example_runs_and_is_the_one_documented():
    script = (EXAMPLES / "load-sweep.py").read_text()
    for document in ("README.md", "docs/help/index.html"):
        text = (SOURCE_DIR / document).read_text().replace("&lt;", "<").replace("&gt;", ">")
        for line in script.splitlines():
            if line.strip() and not line.startswith("#"):
                assert line.strip() in text, (document, line)
    done = subprocess.run([sys.executable, "load-sweep.py"], cwd=EXAMPLES, env=os.environ,
                          capture_output=True, text=True, check=True)
    rates = [float(line.split()[3]) for line in done.stdout.splitlines()]
    assert len(rates) == 7 and rates == sorted(rates) and rates[0] > 0
