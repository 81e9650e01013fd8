#!/usr/bin/python3
"""Probex's FORM, SORM, importance sampling and subset simulation side by side with
OpenTURNS (Debian package python3-openturns) on the same models.

    /usr/bin/python3 bench/compare-openturns.py build/src/probex
"""
import math
import os
import subprocess
import sys
import tempfile
import time

import openturns as ot

PROBEX = sys.argv[1] if len(sys.argv) > 1 else "build/src/probex"

MODELS = {
    "R-S": {
        "equations": ["Z = R - S"],
        "inputs": [("R", "Normal", 4, 1, -1000, 1000), ("S", "Normal", 2, 1, -1000, 1000)],
        "formula": "R - S",
    },
    "ten normals": {
        "equations": ["G = 5*10^0.5 - (" + "+".join(f"x{i}" for i in range(1, 11)) + ")"],
        "inputs": [(f"x{i}", "Normal", 0, 1, -1000, 1000) for i in range(1, 11)],
        "formula": "5*sqrt(10) - (" + "+".join(f"x{i}" for i in range(1, 11)) + ")",
    },
    "beam": {
        "equations": ["Z = fy*1000*W - F*L/1.5"],
        "inputs": [("fy", "Lognormal", 300, 30, 100, 600), ("W", "Normal", 0.001, 0.00005, 0.0007, 0.0013),
                   ("F", "Normal", 50, 10, 0, 120), ("L", "Uniform", 0, 0, 4, 6)],
        "formula": "fy*1000*W - F*L/1.5",
    },
}


def project(model):
    lines = ["[Main]", "Version=2.5", "Steps=10", "", "[Equations]", *model["equations"], "",
             "[Variables]"]
    for name, kind, mean, sd, lo, hi in model["inputs"]:
        parameters = f"Min={lo} Max={hi}" + ("" if kind == "Uniform" else f" Mean={mean} StDev={sd}")
        lines.append(f"{name},{kind},{parameters},")
    out = model["equations"][0].split("=")[0].strip()
    lines += ["", "[Out.Equations]", f"0 > {out}", "", "[Out.Evaluation]", "Evaluate=Probability",
              "ISSamples=20000", "SubsetSamples=10000", "", "[Out.Variables]", f"{out},Statistics,No,No,", ""]
    return "\r\n".join(lines)


def probex(model, method):
    with tempfile.TemporaryDirectory() as d:
        path = os.path.join(d, "m.pxw")
        settings = os.path.join(d, "Probex.ini")
        with open(path, "w", newline="") as f:
            f.write(project(model))
        with open(settings, "w", newline="") as f:
            f.write("[Settings]\r\nDecimalSeparator=.\r\nListSeparator=,\r\n")
        # The whole process, start and reading the project included: what a user waits for.
        started = time.perf_counter()
        text = subprocess.run([PROBEX, "--batch", path, "--settings", settings, "--seed", "1",
                               "--method", method], capture_output=True, text=True).stdout
        seconds = time.perf_counter() - started
    lines = dict(l.split(": ", 1) for l in text.splitlines() if ": " in l)
    interval = lines.get("Interval", "").split(" (")[0]
    return (lines.get("Probability", "?"), lines.get("Beta", ""), interval,
            lines.get("Method", ""), seconds)


def marginal(kind, mean, sd, lo, hi):
    if kind == "Uniform":
        return ot.Uniform(float(lo), float(hi))
    base = ot.Normal(mean, sd) if kind == "Normal" else ot.LogNormalMuSigma(mean, sd).getDistribution()
    return ot.TruncatedDistribution(base, float(lo), float(hi))


def openturns(model):
    names = [i[0] for i in model["inputs"]]
    distribution = ot.ComposedDistribution([marginal(*i[1:]) for i in model["inputs"]])
    g = ot.SymbolicFunction(names, [model["formula"]])
    vector = ot.RandomVector(distribution)
    event = ot.ThresholdEvent(ot.CompositeRandomVector(g, vector), ot.Less(), 0.0)
    start = distribution.getMean()
    timed = {}

    def run(method, algorithm):
        # OpenTURNS differentiates the symbolic formula: its gradient calls are counted apart.
        calls = (g.getEvaluationCallsNumber(), g.getGradientCallsNumber())
        started = time.perf_counter()
        algorithm.run()
        timed[method] = (time.perf_counter() - started, g.getEvaluationCallsNumber() - calls[0],
                         g.getGradientCallsNumber() - calls[1])
        return algorithm.getResult()

    fr = run("form", ot.FORM(ot.AbdoRackwitz(), event, start))
    sr = run("sorm", ot.SORM(ot.AbdoRackwitz(), event, start))
    ot.RandomGenerator.SetSeed(1)
    standard = ot.StandardEvent(event)
    is_ = ot.ProbabilitySimulationAlgorithm(
        standard, ot.ImportanceSamplingExperiment(ot.Normal(fr.getStandardSpaceDesignPoint(),
                                                            ot.CovarianceMatrix(len(names)))))
    is_.setMaximumOuterSampling(20000)
    is_.setMaximumCoefficientOfVariation(0.0)
    isr = run("is", is_)
    ss = ot.SubsetSampling(event)
    ss.setMaximumOuterSampling(10000)
    ssr = run("subset", ss)
    return {
        "form": (fr.getEventProbability(), fr.getHasoferReliabilityIndex()),
        "sorm": (sr.getEventProbabilityBreitung(), sr.getEventProbabilityHohenbichler(),
                 sr.getEventProbabilityTvedt()),
        "is": isr.getProbabilityEstimate(),
        "subset": ssr.getProbabilityEstimate(),
    }, timed


for title, model in MODELS.items():
    reference, timed = openturns(model)
    print(f"== {title}")
    for method in ("form", "sorm", "is", "subset"):
        p, beta, interval, info, seconds = probex(model, method)
        detail = " ".join(x for x in (("beta " + beta) if beta else "", interval) if x)
        print(f"  {method:7s} probex {p:>12s} {detail:44s} {info}, {1000 * seconds:.1f} ms "
              "(whole process)")
        ot_seconds, ot_calls, ot_gradients = timed[method]
        print(f"  {'':7s} OpenTURNS {reference[method]}, evaluations {ot_calls}, "
              f"gradients {ot_gradients}, {1000 * ot_seconds:.1f} ms")
