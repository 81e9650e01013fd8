# Bad input gives Python exceptions with the program's messages.
import pytest

import probex
from conftest import EXAMPLES


@pytest.fixture
def beam(settings):
    return probex.Project.open(str(EXAMPLES / "beam.pxw"), settings=settings)


@pytest.mark.parametrize("name, value, message", [
    ("stdev", -1, "Must be StDev>0!"),
    ("min", 130, "Must be Min<Max!"),
])
def test_a_refused_parameter_leaves_the_input_as_it_was(beam, name, value, message):
    before = beam.inputs["F"].parameters
    with pytest.raises(ValueError, match=message):
        setattr(beam.inputs["F"], name, value)
    assert beam.inputs["F"].parameters == before


def test_a_parameter_the_kind_has_not_is_refused(beam):
    with pytest.raises(ValueError, match="has no parameter mode"):
        beam.inputs["F"].mode = 3
    beam.inputs["F"].kind = "triangular"
    beam.inputs["F"].max = 120
    beam.inputs["F"].mode = 60
    assert beam.inputs["F"].kind == "Triangular" and beam.inputs["F"].mode == 60


@pytest.mark.parametrize("equations, kind", [
    ("Z = R - S\nR = fy*1000*W\nS = F*L/", probex.CompileError),
    ("Z = R - S\nR = fy*1000*W\nS = F*L/1.5 +\n", probex.CompileError),
    ("Z = R - S\nR = fy*1000*W)\nS = F*L/1.5", probex.RunError),
])
def test_an_equation_error_is_the_program_s(beam, batch, tmp_path, equations, kind):
    beam.equations = equations
    beam.save(str(tmp_path / "bad.pxw"))
    with pytest.raises(kind) as error:
        beam.run(steps=10, seed=1)
    said = batch(tmp_path / "bad.pxw", "--steps", 10, "--seed", 1, fails=True).stderr
    assert f"error: equations, line {error.value.line}, column {error.value.position}: " \
        f"{error.value}\n" in said
    assert not error.value.out_equations


def test_evaluate_gives_the_value_or_the_program_s_message():
    assert probex.evaluate("fy*1000*W - F*L/1.5", fy=300, W=0.001, F=50, L=5) == \
        pytest.approx(133.333333333333333)
    with pytest.raises(probex.CompileError) as error:
        probex.evaluate("2 * + x")
    assert error.value.line == 1 and error.value.position > 0
    with pytest.raises(ValueError, match="Variable without a value: x"):
        probex.evaluate("2 * x")
    with pytest.raises(probex.Error):
        probex.evaluate("1 / x", x=0)


@pytest.mark.parametrize("arguments", [
    {"steps": 0}, {"seed": -1}, {"threads": -1}, {"threads": 1.5}, {"steps": True},
])
def test_run_arguments_out_of_range_are_refused(beam, arguments):
    with pytest.raises(ValueError):
        beam.run(**arguments)


def test_a_project_text_that_is_no_project_is_refused():
    with pytest.raises(probex.Error, match="no project"):
        probex.Project.from_text("Z = 1\n")
