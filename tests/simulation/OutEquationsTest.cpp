#include "simulation/OutEquations.h"

#include "OutputTableFixture.h"

namespace probex::test {
namespace {

class Recorder : public TOutEvalObserver {
public:
    std::vector<TOutIteration> iterations;
    std::vector<TOutResult> results;
    std::vector<std::string> errors;
    int busy = 0;
    int raised = 0;
    void onIteration(const TOutIteration& i) override { iterations.push_back(i); }
    void onResult(const TOutResult& r) override { results.push_back(r); }
    void onBusy(bool on) override { busy += on ? 1 : -1; }
    void onError(const TEquError&, const std::string& message) override {
        errors.push_back(message);
    }
    void showOutputVariables() override { ++raised; }
};

// Model "x = u", "y = u" with x logged and y histogrammed; x's log is filled by the test.
struct Fixture {
    TSettings settings;
    ScriptedPrompter prompter;
    std::unique_ptr<tDecodedEquations> main = Compiled({"x = u", "y = u"});
    std::unique_ptr<tDecodedEquations> out = std::make_unique<tDecodedEquations>();
    TOutputTable table{settings, prompter, [] {}};
    TOutEquations equations{*out, *main, table, settings, prompter};
    Recorder recorder;
    std::int32_t steps = 0;

    explicit Fixture(const std::vector<Extended>& xs) {
        EXPECT_TRUE(table.SyncOutputVariables(*main));
        table.setCell(table.FindOutputRow("x"), colActivity, "Log");
        table.setCell(table.FindOutputRow("y"), colActivity, "Histogram");
        steps = static_cast<std::int32_t>(xs.size());
        EXPECT_TRUE(table.PrepareOutputs(*main, steps));
        TOutLog& log = *table.runTable().item(table.FindActiveIndex(table.FindOutputRow("x"))).Log;
        for (std::int32_t s = 0; s < steps; ++s)
            log.store(s, xs[static_cast<std::size_t>(s)]);
        equations.setObserver(&recorder);
    }

