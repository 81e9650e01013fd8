// probex.Project: a project opened or written as text, its model as data, and its runs.
#include "python/Bindings.h"

#include "engine/Expression.h"
#include "project/ProjectWriter.h"
#include "python/InputAccess.h"
#include "reliability/ReliabilitySettings.h"
#include "settings/NumberText.h"
#include "settings/Settings.h"

#include <pybind11/stl.h>

#include <limits>
#include <sstream>

namespace probex {

namespace {

std::string JoinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i)
        text += (i ? "\n" : "") + lines[i];
    return text;
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    std::istringstream in(text);
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

/// A whole number in [low, high] from Python, or ValueError naming the argument.
std::int64_t WholeIn(const py::handle& value, const char* name, std::int64_t low,
                     std::int64_t high) {
    if (!py::isinstance<py::int_>(value) || py::isinstance<py::bool_>(value))
        throw std::invalid_argument(std::string(name) + " must be a whole number");
    const long long number = value.cast<long long>();
    if (number < low || number > high)
        throw std::invalid_argument(std::string(name) + " must be between " + std::to_string(low) +
                                    " and " + std::to_string(high) + ", not " +
                                    std::to_string(number));
    return number;
}

/// An input variable of the project, by name.
struct Input {
    Session session;
    std::string name;
    int row() const {
        const int found = InputRowOf(session->model(), name);
        if (found == 0) throw py::key_error("no input variable " + name);
        return found;
    }
    py::object parameter(InputParameter which) const {
        return py::float_(static_cast<double>(InputParameterValue(session->model(), row(), which)));
    }
    void setParameter(InputParameter which, double value) {
        RequireIdle(*session);
        const std::string warning = SetInputParameter(session->model(), row(), which, value);
        if (!warning.empty() && PyErr_WarnEx(PyExc_UserWarning, warning.c_str(), 1) != 0)
            throw py::error_already_set();
    }
};

struct Inputs {
    Session session;
};

std::vector<std::string> InputNames(ProjectModel& model) {
    std::vector<std::string> names;
    for (int row = 1; row <= TInputTable::RowCount; ++row)
        if (const std::string& name = model.inputs().cell(row, InputColumn::Variable);
            !name.empty())
            names.push_back(name);
    return names;
}

/// An output variable of the project, by name.
struct Output {
    Session session;
    std::string name;
    int row() const {
        const int found = session->model().outputs().FindOutputRow(name);
        if (found == 0) throw py::key_error("no output variable " + name);
        return found;
    }
};

struct Outputs {
    Session session;
};

std::vector<std::string> OutputNames(ProjectModel& model) {
    std::vector<std::string> names;
    for (int row = 1; row <= OutputRows; ++row)
        if (const std::string& name = model.outputs().cell(row, colVariable); !name.empty())
            names.push_back(name);
    return names;
}

/// The out equations' evaluation settings.
struct Evaluation {
    Session session;
    TOutEvalSettings& settings() const { return session->model().outEquations().evalSettings(); }
    /// Every change discards the results, as a change in the window does.
    TOutEvalSettings& changing() const {
        RequireIdle(*session);
        session->model().InvalidateResults();
        return settings();
    }
};

const char* ModeWord(OutEvalMode mode) {
    switch (mode) {
    case OutEvalMode::Inactive:
        return "Inactive";
    case OutEvalMode::Probability:
        return "Probability";
    case OutEvalMode::Parameter:
        return "Parameter";
    }
    return "";
}

template <typename Field>
void EvaluationProperty(py::class_<Evaluation>& cls, const char* name, Field field,
                        const char* doc) {
    using Value = std::remove_reference_t<decltype(std::declval<TOutEvalSettings&>().*field)>;
    if constexpr (std::is_same_v<Value, Extended>) {
        cls.def_property(
            name, [field](const Evaluation& e) { return static_cast<double>(e.settings().*field); },
            [field](const Evaluation& e, double value) { e.changing().*field = value; }, doc);
    } else {
        cls.def_property(
            name, [field](const Evaluation& e) { return e.settings().*field; },
            [field](const Evaluation& e, Value value) { e.changing().*field = value; }, doc);
    }
}

template <typename Field>
void MethodSetting(py::class_<Evaluation>& cls, const char* name, Field field, std::int32_t low,
                   const char* doc) {
    cls.def_property(
        name, [field](const Evaluation& e) { return e.settings().Reliability.*field; },
        [field, name, low](const Evaluation& e, py::handle value) {
            const auto checked = static_cast<std::int32_t>(
                WholeIn(value, name, low, std::numeric_limits<std::int32_t>::max()));
            e.changing().Reliability.*field = checked;
        },
        doc);
}

void BindInputs(py::module_& module) {
    py::class_<Input> input(module, "Input", "An input variable: its kind and parameters.");
    input.def_property_readonly("name", [](const Input& i) { return i.name; })
        .def_property(
            "kind", [](const Input& i) { return InputKind(i.session->model(), i.row()); },
            [](Input& i, const std::string& word) {
                RequireIdle(*i.session);
                SetInputKind(i.session->model(), i.row(), word);
            },
            "The distribution: 'Normal', 'Constant', ... (setting one gives its defaults)")
        .def_property_readonly(
            "parameters",
            [](const Input& i) {
                return i.session->model().inputs().cell(i.row(), InputColumn::Parameters);
            },
            "The parameters as the table shows them")
        .def_property(
            "comment",
            [](const Input& i) {
                return i.session->model().inputs().cell(i.row(), InputColumn::Comment);
            },
            [](Input& i, const std::string& text) {
                RequireIdle(*i.session);
                i.session->model().inputs().commitCell(i.row(), InputColumn::Comment, text);
            })
        .def("__repr__", [](const Input& i) {
            return "<probex.Input " + i.name + ": " + InputKind(i.session->model(), i.row()) + " " +
                   i.session->model().inputs().cell(i.row(), InputColumn::Parameters) + ">";
        });
    const std::pair<const char*, InputParameter> parameters[] = {
        {"value", InputParameter::Value}, {"min", InputParameter::Min},
        {"max", InputParameter::Max},     {"mean", InputParameter::Mean},
        {"stdev", InputParameter::StDev}, {"mode", InputParameter::Mode}};
    for (const auto& [name, which] : parameters)
        input.def_property(
            name, [which](const Input& i) { return i.parameter(which); },
            [which](Input& i, double value) { i.setParameter(which, value); },
            "Checked as the program checks it: ValueError with its message");

    py::class_<Inputs>(module, "Inputs", "The input variables by name.")
        .def("__getitem__",
             [](const Inputs& t, const std::string& name) {
                 Input input{t.session, name};
                 input.name = t.session->model().inputs().cell(input.row(), InputColumn::Variable);
                 return input;
             })
        .def("__contains__",
             [](const Inputs& t, const std::string& name) {
                 return InputRowOf(t.session->model(), name) != 0;
             })
        .def("__len__", [](const Inputs& t) { return InputNames(t.session->model()).size(); })
        .def("__iter__",
             [](const Inputs& t) { return py::iter(py::cast(InputNames(t.session->model()))); })
        .def("keys", [](const Inputs& t) { return InputNames(t.session->model()); });
}

void BindOutputs(py::module_& module) {
    py::class_<Output>(module, "Output", "An output variable and what a run gathers for it.")
        .def_property_readonly("name", [](const Output& o) { return o.name; })
        .def_property(
            "activity",
            [](const Output& o) { return o.session->model().outputs().cell(o.row(), colActivity); },
            [](Output& o, const std::string& word) {
                RequireIdle(*o.session);
                for (int level = 0; level <= 3; ++level) {
                    const char* activity = ActivityWord(static_cast<Activity>(level));
                    if (!SameName(activity, word)) continue;
                    o.session->model().outputs().editCell(o.row(), colActivity, activity);
                    return;
                }
                throw std::invalid_argument("unknown activity '" + word +
                                            "': Inactive, Statistics, Histogram or Log");
            },
            "'Inactive', 'Statistics', 'Histogram' or 'Log'")
        .def("__repr__", [](const Output& o) {
            return "<probex.Output " + o.name + ": " +
                   o.session->model().outputs().cell(o.row(), colActivity) + ">";
        });

    py::class_<Outputs>(module, "Outputs", "The output variables by name.")
        .def("__getitem__",
             [](const Outputs& t, const std::string& name) {
                 Output output{t.session, name};
                 output.name = t.session->model().outputs().cell(output.row(), colVariable);
                 return output;
             })
        .def("__contains__",
             [](const Outputs& t, const std::string& name) {
                 return t.session->model().outputs().FindOutputRow(name) != 0;
             })
        .def("__len__", [](const Outputs& t) { return OutputNames(t.session->model()).size(); })
        .def("__iter__",
             [](const Outputs& t) { return py::iter(py::cast(OutputNames(t.session->model()))); })
        .def("keys", [](const Outputs& t) { return OutputNames(t.session->model()); });
}

void BindEvaluation(py::module_& module) {
    py::class_<Evaluation> cls(module, "Evaluation",
                               "What the out equations compute, and how (their window's fields).");
    cls.def_property(
           "mode", [](const Evaluation& e) { return ModeWord(e.settings().Mode); },
           [](const Evaluation& e, const std::string& word) {
               for (OutEvalMode mode :
                    {OutEvalMode::Inactive, OutEvalMode::Probability, OutEvalMode::Parameter}) {
                   if (!SameName(ModeWord(mode), word)) continue;
                   RequireIdle(*e.session);
                   e.session->model().InvalidateResults();
                   e.session->model().outEquations().setMode(mode);
                   return;
               }
               throw std::invalid_argument("unknown mode '" + word +
                                           "': Inactive, Probability or Parameter");
           },
           "'Inactive', 'Probability' or 'Parameter'")
        .def_property(
            "method",
            [](const Evaluation& e) { return MethodWord(e.settings().Reliability.Method); },
            [](const Evaluation& e, const std::string& word) {
                ReliabilityMethod method = ReliabilityMethod::MonteCarlo;
                if (!MethodFromWord(word, method))
                    throw std::invalid_argument("unknown method '" + word +
                                                "': montecarlo, form, sorm, is or subset");
                e.changing().Reliability.Method = method;
            },
            "'montecarlo', 'form', 'sorm', 'is' or 'subset'");
    EvaluationProperty(cls, "parameter", &TOutEvalSettings::ParName,
                       "Parameter mode: the name searched for");
    EvaluationProperty(cls, "parameter_min", &TOutEvalSettings::ParMin, "Parameter mode: Min");
    EvaluationProperty(cls, "parameter_max", &TOutEvalSettings::ParMax, "Parameter mode: Max");
    EvaluationProperty(cls, "target", &TOutEvalSettings::Target,
                       "Parameter mode: the target probability");
    EvaluationProperty(cls, "max_difference", &TOutEvalSettings::MaxDiff,
                       "Parameter mode: MaxDiff");
    EvaluationProperty(cls, "stop_rule", &TOutEvalSettings::StopRule,
                       "Stop the run at the target CoV");
    EvaluationProperty(cls, "target_cov", &TOutEvalSettings::TargetCoV,
                       "The stop rule's target CoV in percent");
    cls.def_property(
        "max_iterations", [](const Evaluation& e) { return e.settings().MaxIter; },
        [](const Evaluation& e, py::handle value) {
            const auto checked = static_cast<std::int32_t>(
                WholeIn(value, "max_iterations", 1, std::numeric_limits<std::int32_t>::max()));
            e.changing().MaxIter = checked;
        });
    cls.def_property(
        "min_steps", [](const Evaluation& e) { return e.settings().MinSteps; },
        [](const Evaluation& e, py::handle value) {
            const auto checked = static_cast<std::int32_t>(
                WholeIn(value, "min_steps", 0, std::numeric_limits<std::int32_t>::max()));
            e.changing().MinSteps = checked;
        });
    MethodSetting(cls, "form_iterations", &TReliabilitySettings::FormMaxIter, 1, "FORM");
    MethodSetting(cls, "form_starts", &TReliabilitySettings::FormStarts, 0, "FORM");
    MethodSetting(cls, "is_samples", &TReliabilitySettings::IsSamples, 1, "Importance sampling");
    MethodSetting(cls, "subset_samples", &TReliabilitySettings::SubsetSamples, 1,
                  "Subset simulation");
    MethodSetting(cls, "subset_levels", &TReliabilitySettings::SubsetMaxLevels, 1,
                  "Subset simulation");
}

Session OpenProject(const std::string& path, const std::optional<std::string>& settings) {
    auto session = std::make_shared<ProjectSession>(settings);
    session->open(path);
    WarnMessages(*session);
    return session;
}

Session ProjectFromText(const std::string& text, const std::optional<std::string>& settings) {
    auto session = std::make_shared<ProjectSession>(settings);
    session->readText(text);
    WarnMessages(*session);
    return session;
}

RunResults Run(const Session& session, const py::object& steps, const py::object& seed,
               const py::object& threads, bool sensitivity) {
    RequireIdle(*session);
    RunRequest request;
    if (!steps.is_none()) request.steps = WholeIn(steps, "steps", 1, ProjectModel::MaxLastStep);
    if (!seed.is_none())
        request.seed = WholeIn(seed, "seed", 0, std::numeric_limits<std::int32_t>::max());
    if (!threads.is_none())
        request.threads = static_cast<std::int32_t>(WholeIn(threads, "threads", 0, MaxThreads));
    request.sensitivity = sensitivity;

    // Ctrl+C reaches Python's handler, which only notes it; the note is read here, with the
    // interpreter held only for that moment, and stops the run as Stop does.
    std::optional<py::error_already_set> interrupt;
    ProjectSession::RunEnd end;
    {
        py::gil_scoped_release release;
        end = session->run(request, [&] {
            py::gil_scoped_acquire acquire;
            if (PyErr_CheckSignals() == 0) return false;
            interrupt.emplace();
            return true;
        });
    }
    WarnMessages(*session);
    if (interrupt) {
        interrupt->restore();
        throw py::error_already_set();
    }
    return {session, session->runNumber(), session->events().discards(),
            end == ProjectSession::RunEnd::Stopped};
}

} // namespace

