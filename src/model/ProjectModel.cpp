#include "model/ProjectModel.h"

#include "components/Prompter.h"
#include "settings/NumberText.h"
#include "settings/Settings.h"
#include "variables/Distributions.h"
#include "variables/GeneratorPeriod.h"

#include <algorithm>

namespace probex {

ProjectModel::ProjectModel(TSettings& settings, Prompter& prompter, MainThread& mainThread)
    : m_settings(settings), m_prompter(prompter), m_mainThread(mainThread),
      m_mainRecs(std::make_unique<tEquRecs>()), m_outRecs(std::make_unique<tEquRecs>()),
      m_mainSet(std::make_unique<tDecodedEquations>()),
      m_outSet(std::make_unique<tDecodedEquations>()),
      m_inputs(settings, prompter, [this] { InvalidateResults(); }),
      m_outputs(settings, prompter, [this] { InvalidateResults(); }),
      m_outEquations(*m_outSet, *m_mainSet, m_outputs, settings, prompter) {
    m_inputs.setProjectFile([this] { return currentProjectFile; });
    m_random.Randomize();
}

ProjectModel::~ProjectModel() {
    if (m_worker) {
        m_worker->requestStop();
        m_worker->wait();
    }
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

    for (int v = 1; v <= set.Vars.Count; ++v) {
        if (set.Vars.Roles[v] != tVars::Input) continue;
        const int row = m_inputs.FindVarRow(set.Vars.Names[v]);
        const DistKind kind = m_inputs.kind(row);
        if (kind == DistKind::dkUndefined) {
            m_observer->showInputRow(row);
            m_observer->showStatus("Input variable not defined: " + set.Vars.Names[v]);
            m_prompter.warning("Input variable not defined!\n" + set.Vars.Names[v]);
            return false;
        }
        (kind == DistKind::dkConstant ? set.ConstList : set.RandomList).add(v, row);
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

bool ProjectModel::checkSampledInputs() {
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
    for (int i = 1; i <= set.RandomList.Count; ++i) {
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

bool ProjectModel::prepareRun() {
    if (!m_outputs.PrepareOutputs(*m_mainSet, m_lastStep)) return false;
    m_observer->refillVariableBoxes(1);
    tDecodedEquations& set = *m_mainSet;
    // Constants are written once per fresh run, never per step.
    for (int i = 1; i <= set.ConstList.Count; ++i)
        set.Vars.Values[set.ConstList.VarIndex[i]] = m_inputs.record(set.ConstList.Ref[i]).Loc;
    if (m_outEquations.compiled() && !m_outEquations.ValidateOutEquations()) return false;
    return true;
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

    m_running = true;
    m_observer->runningChanged(true);
    if (!m_resultsExist) {
        if (!CompileModel() || !checkSampledInputs() || !prepareRun() ||
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
    const tDecodedEquations& set = *m_mainSet;
    for (int i = 1; i <= set.RandomList.Count; ++i)
        setup.inputs.push_back(
            {set.RandomList.VarIndex[i], &m_inputs.record(set.RandomList.Ref[i])});
    m_runRows.clear();
    TOutVarSet& run = m_outputs.runTable();
    for (int i = 1; i <= run.count(); ++i) {
        TOutVar& out = run.item(i);
        if (!out.Stat && !out.His && !out.Log) continue; // a name the equations no longer compute
        setup.outputs.push_back({out.VarIndex, out.Stat.get(), out.His.get(), out.Log.get()});
        m_runRows.push_back(out.Row);
    }
    m_worker =
        std::make_unique<TPxThread>(std::move(setup), static_cast<RunEvents&>(*this), m_mainThread);
    m_workerActive = true;
    m_worker->start();
}

void ProjectModel::waitForRun() {
    if (m_worker) m_worker->wait();
}

void ProjectModel::requestStop() {
    if (m_worker) m_worker->requestStop();
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
    m_inputs.clearAllRows();
    m_outputs.clear();
    m_outEquations.evalSettings() = TOutEvalSettings{};
    m_outEquations.ClearOutResults();
    ClearDecoded(*m_mainSet);
    ClearDecoded(*m_outSet);
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
void ProjectModel::refreshPQ(std::int32_t step) {
    m_observer->refreshPQ(step);
    // The probability of the out equations follows at the same refresh, over the new slots.
    if (!m_outEquations.CountNewSteps(step) || !m_stopRuleReason.empty()) return;
    const TProbabilityEstimate& estimate = m_outEquations.convergence().back();
    if (!StopRuleMet(m_outEquations.evalSettings(), estimate)) return;
    const char sep = m_settings.DecimalSep;
    m_stopRuleReason = "Stopped at step " + FormatInteger(step) + ": CoV " +
                       FormatCoVPercent(estimate, sep) + " % reached the target " +
                       FormatShortest(m_outEquations.evalSettings().TargetCoV, sep) + " %";
    requestStop();
}

void ProjectModel::runEnded(RunOutcome outcome, const TEquError& error) {
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
        if (m_outEquations.compiled()) m_outEquations.EvaluateOutEquations(m_stepCounter);
        m_resultsExist = true;
        m_observer->resultsChanged(true);
    }
    m_observer->runEnded(outcome);
    if (m_discardAfterRun) {
        m_discardAfterRun = false;
        InvalidateResults();
    }
}

} // namespace probex
