#pragma once

#include "engine/Expression.h"
#include "engine/Extended.h"
#include "reliability/ReliabilityResult.h"
#include "reliability/ReliabilitySettings.h"
#include "simulation/ProbabilityEstimate.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace probex {

struct TSquareMatrix;

class MainThread;
class TOutLog;
class Prompter;
class TInputTable;
class TLimitState;
class TOutputTable;
struct TSettings;
struct tDecodedEquations;
struct tBlockValues;

/// What Evaluate computes from the out equations.
enum class OutEvalMode : std::uint8_t { Inactive, Probability, Parameter };

/// The evaluation fields of the out-equations window, stored with the project.
struct TOutEvalSettings {
    OutEvalMode Mode = OutEvalMode::Inactive;
    std::string ParName;
    Extended ParMin = 0;
    Extended ParMax = 1;
    Extended Target = 0.5L;
    std::int32_t MaxIter = 50;
    Extended MaxDiff = 0.001L;
    /// The stop rule of a run in Probability mode: stop once the estimate's CoV has fallen to
    /// TargetCoV (in percent) after at least MinSteps steps.
    bool StopRule = false;
    Extended TargetCoV = 5;
    std::int32_t MinSteps = 10000;
    /// How Probability and Parameter mode compute a probability.
    TReliabilitySettings Reliability{};
};

/// True when the stop rule is on and the estimate satisfies it.
bool StopRuleMet(const TOutEvalSettings& eval, const TProbabilityEstimate& estimate);

/// Whether a condition "0 <relation> v" holds for the value v of its right-hand side.
bool ConditionHolds(std::uint8_t relation, Extended v);

/// One evaluated parameter value of a search (or the single value of Probability mode).
struct TOutIteration {
    Extended Parameter = 0;
    std::int32_t Iteration = 0;
    Extended Probability = 0;
    Extended Difference = 0;
    TProbabilityEstimate Estimate; ///< the precision of Probability
};

/// The outcome shown in the result field.
struct TOutResult {
    Extended Value = 0; ///< the probability, or the last midpoint of a search
    std::string Text;   ///< as the result field shows it
    /// The probability behind the result (in Parameter mode the one at the last midpoint).
    TProbabilityEstimate Estimate;
};

/// The window side of an evaluation. Every callback may be left as it is.
class TOutEvalObserver {
public:
    virtual ~TOutEvalObserver() = default;
    /// After each evaluated parameter value of a search; the window repaints here.
    virtual void onIteration(const TOutIteration&) {}
    virtual void onResult(const TOutResult&) {}
    /// The result fields were emptied.
    virtual void onCleared() {}
    /// A new point of the convergence history (live during a run, or the final count).
    virtual void onConvergence(const TProbabilityEstimate&) {}
    /// The hourglass on while an evaluation works, off afterwards, also after a failure.
    virtual void onBusy(bool) {}
    /// A parse, compile or validation error to show with the caret in the out-equations
    /// window; the popup text itself goes through the prompter.
    virtual void onError(const TEquError&, const std::string& /*message*/) {}
    /// Restore and raise the output variable window (an activity must be changed there).
    virtual void showOutputVariables() {}
};

/// The out equations after a run: validation against the run table, the probability that
/// the condition holds over the logged steps, and the parameter search.
class TOutEquations {
public:
    /// The out set is compiled by the caller (or by Evaluate); its RandomList and ParamList
    /// belong to this object and are refilled by ValidateOutEquations.
    TOutEquations(tDecodedEquations& outSet, const tDecodedEquations& mainSet,
                  TOutputTable& outputs, const TSettings& settings, Prompter& prompter);
    ~TOutEquations();

    void setObserver(TOutEvalObserver* observer) { m_observer = observer; }

    /// The model evaluated at chosen points, for the methods other than Monte Carlo, and the
    /// main thread that observer and prompter calls go through when such an evaluation runs
    /// on a worker thread (either may be null).
    void setReliability(TLimitState* limitState, MainThread* mainThread) {
        m_limitState = limitState;
        m_mainThread = mainThread;
    }
    /// A mode that evaluates and a method other than Monte Carlo (with a model to evaluate).
    bool usesReliability() const;
    /// Parses and compiles `lines` alone; errors are shown.
    bool CompileOutEquations(const std::vector<std::string>& lines);
    /// Binds the compiled out equations to the model for the chosen method; instead of
    /// ValidateOutEquations when usesReliability(). On failure the message has been shown.
    bool PrepareReliability(const TInputTable& inputs, const std::vector<int>& correlatedPositions,
                            const TSquareMatrix& correlatedLower);
    /// The seed of the next evaluations with a method other than Monte Carlo.
    void setReliabilitySeed(std::uint64_t seed) { m_seed = seed; }
    /// What the last such evaluation found (its last probability in Parameter mode).
    const TReliabilityResult& reliabilityResult() const { return m_reliability; }