void BindProject(py::module_& module) {
    BindInputs(module);
    BindOutputs(module);
    BindEvaluation(module);

    py::class_<ProjectSession, Session>(module, "Project", "A Probex project and its runs.")
        .def_static("open", &OpenProject, py::arg("path"), py::arg("settings") = py::none(),
                    "Opens a project file; settings names a Probex.ini (None: the defaults)")
        .def_static("from_text", &ProjectFromText, py::arg("text"),
                    py::arg("settings") = py::none(), "A project written in a string")
        .def(
            "save",
            [](ProjectSession& s, const std::string& path) {
                s.save(path);
                WarnMessages(s);
            },
            py::arg("path"))
        .def_property_readonly(
            "text", [](ProjectSession& s) { return ProjectText(s.model()); },
            "The project file's text")
        .def_property(
            "equations", [](ProjectSession& s) { return JoinLines(s.model().equations); },
            [](ProjectSession& s, const std::string& text) {
                RequireIdle(s);
                s.model().InvalidateResults();
                s.model().equations = SplitLines(text);
            },
            "The equations, one per line")
        .def_property(
            "out_equations",
            [](ProjectSession& s) { return JoinLines(s.model().outEquationLines); },
            [](ProjectSession& s, const std::string& text) {
                RequireIdle(s);
                s.model().InvalidateResults();
                s.model().outEquations().ClearOutResults();
                s.model().outEquationLines = SplitLines(text);
            },
            "The out equations, one per line")
        .def_property(
            "steps", [](ProjectSession& s) { return s.model().lastStep(); },
            [](ProjectSession& s, const py::object& steps) {
                RequireIdle(s);
                s.model().setLastStep(WholeIn(steps, "steps", 1, ProjectModel::MaxLastStep));
            },
            "The last step of a run")
        .def_property_readonly("inputs", [](const Session& s) { return Inputs{s}; })
        .def_property_readonly("outputs", [](const Session& s) { return Outputs{s}; })
        .def_property_readonly("evaluation", [](const Session& s) { return Evaluation{s}; })
        .def(
            "compile",
            [](ProjectSession& s) {
                RequireIdle(s);
                s.compile();
                WarnMessages(s);
            },
            "Compiles the equations and out equations: CompileError for the first error")
        .def("run", &Run, py::arg("steps") = py::none(), py::arg("seed") = py::none(),
             py::arg("threads") = py::none(), py::arg("sensitivity") = false,
             "Runs the project afresh and returns its results. seed: Seed 1 of the settings' "
             "generator (None: a new seed); sensitivity keeps the inputs' values per step. "
             "Ctrl+C stops the run as Stop does and raises KeyboardInterrupt; the results "
             "stay in .results.")
        .def("stop", &ProjectSession::stop, "Stops a run going on in another thread")
        .def_property_readonly(
            "results",
            [](const Session& s) -> py::object {
                if (s->runNumber() == 0 || !s->model().resultsExist()) return py::none();
                return py::cast(
                    RunResults{s, s->runNumber(), s->events().discards(), s->lastRunStopped()});
            },
            "The results of the last run while they last, or None");
}

} // namespace probex
