#include "model/ProjectModel.h"

#include "components/Prompter.h"
#include "settings/NumberText.h"
#include "settings/Settings.h"
#include "simulation/CorrelatedGroup.h"
#include "variables/Distributions.h"
#include "variables/GeneratorPeriod.h"

#include <algorithm>
#include <random>

namespace probex {

ProjectModel::ProjectModel(TSettings& settings, Prompter& prompter, MainThread& mainThread)
    : m_settings(settings), m_prompter(prompter), m_mainThread(mainThread),
      m_mainRecs(std::make_unique<tEquRecs>()), m_outRecs(std::make_unique<tEquRecs>()),
      m_mainSet(std::make_unique<tDecodedEquations>()),
      m_outSet(std::make_unique<tDecodedEquations>()),
      m_inputs(settings, prompter, [this] { InvalidateResults(); }),
      m_outputs(settings, prompter, [this] { InvalidateResults(); }),
      m_outEquations(*m_outSet, *m_mainSet, m_outputs, settings, prompter),
      m_limitState(*m_mainSet, *m_outSet) {
    m_inputs.setProjectFile([this] { return currentProjectFile; });
    m_limitState.setStopFlag(&m_stopEvaluation);
    m_outEquations.setReliability(&m_limitState, &m_mainThread);
    m_random.Randomize();
}

ProjectModel::~ProjectModel() {
    if (m_worker) {
        m_worker->requestStop();
        m_worker->wait();
    }
    m_stopEvaluation = true;
    joinEvaluator();
}

void ProjectModel::joinEvaluator() {
    if (m_evaluator.joinable() && m_evaluator.get_id() != std::this_thread::get_id())
        m_evaluator.join();
}

void ProjectModel::setObserver(ModelObserver* observer) {
    m_observer = observer ? observer : &m_noObserver;
}

void ProjectModel::setLastStep(std::int64_t steps) {
    m_lastStep = static_cast<std::int32_t>(std::clamp<std::int64_t>(steps, 0, MaxLastStep));
    InvalidateResults();
}

bool ProjectModel::CompileModel() {
    m_observer->clearEquationStatus(false);
    m_observer->clearEquationStatus(true);
    const tSeparators separators{m_settings.DecimalSep, m_settings.ListSep};
    TEquError error;
    std::uint8_t relation = 0;

    ParseEquationLines(equations, false, *m_mainRecs, error, relation, m_settings.CommentSep);
    if (error.Code != ecNone) {
        m_observer->showEquationError(error, false);
        return false;
    }
    tDecodedEquations& set = *m_mainSet;
    ClearDecoded(set);
    CompileEquations(*m_mainRecs, set, error, separators);
    if (error.Code != ecNone) {
        m_observer->showEquationError(error, false);
        return false;
    }

    // A computed name loses its input row's distribution; a new input gets a row.
    for (int v = set.Vars.Count; v >= 1; --v) {
        const std::string& name = set.Vars.Names[v];
        const int row = m_inputs.FindVarRow(name);
        if (set.Vars.Roles[v] == tVars::Computed) {
            if (row != 0) m_inputs.setRowUndefined(row);
        } else if (row == 0 && !m_inputs.AddInputVariable(name)) {
            m_observer->showEquationError({ecTooManyVariables, 1, v}, false);
            return false;
        }
    }
    m_observer->clearEquationStatus(false);

    if (m_settings.DefInVarsConst) {
        for (int v = 1; v <= set.Vars.Count; ++v) {
            if (set.Vars.Roles[v] != tVars::Input) continue;
            const int row = m_inputs.FindVarRow(set.Vars.Names[v]);
            if (m_inputs.kind(row) == DistKind::dkUndefined) m_inputs.setConstantZero(row);
        }
    }

    // Every undefined input is named at once, so that one visit to the table mends them all.
    std::string undefined;
    int firstUndefinedRow = 0;
    for (int v = 1; v <= set.Vars.Count; ++v) {
        if (set.Vars.Roles[v] != tVars::Input) continue;
        const int row = m_inputs.FindVarRow(set.Vars.Names[v]);
        const DistKind kind = m_inputs.kind(row);
        if (kind == DistKind::dkUndefined) {
            undefined += (undefined.empty() ? "" : ", ") + set.Vars.Names[v];
            if (firstUndefinedRow == 0) firstUndefinedRow = row;
            continue;
        }
        (kind == DistKind::dkConstant ? set.ConstList : set.RandomList).add(v, row);
    }
    if (firstUndefinedRow != 0) {
        m_observer->showInputRow(firstUndefinedRow);
        m_observer->showStatus("Input variable not defined: " + undefined);
        m_prompter.warning("Input variable not defined!\n" + undefined);
        return false;
    }

    if (!m_outputs.SyncOutputVariables(set)) m_prompter.error("Error assigning variable!");

    ClearDecoded(*m_outSet);
    m_outEquations.setCompiled(false);
    if (m_outEquations.evalSettings().Mode != OutEvalMode::Inactive) {
        ParseEquationLines(outEquationLines, true, *m_outRecs, error, relation,
                           m_settings.CommentSep);
        // Empty out equations are absent: the run goes on without them.
        if (error.Code == ecNoExpression) {
            m_observer->clearEquationStatus(true);
            return true;
        }
        if (error.Code != ecNone) {
            m_observer->showEquationError(error, true);
            return false;
        }
        m_outEquations.setRelation(relation);
        CompileEquations(*m_outRecs, *m_outSet, error, separators);
        if (error.Code == ecNone) {
            m_outEquations.setCompiled(true);
        } else if (error.Code != ecNoExpression) {
            m_observer->showEquationError(error, true);
            return false;
        }
    }
    m_observer->clearEquationStatus(true);
    return true;
}

bool ProjectModel::Compile() {
    Reset();
    return CompileModel();
}

bool ProjectModel::checkSampledInputs(bool drawing) {
    const tDecodedEquations& set = *m_mainSet;
    const auto named = [this](int row, const std::string& text) {
        m_observer->showInputRow(row);
        return "Input variable " + m_inputs.cell(row, InputColumn::Variable) + ": " + text;
    };
    for (int i = 1; i <= set.RandomList.Count; ++i) {
        const int row = set.RandomList.Ref[i];
        // The check also derives what the sampler reads, so a record whose parameters were
        // set without it never runs on stale values.
        if (const std::string problem = CheckParameters(m_inputs.record(row)); !problem.empty()) {
            m_prompter.error(named(row, problem));
            return false;
        }
    }
    for (int i = 1; drawing && i <= set.RandomList.Count; ++i) {
        const int row = set.RandomList.Ref[i];
        const TIis& iis = m_inputs.record(row);
        if (SlowDrawingWarning(iis).empty()) continue;
        if (m_prompter.message(Prompter::Kind::Warning,
                               named(row, CheckWarnings(iis)) + "\nRun anyway?",
                               Prompter::Buttons::YesNo) != Prompter::Answer::Yes)
            return false;
    }
    return true;
}

bool ProjectModel::prepareCorrelations() {
    m_copula.clear();
    m_correlatedPositions.clear();
    TCorrelatedGroup group;
    const std::string problem = GroupCorrelatedInputs(correlations, *m_mainSet, m_inputs, group);
    if (!problem.empty()) {
        m_prompter.error(problem);
        return false;
    }
    if (group.empty()) return true;
    std::vector<const TIis*> members;
    for (const int position : group.positions)
        members.push_back(&m_inputs.record(m_mainSet->RandomList.Ref[position]));
    if (!m_copula.prepare(members, group.normal)) {
        const TSquareMatrix nearest = NearestCorrelationMatrix(group.normal);
        if (m_prompter.message(Prompter::Kind::Warning,
                               NearestMatrixQuestion(group, nearest, m_settings.DecimalSep),
                               Prompter::Buttons::YesNo) != Prompter::Answer::Yes ||
            !m_copula.prepare(std::move(members), nearest))
            return false;
    }
    m_correlatedPositions = std::move(group.positions);
    return true;
}

bool ProjectModel::prepareRun() {
    // Inputs are kept per step only for an analysis that asks for them.
    const bool logInputs = m_outputs.keepInputValues || !resultWindows.sensitivity.empty();
    // A run that only records values keeps nothing in the logs: they need no slots.
    const TStepRunner* runner = m_runner.load();
    const std::int32_t slots = runner && !runner->gathers() ? 0 : m_lastStep;
    if (!m_outputs.PrepareOutputs(*m_mainSet, slots, logInputs)) return false;
    m_observer->refillVariableBoxes(1);
    tDecodedEquations& set = *m_mainSet;
    // Constants are written once per fresh run, never per step.
    for (int i = 1; i <= set.ConstList.Count; ++i)
        set.Vars.Values[set.ConstList.VarIndex[i]] = m_inputs.record(set.ConstList.Ref[i]).Loc;
    if (!m_outEquations.compiled()) return true;
    // Another method reads the outputs as computed at its own points: no log is needed.
    return m_outEquations.usesReliability() ? m_outEquations.PrepareReliability(
                                                  m_inputs, m_correlatedPositions, m_copula.lower())
                                            : m_outEquations.ValidateOutEquations();
}

bool ProjectModel::confirmGeneratorPeriod(bool parallel) {
    if (parallel) return true;
    const tDecodedEquations& set = *m_mainSet;
    std::vector<const TIis*> inputs;
    for (int i = 1; i <= set.RandomList.Count; ++i)
        inputs.push_back(&m_inputs.record(set.RandomList.Ref[i]));
    const std::string warning = SimplePeriodWarning(m_lastStep, inputs);
    return warning.empty() || m_prompter.message(Prompter::Kind::Warning, warning + "\nRun anyway?",
                                                 Prompter::Buttons::YesNo) == Prompter::Answer::Yes;
}

ProjectModel::RunCommand ProjectModel::RunStop() {
    if (m_running) {
        requestStop();
        return RunCommand::StopRequested;
    }
    if (!m_inputs.EditAccepted()) return RunCommand::Declined;
    if (m_lastStep <= m_stepCounter) {
        if (m_prompter.confirm("Restart?", Prompter::Buttons::OkCancel) != Prompter::Answer::Ok)
            return RunCommand::Declined;
        Reset();
    }
    if (m_worker) {
        m_worker->wait(); // the previous worker has handed over its end already
        m_worker.reset();
    }
    joinEvaluator();

    m_running = true;
    m_observer->runningChanged(true);
    if (!m_resultsExist) {
        if (!CompileModel() || !checkSampledInputs() || !prepareCorrelations() || !prepareRun() ||
            !confirmGeneratorPeriod(m_settings.Generator == GeneratorParallel)) {
            m_running = false;
            m_observer->runningChanged(false);
            return RunCommand::Failed;
        }
        m_random.ApplySeed(autoSeed, m_settings.Generator, m_settings.Seed1, m_settings.Seed2);
        m_stepCounter = 0;
    } else if (!confirmGeneratorPeriod(m_random.parallel()) ||
               !m_outputs.GrowOutputLogs(m_lastStep)) {
        // A continued run that goes past the prepared last step keeps every logged value.
        m_running = false;
        m_observer->runningChanged(false);
        return RunCommand::Failed;
    }
    m_stopRuleReason.clear();
    m_outEquations.BeginLiveCount(m_stepCounter);
    startWorker();
    return RunCommand::Started;
}

void ProjectModel::startWorker() {
    TRunSetup setup;
    setup.set = m_mainSet.get();
    setup.random = &m_random;
    setup.stepCounter = &m_stepCounter;
    setup.lastStep = m_lastStep;
    ApplyRunSettings(setup, m_settings);
    setup.interleaved = interleavedRuns;
    m_stopRule.reset();
    const TOutEvalSettings& eval = m_outEquations.evalSettings();
    if (eval.StopRule && eval.Mode == OutEvalMode::Probability && m_outEquations.compiled() &&
        m_outSet->Count > 0) {
        m_stopRule = std::make_unique<TStopRuleCheck>(*m_outSet, m_outEquations.relation(),
                                                      m_outputs.runTable(), eval);
        setup.stopRule = m_stopRule.get();
    }
    const tDecodedEquations& set = *m_mainSet;
    // Inputs outside every pair are drawn as they always were; the copula's follow.
    std::size_t next = 0;
    for (int i = 1; i <= set.RandomList.Count; ++i) {
        const TRunInput input{set.RandomList.VarIndex[i], &m_inputs.record(set.RandomList.Ref[i]),
                              m_outputs.inputLogs().find(set.RandomList.VarIndex[i])};
        if (next < m_correlatedPositions.size() && m_correlatedPositions[next] == i) {
            setup.correlated.push_back(input);
            ++next;
        } else {
            setup.inputs.push_back(input);
        }
    }
    if (!setup.correlated.empty()) setup.copula = &m_copula;
    m_runRows.clear();
    TOutVarSet& run = m_outputs.runTable();
    for (int i = 1; i <= run.count(); ++i) {
        TOutVar& out = run.item(i);
        if (!out.Stat && !out.His && !out.Log) continue; // a name the equations no longer compute
        setup.outputs.push_back({out.VarIndex, out.Stat.get(), out.His.get(), out.Log.get()});
        m_runRows.push_back(out.Row);
    }
    if (TStepRunner* runner = m_runner.load()) {
        runSteps(*runner, setup);
        return;
    }
    m_worker =
        std::make_unique<TPxThread>(std::move(setup), static_cast<RunEvents&>(*this), m_mainThread);
    m_workerActive = true;
    m_worker->start();
}

void ProjectModel::waitForRun() {
    if (m_worker) m_worker->wait();
    // A run's end may have started the evaluation of the out equations.
    joinEvaluator();
}

void ProjectModel::requestStop() {
    if (m_worker) m_worker->requestStop();
    if (TStepRunner* runner = m_runner.load()) runner->requestStop();
    m_stopEvaluation = true;
}

void ProjectModel::Reset() {
    InvalidateResults();
}

bool ProjectModel::InvalidateResults() {
    if (m_workerActive) {
        // The worker still uses the accumulators: stop it and discard at its end.
        m_discardAfterRun = true;
        requestStop();
        return m_resultsExist;
    }
    if (!m_resultsExist) return false;
    discardResults();
    return true;
}

void ProjectModel::discardResults() {
    m_stepCounter = 0;
    m_observer->showStep(0);
    m_observer->clearEquationStatus(false);
    m_observer->clearEquationStatus(true);
    m_outEquations.ClearOutResults();
    m_resultsExist = false;
    m_outputs.FreeOutputs();
    m_observer->resultsChanged(false);
}

bool ProjectModel::Evaluate() {
    if (m_outEquations.usesReliability()) {
        if (m_running) return false;
        // Without results the model is compiled and checked as for a run; with results it
        // is the model those results came from.
        if (!m_resultsExist &&
            (!CompileModel() || !checkSampledInputs(false) || !prepareCorrelations()))
            return false;
        if (!m_outEquations.CompileOutEquations(outEquationLines) ||
            !m_outEquations.PrepareReliability(m_inputs, m_correlatedPositions, m_copula.lower()))
            return false;
        return startReliabilityEvaluation();
    }
    const bool evaluated = m_outEquations.Evaluate(outEquationLines, m_resultsExist, m_stepCounter);
    if (evaluated && m_outEquations.evalSettings().Mode == OutEvalMode::Probability)
        m_observer->outEquationsEvaluated();
    return evaluated;
}

void ProjectModel::clearProject() {
    InvalidateResults();
    equations.clear();
    outEquationLines.clear();
    identification.clear();
    correlations.clear();
    m_inputs.clearAllRows();
    m_outputs.clear();
    m_outEquations.evalSettings() = TOutEvalSettings{};
    m_outEquations.ClearOutResults();
    ClearDecoded(*m_mainSet);
    ClearDecoded(*m_outSet);
    // The last run's status and the last compile's errors belong to the old project.
    m_observer->showStatus("");
    m_observer->clearEquationStatus(false);
    m_observer->clearEquationStatus(true);
}

void ProjectModel::showStep(std::int32_t step) {
    m_observer->showStep(step);
}

void ProjectModel::showStartupStatus(int output, Extended value) {
    if (output < 0) {
        m_observer->showStatus("");
        return;
    }
    const std::string& name =
        m_outputs.cell(m_runRows[static_cast<std::size_t>(output)], colVariable);
    m_observer->showStatus(name + "=" + FormatShortest(value, m_settings.DecimalSep));
}

void ProjectModel::refreshStatistics(std::int32_t step) {
    m_observer->refreshStatistics(step);
}
void ProjectModel::refresh1D(std::int32_t step) {
    m_observer->refresh1D(step);
}
bool ProjectModel::refreshWanted(RefreshKind kind) {
    return m_observer->refreshWanted(kind);
}
void ProjectModel::refreshPQ(std::int32_t step) {
    m_observer->refreshPQ(step);
    // The probability of the out equations follows at the same refresh, over the new slots,
    // once the worker goes on: the slots up to the step are written and stay as they are.
    m_countsDue.push_back(step);
    m_mainThread.post([this, alive = std::weak_ptr<char>(m_alive)] {
        if (!alive.expired()) countDueSteps();
    });
}

void ProjectModel::countPQ(std::int32_t step) {
    countDueSteps();
    m_outEquations.CountNewSteps(step);
}

void ProjectModel::countDueSteps() {
    for (const std::int32_t step : m_countsDue)
        m_outEquations.CountNewSteps(step);
    m_countsDue.clear();
}

void ProjectModel::runEnded(RunOutcome outcome, const TEquError& error) {
    countDueSteps();
    if (m_stopRule && m_stopRule->metAt()) {
        const TProbabilityEstimate& estimate = *m_stopRule->metAt();
        const char sep = m_settings.DecimalSep;
        m_stopRuleReason = "Stopped at step " + FormatInteger(estimate.Steps) + ": CoV " +
                           FormatCoVPercent(estimate, sep) + " % reached the target " +
                           FormatShortest(m_outEquations.evalSettings().TargetCoV, sep) + " %";
    }
    // A run the stop rule ended has reached its goal, like a run at its last step.
    if (outcome == RunOutcome::Stopped && !m_stopRuleReason.empty()) outcome = RunOutcome::Finished;
    m_running = false;
    m_workerActive = false;
    if (outcome == RunOutcome::Failed) {
        m_observer->runningChanged(false);
        m_observer->showStatus("");
        // The caret goes just before the failing equation's expression.
        const tEquRec& rec = m_mainRecs->Items[std::clamp(error.Pos, 1, MaxEquations)];
        m_observer->showEquationError({error.Code, rec.ExprPos - 1, rec.Line}, false);
    } else if (outcome == RunOutcome::NoStep) {
        m_observer->runningChanged(false);
    } else {
        m_observer->finalRefresh();
        m_observer->runningChanged(false);
        m_observer->showStatus(m_stopRuleReason);
        const bool another = m_outEquations.compiled() && m_outEquations.usesReliability();
        if (m_outEquations.compiled() && !another)
            m_outEquations.EvaluateOutEquations(m_stepCounter);
        m_resultsExist = true;
        m_observer->resultsChanged(true);
        m_observer->runEnded(outcome);
        // Evaluated as Evaluate does, on a worker of its own; the discard waits for its end.
        if (another && !m_discardAfterRun) {
            startReliabilityEvaluation();
            return;
        }
        if (m_discardAfterRun) {
            m_discardAfterRun = false;
            InvalidateResults();
        }
        return;
    }
    m_observer->runEnded(outcome);
    if (m_discardAfterRun) {
        m_discardAfterRun = false;
        InvalidateResults();
    }
}

} // namespace probex