    bool evaluate(OutEvalMode mode, const std::vector<std::string>& lines) {
        equations.evalSettings().Mode = mode;
        return equations.Evaluate(lines, true, steps);
    }
};

TEST(OutEquations, ProbabilityIsTheShareOfLoggedStepsWhereTheConditionHolds) {
    std::vector<Extended> xs(1000, -1);
    for (int s = 0; s < 1000; s += 4)
        xs[static_cast<std::size_t>(s)] = s + 1;
    Fixture f(xs);
    ASSERT_TRUE(f.evaluate(OutEvalMode::Probability, {"0 < x"}));
    ASSERT_EQ(f.recorder.results.size(), 1u);
    EXPECT_EQ(f.recorder.results[0].Text, "0.25000000");
    EXPECT_EQ(f.equations.result().Value, 0.25L);
    EXPECT_TRUE(f.equations.compiled());
    EXPECT_EQ(f.recorder.busy, 0);
    EXPECT_TRUE(f.prompter.shown.empty());
}

TEST(OutEquations, ALiveCountOutlivesCompilingTheSameLinesAgain) {
    // A picture coloured by probability compiles the equations again as a run ends, before the
    // final count: that count goes on from the live one instead of counting every step again.
    std::vector<Extended> xs(1000, -1);
    for (int s = 0; s < 1000; s += 4)
        xs[static_cast<std::size_t>(s)] = s + 1;
    Fixture f(xs);
    f.equations.evalSettings().Mode = OutEvalMode::Probability;
    ASSERT_TRUE(f.equations.CompileForSteps({"0 < x"}));
    f.equations.BeginLiveCount(0);
    EXPECT_TRUE(f.equations.CountNewSteps(400));
    ASSERT_TRUE(f.equations.CompileForSteps({"0 < x"}));
    EXPECT_TRUE(f.equations.CountNewSteps(800));
    ASSERT_TRUE(f.equations.CompileForSteps({"0 < x"}));
    ASSERT_TRUE(f.equations.EvaluateOutEquations(f.steps));
    EXPECT_EQ(f.equations.result().Value, 0.25L);
    EXPECT_EQ(f.equations.convergence().size(), 3u);
    // Other lines are another count.
    ASSERT_TRUE(f.equations.CompileForSteps({"0 <= x"}));
    EXPECT_FALSE(f.equations.CountNewSteps(1000));
}

TEST(OutEquations, EachRelationReadsAsZeroRelationValue) {
    struct Case {
        std::vector<std::string> lines;
        Extended expected;
    };
    // x over the steps: -1, 0, 0, 2, 3. A condition on x alone reads its log; "(x)" evaluates.
    const Case cases[] = {
        {{"0 = x"}, 0.4L},  {{"0 = (x)"}, 0.4L}, {{"0 >= (x)"}, 0.6L},
        {{"0 < x"}, 0.4L},  {{"0 > x"}, 0.2L},   {{"0 <= x"}, 0.8L},
        {{"0 =< x"}, 0.8L}, {{"0 >= x"}, 0.6L},  {{"0 => x"}, 0.6L},
        {{"0 <> x"}, 0.6L}, {{"0 >< x"}, 0.6L},  {{"0 < d", "d = x - 2.5"}, 0.2L}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lines[0]);
        Fixture f({-1, 0, 0, 2, 3});
        ASSERT_TRUE(f.evaluate(OutEvalMode::Probability, c.lines));
        EXPECT_EQ(f.equations.result().Value, c.expected);
    }
}

TEST(OutEquations, ValidationMessages) {
    struct Case {
        OutEvalMode mode;
        std::vector<std::string> lines;
        const char* message; ///< empty: valid
        int raised;
    };
    const Case cases[] = {
        {OutEvalMode::Probability,
         {"0 < y"},
         "Set variable \"y\" activity to LOG for Output equation evaluation!",
         1},
        {OutEvalMode::Probability, {"0 < u"}, "Unknown variable u!", 0},
        {OutEvalMode::Probability, {"0 < Y1", "y1 = X"}, "", 0},
        {OutEvalMode::Probability, {"0 < q", "q = x", "Y = 1"}, "Variable Y already in use!", 0},
        {OutEvalMode::Probability, {"0 < x - p"}, "Unknown variable p!", 0},
        {OutEvalMode::Parameter, {"0 < x - p"}, "", 0},
        {OutEvalMode::Parameter, {"0 < x - r"}, "Unknown variable r!", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lines[0]);
        Fixture f({1, 2});
        f.equations.evalSettings().ParName = " P ";
        f.equations.evalSettings().MaxIter = 3;
        const bool ok = f.evaluate(c.mode, c.lines);
        EXPECT_EQ(ok, c.message[0] == 0);
        if (c.message[0] != 0) {
            EXPECT_EQ(f.prompter.texts(), std::vector<std::string>{c.message});
            EXPECT_EQ(f.recorder.errors, std::vector<std::string>{c.message});
        }
        EXPECT_EQ(f.recorder.raised, c.raised);
    }
}

TEST(OutEquations, ParameterSearchStops) {
    struct Case {
        const char* name;
        Extended parMin, parMax, target;
        std::int32_t maxIter;
        std::int32_t iterations; ///< evaluated parameter values
        Extended result;
    };
    // x = 1..100, condition x < p: P(p) = (#x < p) / 100
    const Case cases[] = {
        {"equal ends", 5, 5, 0.5L, 100, 3, 5},
        {"one iteration", 0, 100, 0.5L, 1, 3, 50},
        {"target above both ends", 0, 10, 0.9L, 1000, 0, 10},
        // P jumps from 0.25 to 0.26 at 26: the difference never gets small, the interval
        // closes on the jump and the search must stop there, not run on to MaxIter.
        {"target between two steps", 0, 100, 0.255L, 100000, 0, 26},
    };
    std::vector<Extended> xs;
    for (int i = 1; i <= 100; ++i)
        xs.push_back(i);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fixture f(xs);
        auto& eval = f.equations.evalSettings();
        eval = {OutEvalMode::Parameter, "p", c.parMin, c.parMax, c.target, c.maxIter, 1e-9L};
        ASSERT_TRUE(f.evaluate(OutEvalMode::Parameter, {"0 < p - x"}));
        const auto& its = f.recorder.iterations;
        if (c.iterations != 0) {
            EXPECT_EQ(static_cast<int>(its.size()), c.iterations);
        }
        EXPECT_LT(static_cast<int>(its.size()), 200); // never spins until MaxIter
        ASSERT_GE(its.size(), 3u);
        EXPECT_EQ(its[0].Parameter, c.parMin);
        EXPECT_EQ(its[1].Parameter, c.parMax);
        for (std::size_t k = 0; k < its.size(); ++k)
            EXPECT_EQ(its[k].Iteration, int(k) + 1);
        EXPECT_NEAR(static_cast<double>(f.equations.result().Value), static_cast<double>(c.result),
                    1e-12);
        EXPECT_EQ(f.equations.result().Value, its.back().Parameter);
    }
}

