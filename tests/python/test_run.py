# A run from Python gives the figures of the program's batch run on the same project and seed.
import threading

import numpy
import pytest

import probex
from conftest import EXAMPLES


def parse_batch(text):
    statistics, probability = {}, {}
    for line in text.splitlines():
        fields = line.split("\t")
        if len(fields) == 6 and fields[0] != "Variable":
            statistics[fields[0]] = [float(f) for f in fields[1:]]
        elif line.startswith("Probability: "):
            probability["value"] = float(line.split()[1])
        elif line.startswith("Interval: "):
            words = line.replace(",", "").split()
            probability["interval"] = (float(words[1]), float(words[2]))
            probability["count"], probability["steps"] = int(words[-3]), int(words[-1])
    return statistics, probability


def test_changed_project_runs_as_the_batch_mode_runs_it(tmp_path, settings, batch):
    p = probex.Project.open(str(EXAMPLES / "beam.pxw"), settings=settings)
    p.inputs["F"].mean = 60
    p.save(str(tmp_path / "beam60.pxw"))
    r = p.run(steps=20000, seed=12345)
    printed = batch(tmp_path / "beam60.pxw", "--steps", 20000, "--seed", 12345,
                    "--results", tmp_path / "results")
    statistics, probability = parse_batch(printed)

    assert r.steps == 20000 and not r.stopped
    for name in ("S", "R", "Z"):
        figures = r.statistics(name)
        steps, low, high, mean, stdev = statistics[name]
        assert figures["steps"] == steps
        # The batch prints ten significant digits, at most eight decimals.
        for value, text in zip((figures["min"], figures["max"], figures["mean"], figures["stdev"]),
                               (low, high, mean, stdev)):
            assert value == pytest.approx(text, rel=1e-9, abs=1e-8)
    pf = r.probability
    assert (pf.count, pf.steps) == (probability["count"], probability["steps"])
    assert pf.value == pytest.approx(probability["value"], abs=1e-8)
    assert pf.interval == pytest.approx(probability["interval"], rel=0.02)
    assert 0 < pf.cov < 1

    # The log file holds S, R and Z, one step a line, rounded to ten digits.
    logged = numpy.loadtxt(tmp_path / "results" / "beam60.log", delimiter=",")
    z = r.log("Z")
    assert z.dtype == numpy.float64 and z.shape == (20000,)
    numpy.testing.assert_allclose(z, logged[:, 2], rtol=1e-9, atol=1e-8)

    edges, counts = r.histogram("Z")
    assert counts.sum() == 20000 and len(edges) == len(counts) + 1
    assert edges[0] <= z.min() and z.max() <= edges[-1]
    assert (z <= r.quantile("Z", 0.5)).mean() == pytest.approx(0.5, abs=0.01)


def test_results_in_memory_equal_the_batch_result_files(tmp_path, settings, batch):
    p = probex.Project.open(str(EXAMPLES / "beam.pxw"), settings=settings)
    r = p.run(steps=3000, seed=7)
    r.save_results(str(tmp_path / "module"))
    batch(EXAMPLES / "beam.pxw", "--steps", 3000, "--seed", 7, "--results", tmp_path / "program")
    names = sorted(f.name for f in (tmp_path / "program").iterdir())
    assert names == sorted(f.name for f in (tmp_path / "module").iterdir())
    for name in names:
        assert (tmp_path / "module" / name).read_bytes() == \
            (tmp_path / "program" / name).read_bytes(), name


def test_a_change_or_another_run_discards_the_results(settings):
    p = probex.Project.open(str(EXAMPLES / "beam.pxw"), settings=settings)
    first = p.run(steps=1000, seed=1)
    second = p.run(steps=1000, seed=1)
    assert second.statistics("Z") == p.results.statistics("Z")
    with pytest.raises(RuntimeError, match="gone"):
        first.steps
    p.inputs["L"].max = 7
    with pytest.raises(RuntimeError, match="gone"):
        second.probability
    assert p.results is None


def test_a_stop_from_another_thread_keeps_what_was_gathered(settings):
    p = probex.Project.open(str(EXAMPLES / "beam.pxw"), settings=settings)
    for name in p.outputs:
        p.outputs[name].activity = "Statistics"
    p.out_equations = ""
    stopper = threading.Timer(0.3, p.stop)
    stopper.start()
    r = p.run(steps=100_000_000, seed=3)
    stopper.join()
    assert r.stopped and 0 < r.steps < 100_000_000
    assert r.statistics("Z")["steps"] == r.steps


def test_ctrl_c_stops_the_run_as_stop_does(settings):
    import os
    import signal
    p = probex.Project.open(str(EXAMPLES / "beam.pxw"), settings=settings)
    for name in p.outputs:
        p.outputs[name].activity = "Statistics"
    p.out_equations = ""
    interrupt = threading.Timer(0.3, os.kill, (os.getpid(), signal.SIGINT))
    interrupt.start()
    with pytest.raises(KeyboardInterrupt):
        p.run(steps=100_000_000, seed=3)
    interrupt.join()
    assert p.results.stopped and 0 < p.results.steps < 100_000_000


def test_the_report_is_the_one_the_batch_mode_writes(tmp_path, settings, batch):
    import subprocess
    p = probex.Project.open(str(EXAMPLES / "beam.pxw"), settings=settings)
    p.run(steps=2000, seed=5).report(str(tmp_path / "module.pdf"))
    batch(EXAMPLES / "beam.pxw", "--steps", 2000, "--seed", 5, "--report", tmp_path / "program.pdf")

    def text(name):  # without the date, which may differ by a second
        done = subprocess.run(["pdftotext", str(tmp_path / name), "-"], capture_output=True,
                              text=True, check=True)
        return [line for line in done.stdout.splitlines() if not line.startswith("Date: ")]
    assert any("Probability" in line for line in text("module.pdf"))
    assert text("module.pdf") == text("program.pdf")


def test_threads_change_no_value_of_a_parallel_run(tmp_path):
    settings = tmp_path / "Probex.ini"
    settings.write_text("[Settings]\nGenerator=3\n")
    p = probex.Project.open(str(EXAMPLES / "beam.pxw"), settings=str(settings))
    one = p.run(steps=20000, seed=3, threads=1).log("Z")
    assert numpy.array_equal(one, p.run(steps=20000, seed=3, threads=2).log("Z"))
