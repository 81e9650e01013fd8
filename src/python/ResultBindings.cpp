// probex.Results: the figures of a run as the result windows show them, logs as NumPy arrays.
#include "python/Bindings.h"

#include "python/DesktopReport.h"
#include "reliability/ReliabilityResult.h"
#include "results/ResultSet.h"
#include "results/SaveResults.h"
#include "sensitivity/RunSensitivity.h"
#include "simulation/HisCompute.h"

#include <pybind11/numpy.h>
#include <pybind11/stl.h>

namespace probex {

namespace {

double D(Extended value) {
    return static_cast<double>(value);
}

/// The run-table entry of an output variable of the results.
TOutVar& Entry(const RunResults& results, const std::string& name) {
    TOutputTable& outputs = results.model().outputs();
    const int row = outputs.FindOutputRow(name);
    if (row == 0) throw py::key_error("no output variable " + name);
    const std::int32_t index = outputs.FindActiveIndex(row);
    if (index == 0) throw std::invalid_argument(name + " was inactive in the run");
    return outputs.runTable().item(index);
}

TOutHis& Histogram(const RunResults& results, const std::string& name) {
    TOutVar& entry = Entry(results, name);
    if (!entry.His)
        throw std::invalid_argument(name + " has no histogram: its activity must be Histogram "
                                           "or Log");
    return *entry.His;
}

py::dict Statistics(const RunResults& results, const std::string& name) {
    TOutVar& entry = Entry(results, name);
    TOutStat& stat = *entry.Stat;
    StatCompute(stat, 2);
    py::dict figures;
    figures["steps"] = stat.count;
    figures["min"] = D(stat.min);
    figures["max"] = D(stat.max);
    figures["mean"] = D(stat.mean);
    figures["variance"] = D(stat.variance);
    figures["stdev"] = D(stat.stdev);
    // The window leaves the CoVar blank where it is not defined.
    figures["covar"] =
        stat.covarValid && stat.mean != 0 ? py::object(py::float_(D(stat.covar))) : py::none();
    figures["skewness"] = D(stat.skew);
    figures["kurtosis"] = D(stat.kurt);
    figures["sum"] = D(stat.s1);
    return figures;
}

py::array_t<double> Log(const RunResults& results, const std::string& name) {
    TOutVar& entry = Entry(results, name);
    if (!entry.Log) throw std::invalid_argument(name + " has no log: its activity must be Log");
    // The log keeps 80-bit values packed in 10 bytes each: no float64 view of them exists, so
    // the values are converted into a fresh array.
    const std::int32_t steps = std::min(results.model().stepCounter(), entry.Log->size());
    py::array_t<double> values(steps);
    double* out = values.mutable_data();
    for (std::int32_t i = 0; i < steps; ++i)
        out[i] = D((*entry.Log)[i]);
    return values;
}

py::tuple HistogramArrays(const RunResults& results, const std::string& name) {
    TOutHis& his = Histogram(results, name);
    HisCompute(his, 1, false);
    const std::int32_t first = his.firstBin;
    const std::int32_t bins = his.total > 0 ? his.lastBin - first + 1 : 0;
    py::array_t<std::int64_t> counts(bins);
    for (std::int32_t k = 0; k < bins; ++k)
        counts.mutable_data()[k] = his.counts[static_cast<std::size_t>(first + k)];
    // A discrete histogram counts values at points; a continuous one between edges.
    const std::int32_t n = his.binCount;
    const bool points = his.discrete || !his.rangeSet;
    py::array_t<double> positions(points ? bins : bins + 1);
    for (std::int32_t k = 0; k < positions.shape(0); ++k) {
        const Extended share = static_cast<Extended>(first + k) / (his.discrete ? n - 1 : n);
        positions.mutable_data()[k] =
            D(his.rangeSet ? his.rangeMin + share * his.rangeWidth : his.rangeMin);
    }
    return py::make_tuple(positions, counts);
}

double Quantile(const RunResults& results, const std::string& name, double p) {
    if (!(p >= 0 && p <= 1)) throw std::invalid_argument("p must lie between 0 and 1");
    TOutHis& his = Histogram(results, name);
    return D(HisQuantile(his, p));
}

/// The probability of the out equations' condition and its precision.
struct Probability {
    double value = 0;
    py::object interval = py::none();
    py::object cov = py::none();
    py::object count = py::none();
    std::int64_t steps = 0;
    std::string text;
};

py::object ProbabilityOf(const RunResults& results) {
    const TOutEquations& out = results.model().outEquations();
    if (!out.compiled() || !out.hasResult()) return py::none();
    const bool reliability = out.usesReliability();
    const TProbabilityEstimate& estimate =
        reliability ? out.reliabilityResult().Estimate : out.result().Estimate;
    Probability probability;
    probability.value = D(estimate.Probability);
    if (!reliability || out.reliabilityResult().HasInterval) {
        probability.interval = py::make_tuple(D(estimate.Lower), D(estimate.Upper));
        if (estimate.HasCoV) probability.cov = py::float_(D(estimate.CoV));
    }
    if (!reliability) probability.count = py::int_(estimate.Count);
    probability.steps = estimate.Steps;
    probability.text = out.result().Text;
    return py::cast(probability);
}

py::object Parameter(const RunResults& results) {
    const TOutEquations& out = results.model().outEquations();
    if (!out.compiled() || !out.hasResult() || out.evalSettings().Mode != OutEvalMode::Parameter)
        return py::none();
    return py::float_(D(out.result().Value));
}

py::object Reliability(const RunResults& results) {
    const TOutEquations& out = results.model().outEquations();
    if (!out.compiled() || !out.hasResult() || !out.usesReliability()) return py::none();
    const TReliabilityResult& r = out.reliabilityResult();
    py::dict found;
    found["method"] = MethodCaption(r.Method);
    found["probability"] = D(r.Estimate.Probability);
    found["evaluations"] = r.Evaluations;
    if (r.HasDesignPoint) {
        found["beta"] = D(r.Beta);
        found["converged"] = r.Converged;
        found["iterations"] = r.Iterations;
        py::list point;
        for (const TDesignCoordinate& c : r.DesignPoint)
            point.append(py::dict(py::arg("name") = c.name, py::arg("x") = D(c.x),
                                  py::arg("u") = D(c.u), py::arg("alpha") = D(c.alpha),
                                  py::arg("importance") = D(c.alpha * c.alpha)));
        found["design_point"] = point;
    }
    if (r.HasSorm) {
        found["breitung"] = D(r.Breitung);
        found["hohenbichler"] = D(r.Hohenbichler);
        found["tvedt"] = D(r.Tvedt);
    }
    if (r.Method == ReliabilityMethod::SubsetSimulation) found["levels"] = r.Levels;
    found["stopped"] = r.Stopped;
    found["warnings"] = r.Warnings;
    found["lines"] = ReliabilityLines(r, results.model().settings().DecimalSep);
    return found;
}

py::list Sensitivity(const RunResults& results, const std::optional<std::string>& name) {
    ProjectModel& model = results.model();
    if (model.outputs().inputLogs().empty())
        throw std::invalid_argument("the run kept no input values: run with sensitivity=True");
    const std::int32_t steps = model.stepCounter();
    const std::optional<TSensitivity> table =
        name ? OutputSensitivity(model.outputs(), *name, steps)
             : EventSensitivity(model.outputs(), model.outEquations(), steps);
    if (!table)
        throw std::invalid_argument(name ? *name + " has no log: its activity must be Log"
                                         : "the out equations give no event (Probability mode)");
    py::list rows;
    for (const TInputSensitivity& input : table->inputs) {
        py::dict row(
            py::arg("input") = input.input, py::arg("rank_correlation") = input.rankCorrelation,
            py::arg("contribution") = input.contribution, py::arg("first_order") = input.firstOrder,
            py::arg("first_order_interval") =
                py::make_tuple(input.firstOrderLow, input.firstOrderHigh));
        if (table->event) row["mean_shift"] = input.meanShift;
        rows.append(row);
    }
    return rows;
}

std::vector<int> WindowRows(ProjectModel& model, const std::vector<TPQWindowDesc>& windows) {
    std::vector<int> rows;
    for (const TPQWindowDesc& w : windows)
        if (int row = model.outputs().FindOutputRow(w.variable)) rows.push_back(row);
    return rows;
}

void SaveResultFiles(const RunResults& results, const std::string& folder, bool replace) {
    ProjectModel& model = results.model();
    const std::vector<ResultEntry> entries =
        QualifyingResults(model.outputs(), WindowRows(model, model.resultWindows.probabilities),
                          WindowRows(model, model.resultWindows.quantiles));
    SaveResultsOptions options;
    options.directory = folder;
    options.prompts = false;
    options.projectFile = model.currentProjectFile;
    options.stepsDone = model.stepCounter();
    ResultSetOptions set;
    if (results.stopped)
        set.partialNote = "interrupted at step " + std::to_string(model.stepCounter()) + " of " +
                          std::to_string(model.lastStep());
    set.mayReplace = [replace](const std::string&) { return replace; };
    ProjectSession& session = *results.session;
    const ResultSetOutcome outcome =
        SaveResultSet(model.outputs(), model.settings(), session.prompter(), entries, options, set);
    std::string messages;
    for (const CollectingPrompter::Message& message : session.prompter().take())
        messages += (messages.empty() ? "" : "\n") + message.text;
    if (outcome == ResultSetOutcome::Declined)
        throw py::value_error(folder + " holds files that are no result files; they were not "
                                       "replaced (replace=True replaces them)");
    if (outcome != ResultSetOutcome::Written)
        throw ProgramError(messages.empty() ? "the results were not written" : messages);
}

} // namespace

ProjectModel& RunResults::model() const {
    if (session->busy() || run != session->runNumber() ||
        discards != session->events().discards() || !session->model().resultsExist())
        throw std::logic_error("these results are gone: the project changed or ran again "
                               "since");
    return session->model();
}

void BindResults(py::module_& module) {
    py::class_<Probability>(module, "Probability",
                            "The probability of the out equations' condition: value, 95 % "
                            "interval (None where the method gives none), cov (a fraction), "
                            "count of the steps where it holds, steps counted")
        .def_readonly("value", &Probability::value)
        .def_readonly("interval", &Probability::interval)
        .def_readonly("cov", &Probability::cov)
        .def_readonly("count", &Probability::count)
        .def_readonly("steps", &Probability::steps)
        .def_readonly("text", &Probability::text)
        .def("__repr__",
             [](const Probability& p) { return "<probex.Probability " + p.text + ">"; });

    py::class_<RunResults>(module, "Results", "The results of a run while they last.")
        .def_property_readonly("steps", [](const RunResults& r) { return r.model().stepCounter(); })
        .def_readonly("stopped", &RunResults::stopped, "Stop or Ctrl+C ended the run early")
        .def_property_readonly("stop_rule_reason",
                               [](const RunResults& r) { return r.model().stopRuleReason(); })
        .def("statistics", &Statistics, py::arg("name"),
             "The figures of the statistics window as a dict")
        .def("log", &Log, py::arg("name"), "Every step's value, float64 (a converted copy)")
        .def("histogram", &HistogramArrays, py::arg("name"),
             "(edges, counts) of the occupied bins; a discrete histogram gives its points "
             "instead of edges")
        .def("quantile", &Quantile, py::arg("name"), py::arg("p"),
             "The value below which the share p lies, from the histogram as the quantile "
             "window reads it")
        .def_property_readonly("probability", &ProbabilityOf)
        .def_property_readonly("parameter", &Parameter,
                               "The parameter found in Parameter mode, else None")
        .def_property_readonly("reliability", &Reliability,
                               "What FORM, SORM, importance sampling or subset simulation found")
        .def("sensitivity", &Sensitivity, py::arg("name") = py::none(),
             "The inputs' importance for a logged output, or for the out equations' event")
        .def("save_results", &SaveResultFiles, py::arg("folder"), py::arg("replace") = false,
             "Writes every result file, as --results does")
        .def(
            "report",
            [](const RunResults& r, const std::string& path) {
                if (const std::string failure = WriteReportThroughModule(r.model(), path);
                    !failure.empty())
                    throw ProgramError(failure);
            },
            py::arg("path"), "Writes the project's report PDF, as --report does");
}

} // namespace probex