namespace probex {

bool ProjectModel::startReliabilityEvaluation() {
    joinEvaluator();
    m_stopEvaluation = false;
    // "Auto" draws anew each time; a fixed seed reproduces the evaluation.
    m_outEquations.setReliabilitySeed(autoSeed ? (std::uint64_t{std::random_device{}()} << 32) ^
                                                     std::random_device{}()
                                               : static_cast<std::uint64_t>(m_settings.Seed1));
    m_running = true;
    m_workerActive = true;
    m_observer->runningChanged(true);
    m_evaluator = std::thread([this] {
        const bool evaluated = m_outEquations.EvaluateOutEquations(m_stepCounter);
        m_mainThread.call([this, evaluated] { reliabilityEvaluationEnded(evaluated); });
    });
    return true;
}

void ProjectModel::reliabilityEvaluationEnded(bool evaluated) {
    m_running = false;
    m_workerActive = false;
    m_observer->runningChanged(false);
    if (evaluated && m_outEquations.evalSettings().Mode == OutEvalMode::Probability)
        m_observer->outEquationsEvaluated();
    if (m_discardAfterRun) {
        m_discardAfterRun = false;
        InvalidateResults();
    }
}

} // namespace probex

namespace probex {

ProjectModel::RunCommand ProjectModel::RunWith(TStepRunner& runner) {
    m_runner.store(&runner);
    const RunCommand command = RunStop();
    m_runner.store(nullptr);
    return command;
}

void ProjectModel::runSteps(TStepRunner& runner, TRunSetup& setup) {
    m_workerActive = true;
    TEquError error;
    const RunOutcome outcome = runner.run(setup, *this, error);
    if (runner.gathers() || outcome == RunOutcome::Failed) {
        runEnded(outcome, error);
        return;
    }
    // Recorded values are no results of this model: the step counter goes back to none.
    m_stepCounter = 0;
    m_running = false;
    m_workerActive = false;
    m_observer->runningChanged(false);
    m_observer->runEnded(outcome);
}

} // namespace probex