    TOutEvalSettings& evalSettings() { return m_eval; }
    const TOutEvalSettings& evalSettings() const { return m_eval; }
    /// A mode button: clears the results first.
    void setMode(OutEvalMode mode);

    /// Relation code 0..5 of the condition line, from its parse.
    std::uint8_t relation() const { return m_relation; }
    void setRelation(std::uint8_t relation) { m_relation = relation; }

    bool compiled() const { return m_compiled; }
    void setCompiled(bool compiled) { m_compiled = compiled; }

    /// Checks every variable of the out set and fills its RandomList (Ref = run-table index)
    /// and ParamList. On failure the message has been shown; false.
    bool ValidateOutEquations();

    /// Probability of the condition over the first `stepCount` logged steps, or the parameter
    /// search. False after an evaluation error.
    bool EvaluateOutEquations(std::int32_t stepCount);

    struct Condition {
        bool ok = false;
        bool holds = false;
    };
    /// The condition for log slot `slot` (step slot + 1) alone; the parameter keeps its last
    /// value. An evaluation error is shown and gives ok = false.
    Condition ConditionAtStep(std::int32_t slot);

    /// Parses, compiles and validates `lines` so that ConditionAtStep can be asked; errors are
    /// shown. Evaluate's first half.
    bool CompileForSteps(const std::vector<std::string>& lines);

    /// The Evaluate button: parses and compiles `lines`, validates and evaluates.
    /// `resultsExist` and `stepCount` come from the main window. True when a result was
    /// produced.
    bool Evaluate(const std::vector<std::string>& lines, bool resultsExist, std::int32_t stepCount);

    /// Empties the result fields and clears the compiled flag.
    void ClearOutResults();

    /// Live counting during a run in Probability mode. At the start of a run: a fresh run
    /// counts from slot 0; a continued one goes on from the last full count when that covers
    /// every logged step, and is not counted live otherwise.
    void BeginLiveCount(std::int32_t stepCount);
    /// At a refresh: counts only the slots logged since the last call and adds a point to the
    /// convergence history. False when nothing new was counted (or counting is off).
    bool CountNewSteps(std::int32_t stepCount);
    /// The estimate and its interval as the steps grew, oldest first.
    const std::vector<TProbabilityEstimate>& convergence() const { return m_convergence; }

    bool hasResult() const { return m_hasResult; }
    const TOutResult& result() const { return m_result; }
    const TOutIteration& current() const { return m_current; }

private:
    std::uint8_t reliabilityProbability(Extended parameter, bool live,
                                        TProbabilityEstimate& estimate);
    void onMain(const std::function<void()>& procedure);
    std::uint8_t countHolding(Extended parameter, std::int32_t from, std::int32_t to,
                              std::int64_t& count);
    bool countBlock(std::int32_t first, std::int64_t& count);
    const TOutLog* conditionLog() const;
    bool countFromLog(const TOutLog& log, std::int32_t from, std::int32_t to,
                      std::int64_t& count) const;
    void addConvergencePoint(const TProbabilityEstimate& estimate);
    bool relationHolds(Extended v) const;
    std::int32_t loggedSteps(std::int32_t stepCount) const;
    void fillFromLogs(std::int32_t slot);
    void showError(const TEquError& error, const std::string& message);
    void report(const TOutIteration& iteration);
    void finish(Extended value, std::string text, const TProbabilityEstimate& estimate);

    tDecodedEquations& m_out;
    const tDecodedEquations& m_main;
    TOutputTable& m_outputs;
    const TSettings& m_settings;
    Prompter& m_prompter;
    TOutEvalObserver* m_observer = nullptr;
    TOutEvalSettings m_eval;
    std::uint8_t m_relation = 0;
    bool m_compiled = false;
    bool m_hasResult = false;
    TOutResult m_result;
    TOutIteration m_current;
    bool m_liveActive = false;
    /// What the equations were last compiled from: lines and separators.
    std::vector<std::string> m_compiledLines;
    std::string m_compiledSeparators;
    std::int32_t m_liveSteps = 0;
    std::int64_t m_liveCount = 0;
    std::vector<TProbabilityEstimate> m_convergence;
    std::unique_ptr<tBlockValues> m_block; // for counting several slots at a time
    TLimitState* m_limitState = nullptr;
    MainThread* m_mainThread = nullptr;
    std::uint64_t m_seed = 1;
    TReliabilityResult m_reliability;
    std::string m_bindWarning;
    std::vector<std::string> m_warnings; // of the evaluation in progress
};

} // namespace probex