TEST(OutEquations, ParameterSearchConvergesOnTheTarget) {
    std::vector<Extended> xs;
    for (int i = 1; i <= 1000; ++i)
        xs.push_back(i);
    Fixture f(xs);
    f.equations.evalSettings() = {OutEvalMode::Parameter, "p", 0, 1000, 0.25L, 100, 0.0005L};
    ASSERT_TRUE(f.evaluate(OutEvalMode::Parameter, {"0 < p - x"}));
    // 250 of the values lie below any p in (250, 251].
    EXPECT_GT(f.equations.result().Value, 250);
    EXPECT_LE(f.equations.result().Value, 251);
    EXPECT_EQ(f.equations.current().Probability, 0.25L);
    EXPECT_EQ(f.equations.current().Difference, 0);
    EXPECT_EQ(f.recorder.results.back().Text, "250.9765625");
    EXPECT_LT(f.equations.current().Iteration, 100);
}

TEST(OutEquations, NothingToEvaluate) {
    Fixture f({1, 2, 3});
    f.equations.evalSettings().Mode = OutEvalMode::Probability;
    EXPECT_FALSE(f.equations.Evaluate({"0 < x"}, false, 3));
    EXPECT_EQ(f.prompter.texts(), std::vector<std::string>{"Run simulations first!"});
    EXPECT_EQ(f.prompter.shown[0].kind, Prompter::Kind::Warning);

    f.equations.evalSettings().Mode = OutEvalMode::Inactive;
    EXPECT_FALSE(f.equations.Evaluate({"0 < x"}, true, 3));
    EXPECT_EQ(f.prompter.shown.size(), 1u);

    f.equations.evalSettings().Mode = OutEvalMode::Probability;
    EXPECT_FALSE(f.equations.Evaluate({"; nothing"}, true, 3));
    EXPECT_EQ(f.prompter.texts().back(), "No expression");
    EXPECT_FALSE(f.equations.compiled());
}

TEST(OutEquations, EvaluationErrorStopsAndIsShown) {
    // Slots are counted several at a time: a failure anywhere in a group, or after the last
    // whole group, is found all the same.
    for (const std::size_t zeroAt : {0, 7, 8, 13, 16, 20}) {
        SCOPED_TRACE(zeroAt);
        std::vector<Extended> xs(21, 1);
        xs[zeroAt] = 0;
        Fixture f(xs);
        EXPECT_FALSE(f.evaluate(OutEvalMode::Probability, {"0 < 1 / x"}));
        EXPECT_EQ(f.prompter.texts(), std::vector<std::string>{"Division by zero"});
        EXPECT_FALSE(f.equations.hasResult());
        EXPECT_EQ(f.recorder.busy, 0);
    }
}

TEST(OutEquations, ConditionAtStepAndClear) {
    Fixture f({-1, 0, 4});
    ASSERT_TRUE(f.evaluate(OutEvalMode::Probability, {"0 <= x"}));
    const bool expected[] = {false, true, true};
    for (std::int32_t s = 0; s < 3; ++s) {
        SCOPED_TRACE(s);
        const auto c = f.equations.ConditionAtStep(s);
        EXPECT_TRUE(c.ok);
        EXPECT_EQ(c.holds, expected[s]);
    }
    EXPECT_FALSE(f.equations.ConditionAtStep(3).ok); // beyond the log

    f.equations.setMode(OutEvalMode::Parameter);
    EXPECT_FALSE(f.equations.compiled());
    EXPECT_FALSE(f.equations.hasResult());
    EXPECT_EQ(f.equations.result().Text, "");
}

} // namespace
} // namespace probex::test
