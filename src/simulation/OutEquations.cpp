#include "simulation/OutEquations.h"

#include "components/Prompter.h"
#include "engine/BlockEvaluator.h"
#include "engine/EquationSet.h"
#include "reliability/LimitState.h"
#include "reliability/ReliabilityEvaluation.h"
#include "reliability/StandardNormal.h"
#include "settings/NumberText.h"
#include "settings/Settings.h"
#include "simulation/OutLog.h"
#include "simulation/OutputTable.h"
#include "simulation/RunController.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <new>

namespace probex {

namespace {

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

} // namespace

bool StopRuleMet(const TOutEvalSettings& eval, const TProbabilityEstimate& estimate) {
    return eval.StopRule && estimate.HasCoV && estimate.Steps >= eval.MinSteps &&
           estimate.CoV * 100 <= eval.TargetCoV;
}

TOutEquations::TOutEquations(tDecodedEquations& outSet, const tDecodedEquations& mainSet,
                             TOutputTable& outputs, const TSettings& settings, Prompter& prompter)
    : m_out(outSet), m_main(mainSet), m_outputs(outputs), m_settings(settings),
      m_prompter(prompter) {}

TOutEquations::~TOutEquations() = default;

void TOutEquations::setMode(OutEvalMode mode) {
    ClearOutResults();
    m_eval.Mode = mode;
}

void TOutEquations::ClearOutResults() {
    m_hasResult = false;
    m_reliability = {};
    m_result = {};
    m_current = {};
    m_compiled = false;
    m_liveActive = false;
    m_convergence.clear();
    if (m_observer) m_observer->onCleared();
}

void TOutEquations::showError(const TEquError& error, const std::string& message) {
    if (m_observer) m_observer->onError(error, message);
    m_prompter.error(message);
}

bool TOutEquations::ValidateOutEquations() {
    m_out.RandomList.clear();
    m_out.ParamList.clear();
    const TOutVarSet& run = m_outputs.runTable();
    // The last variable is the condition's "0".
    for (std::int32_t v = 1; v < m_out.Vars.Count; ++v) {
        const std::string& name = m_out.Vars.Names[static_cast<std::size_t>(v)];
        if (m_out.Vars.Roles[static_cast<std::size_t>(v)] == tVars::Computed) {
            if (FindVar(name, m_main.Vars) != 0) {
                showError({}, "Variable " + name + " already in use!");
                return false;
            }
            continue;
        }
        if (const int row = m_outputs.FindOutputRow(name); row != 0) {
            const std::int32_t i = m_outputs.FindActiveIndex(row);
            // A row set to "Log" after the run was prepared has no log to read yet.
            if (m_outputs.cell(row, colActivity) != "Log" || i == 0 || !run.item(i).Log) {
                showError({}, "Set variable \"" + name +
                                  "\" activity to LOG for Output equation evaluation!");
                if (m_observer) m_observer->showOutputVariables();
                return false;
            }
            m_out.RandomList.add(v, i);
            continue;
        }
        if (m_eval.Mode == OutEvalMode::Parameter && SameName(name, Trimmed(m_eval.ParName))) {
            m_out.ParamList.add(v, 0);
            continue;
        }
        showError({}, "Unknown variable " + name + "!");
        return false;
    }
    return true;
}

std::int32_t TOutEquations::loggedSteps(std::int32_t stepCount) const {
    // Never read past a log, whatever the step counter says.
    std::int32_t steps = stepCount;
    const TOutVarSet& run = m_outputs.runTable();
    for (std::int32_t k = 1; k <= m_out.RandomList.Count; ++k) {
        const std::int32_t i = m_out.RandomList.Ref[static_cast<std::size_t>(k)];
        if (i < 1 || i > run.count() || !run.item(i).Log) return 0;
        steps = std::min(steps, run.item(i).Log->size());
    }
    return std::max(steps, 0);
}

void TOutEquations::fillFromLogs(std::int32_t slot) {
    const TOutVarSet& run = m_outputs.runTable();
    for (std::int32_t k = 1; k <= m_out.RandomList.Count; ++k) {
        const std::size_t kk = static_cast<std::size_t>(k);
        m_out.Vars.Values[static_cast<std::size_t>(m_out.RandomList.VarIndex[kk])] =
            (*run.item(m_out.RandomList.Ref[kk]).Log)[slot];
    }
}

bool ConditionHolds(std::uint8_t relation, Extended v) {
    // The condition reads "0 <relation> v".
    switch (relation) {
    case relEqual:
        return v == 0;
    case relLess:
        return v > 0;
    case relGreater:
        return v < 0;
    case relLessEqual:
        return v >= 0;
    case relGreaterEqual:
        return v <= 0;
    case relNotEqual:
        return v != 0;
    default:
        return false;
    }
}

bool TOutEquations::relationHolds(Extended v) const {
    return ConditionHolds(m_relation, v);
}

std::uint8_t TOutEquations::countHolding(Extended parameter, std::int32_t from, std::int32_t to,
                                         std::int64_t& count) {
    for (std::int32_t k = 1; k <= m_out.ParamList.Count; ++k)
        m_out.Vars.Values[static_cast<std::size_t>(
            m_out.ParamList.VarIndex[static_cast<std::size_t>(k)])] = parameter;
    if (!m_block) m_block.reset(new (std::nothrow) tBlockValues);
    if (m_block) m_block->load(m_out.Vars);
    const std::size_t condition = static_cast<std::size_t>(m_out.ResultVar[1]);
    count = 0;
    if (const TOutLog* log = conditionLog(); log && countFromLog(*log, from, to, count)) return 0;
    count = 0; // the log held a value that is not finite: count again the general way
    TEquError error;
    for (std::int32_t s = from; s < to;) {
        // Several slots at a time; where a block cannot be settled so, its slots are taken one
        // by one, which finds the failing slot and its error.
        if (m_block && s + BlockSteps <= to && countBlock(s, count)) {
            s += BlockSteps;
            continue;
        }
        const std::int32_t end = m_block ? std::min(s + BlockSteps, to) : to;
        for (; s < end; ++s) {
            fillFromLogs(s);
            if (const std::uint8_t code = EvaluateEquations(m_out, error); code != 0) return code;
            if (relationHolds(m_out.Vars.Values[condition])) ++count;
        }
    }
    return 0;
}

const TOutLog* TOutEquations::conditionLog() const {
    // The condition alone, on one logged output ("0 > Z"): its values are the log's own.
    if (m_out.Count != 1) return nullptr;
    const tCompiledEquation& condition = m_out.Equations[1];
    if (condition.TokenCount != 2 || condition.Tokens[1].Kind != tkOperand ||
        condition.Tokens[2].Kind != tkEnd || condition.OperandCount != 1)
        return nullptr;
    const std::uint32_t var = condition.Operands[1].VarIndex;
    for (std::int32_t k = 1; k <= m_out.RandomList.Count; ++k) {
        const std::size_t kk = static_cast<std::size_t>(k);
        if (static_cast<std::uint32_t>(m_out.RandomList.VarIndex[kk]) == var)
            return m_outputs.runTable().item(m_out.RandomList.Ref[kk]).Log.get();
    }
    return nullptr;
}

bool TOutEquations::countFromLog(const TOutLog& log, std::int32_t from, std::int32_t to,
                                 std::int64_t& count) const {
    // Reading the values is several times cheaper than evaluating the condition on each. A
    // value that is not finite goes the general way, which reports what it makes of it.
    for (std::int32_t s = from; s < to; ++s) {
        const Extended v = log[s];
        if (!std::isfinite(v)) return false;
        count += relationHolds(v);
    }
    return true;
}

bool TOutEquations::countBlock(std::int32_t first, std::int64_t& count) {
    tBlockValues& block = *m_block;
    const TOutVarSet& run = m_outputs.runTable();
    for (std::int32_t k = 1; k <= m_out.RandomList.Count; ++k) {
        const std::size_t kk = static_cast<std::size_t>(k);
        const TOutLog& log = *run.item(m_out.RandomList.Ref[kk]).Log;
        tLanes& lanes = block.Values[static_cast<std::size_t>(m_out.RandomList.VarIndex[kk])];
        for (int l = 0; l < BlockSteps; ++l)
            lanes[static_cast<std::size_t>(l)] = log[first + l];
    }
    if (!EvaluateEquationsBlock(m_out, block)) return false;
    for (const Extended v : block.Values[static_cast<std::size_t>(m_out.ResultVar[1])])
        count += relationHolds(v);
    return true;
}

void TOutEquations::onMain(const std::function<void()>& procedure) {
    if (m_mainThread)
        m_mainThread->call(procedure);
    else
        procedure();
}

void TOutEquations::addConvergencePoint(const TProbabilityEstimate& estimate) {
    onMain([this, &estimate] {
        // The final count of a run repeats the last live point when the run ended at a
        // refresh.
        if (!m_convergence.empty() && m_convergence.back().Steps >= estimate.Steps) return;
        m_convergence.push_back(estimate);
        if (m_observer) m_observer->onConvergence(estimate);
    });
}

void TOutEquations::BeginLiveCount(std::int32_t stepCount) {
    m_liveActive = false;
    // Another method evaluates the model itself after the run; there is nothing to count.
    if (m_eval.Mode != OutEvalMode::Probability || !m_compiled || m_out.Count == 0 ||
        usesReliability())
        return;
    if (stepCount == 0) {
        m_liveSteps = 0;
        m_liveCount = 0;
        m_convergence.clear();
        m_liveActive = true;
    } else if (m_hasResult && m_result.Estimate.Steps == loggedSteps(stepCount)) {
        m_liveSteps = static_cast<std::int32_t>(m_result.Estimate.Steps);
        m_liveCount = m_result.Estimate.Count;
        m_liveActive = true;
    }
}

bool TOutEquations::CountNewSteps(std::int32_t stepCount) {
    if (!m_liveActive || !m_compiled || m_eval.Mode != OutEvalMode::Probability) return false;
    const std::int32_t logged = loggedSteps(stepCount);
    if (logged <= m_liveSteps) return false;
    std::int64_t count = 0;
    // An evaluation error ends live counting quietly; the count at the run's end reports it.
    if (countHolding(0, m_liveSteps, logged, count) != 0) {
        m_liveActive = false;
        return false;
    }
    m_liveSteps = logged;
    m_liveCount += count;
    addConvergencePoint(EstimateProbability(m_liveCount, m_liveSteps));
    return true;
}

void TOutEquations::report(const TOutIteration& iteration) {
    onMain([this, &iteration] {
        m_current = iteration;
        if (m_observer) m_observer->onIteration(iteration);
    });
}

void TOutEquations::finish(Extended value, std::string text, const TProbabilityEstimate& estimate) {
    onMain([&] {
        m_hasResult = true;
        m_result.Value = value;
        m_result.Text = std::move(text);
        m_result.Estimate = estimate;
        if (m_observer) m_observer->onResult(m_result);
    });
}

bool TOutEquations::usesReliability() const {
    return m_limitState != nullptr && m_eval.Mode != OutEvalMode::Inactive &&
           m_eval.Reliability.Method != ReliabilityMethod::MonteCarlo;
}

bool TOutEquations::PrepareReliability(const TInputTable& inputs,
                                       const std::vector<int>& correlatedPositions,
                                       const TSquareMatrix& correlatedLower) {
    if (!m_limitState) return false;
    const std::string parameter = m_eval.Mode == OutEvalMode::Parameter ? m_eval.ParName : "";
    const std::string problem =
        m_limitState->bind(inputs, m_relation, m_eval.Reliability.Method, parameter, m_bindWarning);
    if (problem.empty()) {
        if (!correlatedPositions.empty())
            m_limitState->correlate(correlatedPositions, correlatedLower);
        return true;
    }
    showError({}, problem);
    return false;
}

std::uint8_t TOutEquations::reliabilityProbability(Extended parameter, bool live,
                                                   TProbabilityEstimate& estimate) {
    m_limitState->setParameter(parameter);
    // Every probability of a search from the same seed: common random numbers keep the
    // search from chasing noise.
    TNormalStream random(m_seed);
    const TCoVStopRule rule{m_eval.StopRule, m_eval.TargetCoV, m_eval.MinSteps};
    TReliabilityContext context{*m_limitState, m_eval.Reliability, random, rule, {}};
    if (live) context.progress = [this](const TProbabilityEstimate& e) { addConvergencePoint(e); };
    TReliabilityResult result;
    const std::uint8_t code = EvaluateReliability(context, result);
    estimate = result.Estimate;
    for (const std::string& warning : result.Warnings)
        if (std::find(m_warnings.begin(), m_warnings.end(), warning) == m_warnings.end())
            m_warnings.push_back(warning);
    onMain([this, &result] { m_reliability = std::move(result); });
    return code;
}

bool TOutEquations::EvaluateOutEquations(std::int32_t stepCount) {
    if (m_eval.Mode == OutEvalMode::Inactive || m_out.Count == 0) return false;
    const bool reliability = usesReliability();
    const std::int32_t steps = reliability ? 0 : loggedSteps(stepCount);
    if (!reliability && steps == 0) {
        onMain([this] { m_prompter.warning("Run simulations first!"); });
        return false;
    }

    struct Busy {
        TOutEquations& out;
        explicit Busy(TOutEquations& o) : out(o) { notify(true); }
        ~Busy() { notify(false); }
        void notify(bool on) {
            out.onMain([this, on] {
                if (out.m_observer) out.m_observer->onBusy(on);
            });
        }
    } busy(*this);

    const auto failed = [this](std::uint8_t code) {
        // A stop request is no failure: the person asked for it.
        if (code != TLimitState::Stopped)
            onMain([this, code] { m_prompter.error(ErrorText(code)); });
        return false;
    };
    m_warnings.clear();
    if (!m_bindWarning.empty() && reliability) m_warnings.push_back(m_bindWarning);
    const auto showWarnings = [this] {
        std::string text;
        for (const std::string& w : m_warnings)
            text += (text.empty() ? "" : "\n") + w;
        if (!text.empty()) onMain([this, &text] { m_prompter.warning(text); });
    };

    if (m_eval.Mode == OutEvalMode::Probability && reliability) {
        onMain([this] { m_convergence.clear(); });
        TProbabilityEstimate estimate;
        const std::uint8_t code = reliabilityProbability(0, true, estimate);
        if (code != 0 && code != TLimitState::Stopped) return failed(code);
        finish(estimate.Probability, FormatResultValue(estimate.Probability, m_settings.DecimalSep),
               estimate);
        showWarnings();
        return true;
    }

    if (m_eval.Mode == OutEvalMode::Probability) {
        // The live count of the run has already seen most slots with the same equations and
        // logs; counting only the rest gives the same count without a second pass.
        const bool resume = m_liveActive && m_liveSteps <= steps;
        std::int64_t count = 0;
        if (const std::uint8_t code = countHolding(0, resume ? m_liveSteps : 0, steps, count);
            code != 0)
            return failed(code);
        if (resume) count += m_liveCount;
        const TProbabilityEstimate estimate = EstimateProbability(count, steps);
        addConvergencePoint(estimate);
        finish(estimate.Probability, FormatResultValue(estimate.Probability, m_settings.DecimalSep),
               estimate);
        return true;
    }

    const Extended target = m_eval.Target;
    std::int32_t iteration = 0;
    const auto evaluate = [&](Extended parameter, Extended& p) -> std::uint8_t {
        ++iteration;
        TProbabilityEstimate estimate;
        if (reliability) {
            if (const std::uint8_t code = reliabilityProbability(parameter, false, estimate);
                code != 0)
                return code;
        } else {
            std::int64_t count = 0;
            if (const std::uint8_t code = countHolding(parameter, 0, steps, count); code != 0)
                return code;
            estimate = EstimateProbability(count, steps);
        }
        p = estimate.Probability;
        report({parameter, iteration, p, std::fabs(p - target), estimate});
        return std::uint8_t{0};
    };

    Extended a = m_eval.ParMin;
    Extended b = m_eval.ParMax;
    Extended pa = 0;
    Extended pb = 0;
    if (const std::uint8_t code = evaluate(a, pa); code != 0) return failed(code);
    if (const std::uint8_t code = evaluate(b, pb); code != 0) return failed(code);

    Extended m = 0;
    for (;;) {
        m = (a + b) * 0.5L;
        // Once the midpoint equals an end every later midpoint equals it too; going on
        // would only repeat this evaluation until MaxIter.
        const bool stalled = m == a || m == b;
        Extended pm = 0;
        if (const std::uint8_t code = evaluate(m, pm); code != 0) return failed(code);
        // pa and pb stay the probabilities at ParMin and ParMax, as the search always has.
        if ((pa - target > 0) == (pb - target > 0)) {
            if (std::fabs(pa - target) > std::fabs(pb - target))
                a = m;
            else
                b = m;
        } else if ((pb - target > 0) != (pm - target > 0)) {
            a = m;
        } else {
            b = m;
        }
        if (m_eval.MaxDiff > m_current.Difference || iteration >= m_eval.MaxIter ||
            m == m_eval.ParMin || m == m_eval.ParMax || stalled)
            break;
    }
    finish(m, FormatShortest(m, m_settings.DecimalSep), m_current.Estimate);
    showWarnings();
    return true;
}

TOutEquations::Condition TOutEquations::ConditionAtStep(std::int32_t slot) {
    if (m_out.Count == 0 || slot < 0 || slot >= loggedSteps(slot + 1)) return {};
    fillFromLogs(slot);
    TEquError error;
    if (const std::uint8_t code = EvaluateEquations(m_out, error); code != 0) {
        m_prompter.error(ErrorText(code));
        return {};
    }
    return {true, relationHolds(m_out.Vars.Values[static_cast<std::size_t>(m_out.ResultVar[1])])};
}

bool TOutEquations::CompileForSteps(const std::vector<std::string>& lines) {
    return CompileOutEquations(lines) && ValidateOutEquations();
}

bool TOutEquations::CompileOutEquations(const std::vector<std::string>& lines) {
    // The same lines compile to the same equations, so a live count of them stays good: the
    // count at a run's end goes on from it even when a window compiled them again meanwhile.
    const std::string separators{m_settings.DecimalSep, m_settings.ListSep, m_settings.CommentSep};
    const bool same = m_compiled && lines == m_compiledLines && separators == m_compiledSeparators;
    ClearDecoded(m_out);
    m_compiled = false;
    if (!same) m_liveActive = false; // a count of other equations
    m_compiledLines = lines;
    m_compiledSeparators = separators;
    auto recs = std::make_unique<tEquRecs>();
    TEquError error;
    std::uint8_t relation = 0;
    ParseEquationLines(lines, true, *recs, error, relation, m_settings.CommentSep);
    if (error.Code == 0) {
        m_relation = relation;
        CompileEquations(*recs, m_out, error, {m_settings.DecimalSep, m_settings.ListSep});
    }
    // "No expression" is reported too: without a condition there is nothing to count.
    if (error.Code != 0) {
        m_liveActive = false;
        showError(error, ErrorText(error.Code));
        return false;
    }
    m_compiled = true;
    return true;
}

bool TOutEquations::Evaluate(const std::vector<std::string>& lines, bool resultsExist,
                             std::int32_t stepCount) {
    if (m_eval.Mode == OutEvalMode::Inactive) return false;
    if (!resultsExist) {
        m_prompter.warning("Run simulations first!");
        return false;
    }
    return CompileForSteps(lines) && EvaluateOutEquations(stepCount);
}

} // namespace probex
