# The parameter search, the reliability methods and the sensitivity tables give what the batch
# mode prints for the same project and seed.
import pytest

import probex
from conftest import EXAMPLES


def printed(text, prefix):
    return [line[len(prefix):] for line in text.splitlines() if line.startswith(prefix)]


def test_the_parameter_found_is_the_batch_mode_s(settings, batch):
    p = probex.Project.open(str(EXAMPLES / "design-load.pxw"), settings=settings)
    r = p.run(steps=20000, seed=3)
    said = batch(EXAMPLES / "design-load.pxw", "--steps", 20000, "--seed", 3)
    assert p.evaluation.mode == "Parameter"
    assert printed(said, "Parameter: ") == [r.probability.text]
    assert r.parameter == pytest.approx(float(r.probability.text))


def test_form_gives_the_batch_mode_s_design_point(settings, batch):
    p = probex.Project.open(str(EXAMPLES / "beam.pxw"), settings=settings)
    p.evaluation.method = "form"
    r = p.run(steps=2000, seed=3)
    said = batch(EXAMPLES / "beam.pxw", "--steps", 2000, "--seed", 3, "--method", "form")
    found = r.reliability
    assert found["method"] == "FORM" and r.probability.count is None
    assert printed(said, "Beta: ") == [f"{found['beta']:.8f}"]
    assert found["lines"] == said.splitlines()[-4:]
    assert sum(c["importance"] for c in found["design_point"]) == pytest.approx(1)


def test_sensitivity_indices_are_the_batch_mode_s(settings, batch):
    p = probex.Project.open(str(EXAMPLES / "beam.pxw"), settings=settings)
    r = p.run(steps=2000, seed=3, sensitivity=True)
    said = batch(EXAMPLES / "beam.pxw", "--steps", 2000, "--seed", 3, "--sensitivity")
    rows = [line.split("\t") for line in printed(said, "Sensitivity\t")]
    for output, table in (("Z", r.sensitivity("Z")), ("Failure event", r.sensitivity())):
        expected = [row for row in rows if row[0] == output]
        assert [row[1] for row in expected] == [t["input"] for t in table]
        for row, t in zip(expected, table):
            assert float(row[2]) == pytest.approx(t["rank_correlation"], abs=5e-5)
    with pytest.raises(ValueError, match="sensitivity=True"):
        p.run(steps=100, seed=3).sensitivity("Z")
