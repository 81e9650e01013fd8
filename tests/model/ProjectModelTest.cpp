#include "model/ProjectModel.h"

#include "settings/Settings.h"
#include "simulation/OutStat.h"
#include "support/QueuedMainThread.h"
#include "support/ScriptedPrompter.h"
#include "variables/Distributions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace probex {
namespace {

/// Records what the windows would be told; can stop the run at a chosen step.
class RecordingObserver : public ModelObserver {
public:
    std::vector<TEquError> errors;
    std::vector<std::string> statuses;
    std::vector<RunOutcome> outcomes;
    std::vector<std::int32_t> stepsShown;
    std::function<void(std::int32_t)> onStep;

    void showEquationError(const TEquError& error, bool) override { errors.push_back(error); }
    void showStatus(const std::string& text) override { statuses.push_back(text); }
    void showStep(std::int32_t step) override { stepsShown.push_back(step); }
    void refreshStatistics(std::int32_t step) override {
        if (onStep) onStep(step);
    }
    void runEnded(RunOutcome outcome) override { outcomes.push_back(outcome); }
};

class ProjectModelTest : public ::testing::Test {
protected:
    ProjectModelTest() : settings(MakeDefaultSettings("/tmp/")), model(settings, prompter, direct) {
        settings.DefOutVars = 3; // every output logged
        settings.RefreshRateStat = 1;
        model.setObserver(&observer);
        model.autoSeed = false;
        settings.Seed1 = 12345;
    }

    int addInput(const std::string& name, const char* type) {
        EXPECT_TRUE(model.inputs().AddInputVariable(name));
        const int row = model.inputs().FindVarRow(name);
        model.inputs().commitCell(row, InputColumn::Type, type);
        return row;
    }

    void uniform(const std::string& name, Extended min, Extended max) {
        TIis& iis = model.inputs().record(addInput(name, "Uniform"));
        iis.Min = min;
        iis.Max = max;
        EXPECT_EQ(CheckParameters(iis), "");
    }

    void constant(const std::string& name, Extended value) {
        model.inputs().record(addInput(name, "Constant")).Loc = value;
    }

    void run() {
        model.RunStop();
        model.waitForRun();
    }

    const TOutVar& output(const std::string& name) {
        const int row = model.outputs().FindOutputRow(name);
        return model.outputs().runTable().item(model.outputs().FindActiveIndex(row));
    }

    TSettings settings;
    test::ScriptedPrompter prompter;
    DirectCall direct;
    ProjectModel model;
    RecordingObserver observer;
};

bool SameBits(Extended a, Extended b) {
    return std::memcmp(&a, &b, 10) == 0;
}

TEST_F(ProjectModelTest, SeededRunReproducesExactlyAndStopContinueMatchesOneRun) {
    model.equations = {"y = a*b + c", "c = a - b"};
    uniform("a", 1, 2);
    uniform("b", 0, 1);
    model.setLastStep(2000);
    run();
    ASSERT_TRUE(model.resultsExist());
    const TOutStat whole = *output("y").Stat;
    std::vector<Extended> wholeLog;
    for (std::int32_t s = 0; s < 2000; ++s)
        wholeLog.push_back((*output("y").Log)[s]);

    model.Reset();
    observer.onStep = [this](std::int32_t step) {
        if (step == 1234) model.requestStop();
    };
    run();
    EXPECT_EQ(model.stepCounter(), 1234);
    EXPECT_EQ(observer.outcomes.back(), RunOutcome::Stopped);
    const std::uint32_t seedAtStop = model.random().RandSeed;
    observer.onStep = [this, seedAtStop](std::int32_t step) {
        if (step == 1235) {
            EXPECT_NE(model.random().RandSeed, seedAtStop); // drawn on, not reseeded
        }
    };
    run();
    EXPECT_EQ(model.stepCounter(), 2000);
    const TOutStat& resumed = *output("y").Stat;
    EXPECT_EQ(resumed.count, 2000);
    EXPECT_TRUE(SameBits(resumed.s1, whole.s1));
    EXPECT_TRUE(SameBits(resumed.s2, whole.s2));
    EXPECT_TRUE(SameBits(resumed.min, whole.min));
    EXPECT_TRUE(SameBits(resumed.max, whole.max));
    for (int s = 0; s < 2000; ++s)
        ASSERT_TRUE(SameBits((*output("y").Log)[s], wholeLog[s])) << s;
}

TEST_F(ProjectModelTest, RestartCancelChangesNothingAndOkStartsAfresh) {
    model.equations = {"y = a"};
    uniform("a", 0, 1);
    model.setLastStep(100);
    run();
    const Extended mean = output("y").Stat->s1;
    prompter.answers.push_back(Prompter::Answer::Cancel);
    EXPECT_EQ(model.RunStop(), ProjectModel::RunCommand::Declined);
    EXPECT_EQ(prompter.shown.back().text, "Restart?");
    EXPECT_TRUE(model.resultsExist());
    EXPECT_EQ(model.stepCounter(), 100);
    EXPECT_TRUE(SameBits(output("y").Stat->s1, mean));

    prompter.answers.push_back(Prompter::Answer::Ok);
    run();
    EXPECT_EQ(model.stepCounter(), 100);
    EXPECT_TRUE(SameBits(output("y").Stat->s1, mean)); // reseeded: the same run again
}

TEST_F(ProjectModelTest, LastStepZeroPerformsNoStep) {
    model.equations = {"y = a"};
    uniform("a", 0, 1);
    model.setLastStep(0);
    prompter.answers.push_back(Prompter::Answer::Ok); // 0 steps are not more than 0: "Restart?"
    run();
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{"Restart?"});
    EXPECT_EQ(observer.outcomes, std::vector<RunOutcome>{RunOutcome::NoStep});
    EXPECT_EQ(model.stepCounter(), 0);
    EXPECT_FALSE(model.resultsExist());
    EXPECT_FALSE(model.running());
}

TEST_F(ProjectModelTest, DivisionByZeroInStepOneNamesTheEquationLine) {
    model.equations = {"; model", "z = y + 1", "y = 1/x"};
    constant("x", 0);
    run();
    ASSERT_EQ(observer.errors.size(), 1u);
    EXPECT_EQ(observer.errors[0].Code, ecDivisionByZero);
    EXPECT_EQ(observer.errors[0].Line, 2);
    EXPECT_EQ(observer.errors[0].Pos, 3); // just before the expression " 1/x"
    EXPECT_EQ(model.stepCounter(), 0);    // the failing step leaves no trace
    EXPECT_FALSE(model.resultsExist());
    EXPECT_FALSE(model.running());
}

TEST_F(ProjectModelTest, ConstantOutputKeepsTheStartupPhaseAndReportsItsValue) {
    model.equations = {"y = a", "w = b"};
    constant("a", 5);
    uniform("b", 0, 1);
    model.setLastStep(350);
    run();
    EXPECT_EQ(observer.statuses, (std::vector<std::string>{"y=5", "y=5", "y=5", "", ""}));
    EXPECT_EQ(output("y").Stat->count, 350);
    EXPECT_FALSE(output("y").His->rangeSet);
}

TEST_F(ProjectModelTest, InitialSamplingUsesTheExtremesInStepsOneAndTwo) {
    model.equations = {"y = a"};
    uniform("a", 2, 4);
    settings.InitialSampling = 1;
    model.setLastStep(1);
    run(); // only the lower extreme fits
    EXPECT_EQ(model.stepCounter(), 1);
    EXPECT_EQ((*output("y").Log)[0], LowerExtreme(model.inputs().record(1)));

    model.Reset();
    model.setLastStep(10);
    run();
    EXPECT_EQ((*output("y").Log)[0], LowerExtreme(model.inputs().record(1)));
    EXPECT_EQ((*output("y").Log)[1], UpperExtreme(model.inputs().record(1), 10));
    EXPECT_EQ(output("y").Stat->count, 10);
}

TEST_F(ProjectModelTest, UndefinedInputsStopTheCompileAllNamed) {
    model.equations = {"y = a + b*c"};
    uniform("a", 0, 1);
    EXPECT_FALSE(model.Compile());
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{"Input variable not defined!\nb, c"});
    EXPECT_EQ(observer.statuses.back(), "Input variable not defined: b, c");
    EXPECT_NE(model.inputs().FindVarRow("b"), 0);
    EXPECT_NE(model.inputs().FindVarRow("c"), 0);
}

TEST_F(ProjectModelTest, NewClearsTheStatusOfTheOldProject) {
    model.equations = {"y = a"};
    EXPECT_FALSE(model.Compile());
    ASSERT_EQ(observer.statuses.back(), "Input variable not defined: a");
    model.clearProject();
    EXPECT_EQ(observer.statuses.back(), "");
}

TEST_F(ProjectModelTest, ComputedNameLosesItsInputRowDistribution) {
    uniform("y", 0, 1);
    model.equations = {"y = 2"};
    EXPECT_TRUE(model.Compile());
    EXPECT_EQ(model.inputs().kind(1), DistKind::dkUndefined);
    EXPECT_EQ(model.inputs().cell(1, InputColumn::Variable), "y");
    EXPECT_EQ(model.inputs().cell(1, InputColumn::Type), "");
}

TEST_F(ProjectModelTest, DiscardDuringARunWaitsForItsEnd) {
    model.equations = {"y = a"};
    uniform("a", 0, 1);
    model.setLastStep(1000);
    observer.onStep = [this](std::int32_t step) {
        if (step == 10) {
            EXPECT_TRUE(model.InvalidateResults() == false);
            EXPECT_NE(output("y").Stat, nullptr); // still there for the worker
        }
    };
    run();
    EXPECT_EQ(observer.outcomes.back(), RunOutcome::Stopped);
    EXPECT_FALSE(model.resultsExist());
    EXPECT_EQ(model.outputs().runTable().count(), 0);
    EXPECT_EQ(model.stepCounter(), 0);
}

TEST_F(ProjectModelTest, ProbabilityOfTheOutEquationsAfterTheRun) {
    model.equations = {"y = a"};
    uniform("a", -1, 3);
    model.outEquationLines = {"0 > y"};
    model.outEquations().setMode(OutEvalMode::Probability);
    settings.RefreshRatePQ = 1000; // counted live as well
    model.setLastStep(4000);
    run();
    ASSERT_TRUE(model.outEquations().hasResult());
    int negatives = 0, large = 0;
    for (int s = 0; s < 4000; ++s) {
        negatives += (*output("y").Log)[s] < 0;
        large += (*output("y").Log)[s] > 2;
    }
    EXPECT_EQ(model.outEquations().result().Value, Extended(negatives) / 4000);
    // Edited afterwards, the equations are counted anew, not from the run's live count.
    model.outEquationLines = {"0 < y - 2"};
    ASSERT_TRUE(model.Evaluate());
    EXPECT_EQ(model.outEquations().result().Value, Extended(large) / 4000);
}

TEST_F(ProjectModelTest, StopRuleEndsASeededRunAtTheFirstBlockWithTheTargetCoV) {
    model.equations = {"y = a"};
    uniform("a", 0, 1);
    model.outEquationLines = {"0 > y - 0.2"};
    model.outEquations().setMode(OutEvalMode::Probability);
    TOutEvalSettings& eval = model.outEquations().evalSettings();
    eval.StopRule = true;
    eval.TargetCoV = 5;
    eval.MinSteps = 500;
    model.setLastStep(100000);

    // Where the rule must stop, worked out from the log after the run: the first block of
    // steps at which it holds, whatever the refresh settings.
    const auto expectedStop = [this] {
        std::int64_t count = 0;
        for (std::int32_t s = 0; s < model.stepCounter(); ++s) {
            count += (*output("y").Log)[s] < 0.2L;
            const double n = s + 1, p = count / n;
            if ((s + 1) % 8 == 0 && n >= 500 && count > 0 && std::sqrt((1 - p) / (n * p)) <= 0.05)
                return s + 1;
        }
        return -1;
    };
    std::int32_t stop = 0;
    for (const std::int32_t refreshRate : {100, 1000000000}) {
        SCOPED_TRACE(refreshRate);
        settings.RefreshRatePQ = refreshRate;
        model.Reset();
        run();
        EXPECT_EQ(model.stepCounter(), expectedStop());
        if (stop != 0) {
            EXPECT_EQ(model.stepCounter(), stop);
        }
        stop = model.stepCounter();
        EXPECT_LT(stop, 100000);
        EXPECT_EQ(observer.outcomes.back(), RunOutcome::Finished);
        EXPECT_TRUE(model.resultsExist());
        EXPECT_TRUE(observer.statuses.back().starts_with("Stopped at step " + std::to_string(stop) +
                                                         ": CoV "))
            << observer.statuses.back();
    }
    // One live point per refresh and the count at the end, which agrees with the live one.
    settings.RefreshRatePQ = 100;
    model.Reset();
    run();
    const std::vector<TProbabilityEstimate>& history = model.outEquations().convergence();
    ASSERT_EQ(history.size(), std::size_t(stop / 100 + (stop % 100 != 0)));
    EXPECT_EQ(history[0].Steps, 100);
    EXPECT_EQ(history.back().Count, model.outEquations().result().Estimate.Count);
    EXPECT_EQ(history.back().Steps, stop);
    EXPECT_EQ(model.outEquations().result().Estimate.Steps, stop);
}

// Set as a file may leave them: entered values, derived ones from before.
TIis Entered(DistKind kind, Extended min, Extended max, Extended mean, Extended stdev) {
    TIis iis;
    iis.Kind = kind;
    SetDefaultParameters(iis);
    iis.Min = min;
    iis.Max = max;
    iis.Mean = mean;
    iis.StDev = stdev;
    return iis;
}

TEST_F(ProjectModelTest, RefusedParametersNeverReachARun) {
    struct Case {
        TIis iis;
        const char* message;
    };
    const Case cases[] = {
        {Entered(DistKind::dkNormal, -10, 10, 5, 0), "Must be StDev>0!"},
        {Entered(DistKind::dkUniform, 3, 3, 0, 0), "Must be Min<Max!"},
        {Entered(DistKind::dkNormal, 5, 1, 0, 1), "Must be Min<Max!"},
        {Entered(DistKind::dkUniform, -1e4932L, 1e4932L, 0, 0),
         "Parameters too far apart: derived values are not finite numbers!"},
    };
    model.equations = {"y = a + b"};
    uniform("a", 0, 1);
    addInput("b", "Uniform");
    observer.onStep = [this](std::int32_t) { model.requestStop(); }; // a run that starts ends
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        prompter.shown.clear();
        model.inputs().record(2) = c.iis;
        EXPECT_EQ(model.RunStop(), ProjectModel::RunCommand::Failed);
        model.waitForRun();
        EXPECT_EQ(prompter.texts(),
                  std::vector<std::string>{std::string("Input variable b: ") + c.message});
        EXPECT_FALSE(model.running());
        EXPECT_FALSE(model.resultsExist());
        EXPECT_EQ(model.stepCounter(), 0);
    }
}

TEST_F(ProjectModelTest, AlmostHopelessDrawingAsksBeforeTheRun) {
    model.equations = {"y = a"};
    // About 5e-7 of this normal lies between Min and Max: slow, yet drawable.
    model.inputs().record(addInput("a", "Normal")) = Entered(DistKind::dkNormal, 4.9L, 100, 0, 1);
    model.setLastStep(1);
    const std::string question = "Input variable a: Should be Min<Mean!\nLess than 1e-6 of the "
                                 "distribution lies between Min and Max: drawing a value may take "
                                 "very long!\nRun anyway?";
    prompter.answers.push_back(Prompter::Answer::No);
    EXPECT_EQ(model.RunStop(), ProjectModel::RunCommand::Failed);
    ASSERT_EQ(prompter.texts(), std::vector<std::string>{question});
    EXPECT_EQ(prompter.shown[0].buttons, Prompter::Buttons::YesNo);
    EXPECT_FALSE(model.running());

    prompter.answers.push_back(Prompter::Answer::Yes);
    run();
    EXPECT_EQ(model.stepCounter(), 1);
    EXPECT_TRUE(model.resultsExist());
    EXPECT_GT(output("y").Stat->min, 4.9L);
}

TEST_F(ProjectModelTest, StopDuringAHopelessDrawAbandonsTheStep) {
    model.equations = {"y = a + b"};
    uniform("b", 0, 1);
    model.inputs().record(addInput("a", "Normal")) = Entered(DistKind::dkNormal, 50, 60, 0, 1);
    prompter.answers.push_back(Prompter::Answer::Yes);
    ASSERT_EQ(model.RunStop(), ProjectModel::RunCommand::Started);
    model.requestStop();
    model.waitForRun();
    EXPECT_EQ(observer.outcomes, std::vector<RunOutcome>{RunOutcome::Stopped});
    EXPECT_EQ(model.stepCounter(), 0);
    EXPECT_EQ(output("y").Stat->count, 0);
    EXPECT_EQ((*output("y").Log)[0], 0);
}

TEST_F(ProjectModelTest, FailingStepOfAContinuedRunLeavesNoTrace) {
    model.equations = {"y = 1/(s - 8)"};
    addInput("s", "Step number");
    model.outEquationLines = {"0 > y"};
    model.outEquations().setMode(OutEvalMode::Probability);
    model.setLastStep(20);
    observer.onStep = [this](std::int32_t step) {
        if (step == 5) model.requestStop();
    };
    run();
    ASSERT_EQ(model.stepCounter(), 5);
    observer.onStep = nullptr;
    run(); // fails in step 8
    ASSERT_EQ(observer.errors.size(), 1u);
    EXPECT_EQ(observer.errors[0].Code, ecDivisionByZero);
    EXPECT_TRUE(model.resultsExist());
    EXPECT_EQ(model.stepCounter(), 7);
    EXPECT_EQ(output("y").Stat->count, 7);
    ASSERT_TRUE(model.Evaluate());
    EXPECT_EQ(model.outEquations().result().Value, 1); // y < 0 in every step run
}

TEST_F(ProjectModelTest, LogsThatCannotFitInMemoryAreRefused) {
    std::vector<std::string> equations;
    for (char name = 'c'; name < 'c' + 8; ++name) // 8 logs of 999999999 steps: 80 GB
        equations.push_back(std::string(1, name) + " = a + " + std::to_string(name - 'c'));
    model.equations = equations;
    uniform("a", 0, 1);
    model.setLastStep(ProjectModel::MaxLastStep);
    observer.onStep = [this](std::int32_t) { model.requestStop(); }; // a run that starts ends
    EXPECT_EQ(model.RunStop(), ProjectModel::RunCommand::Failed);
    model.waitForRun();
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_TRUE(prompter.shown[0].text.starts_with(
        "No memory! The logs of 8 variables need 80.0 GB for 999999999 steps;"))
        << prompter.shown[0].text;
    EXPECT_FALSE(model.resultsExist());
    EXPECT_EQ(model.outputs().runTable().count(), 0);
}

TEST_F(ProjectModelTest, EmptyOutEquationsAreAbsentAndTheRunGoesOn) {
    model.equations = {"y = a"};
    uniform("a", 0, 1);
    model.setLastStep(10);
    for (OutEvalMode mode : {OutEvalMode::Probability, OutEvalMode::Parameter}) {
        for (const std::vector<std::string>& lines :
             {std::vector<std::string>{}, std::vector<std::string>{"  ", "; note"}}) {
            model.Reset();
            model.outEquationLines = lines;
            model.outEquations().setMode(mode);
            run();
            EXPECT_TRUE(observer.errors.empty());
            EXPECT_TRUE(model.resultsExist());
            EXPECT_EQ(model.stepCounter(), 10);
            EXPECT_FALSE(model.outEquations().compiled());
        }
    }
}

} // namespace
} // namespace probex

namespace probex {
namespace {

TEST(ProjectModelThreads, HandOversRunOnTheCallingThreadWhileTheWorkerWaits) {
    TSettings settings = MakeDefaultSettings("/tmp/");
    settings.DefOutVars = 2;
    settings.RefreshRateStat = 7;
    test::ScriptedPrompter prompter;
    test::QueuedMainThread mainThread;
    ProjectModel model(settings, prompter, mainThread);
    RecordingObserver observer;
    model.setObserver(&observer);
    const std::thread::id mainId = std::this_thread::get_id();
    std::int32_t refreshes = 0;
    observer.onStep = [&](std::int32_t step) {
        EXPECT_EQ(std::this_thread::get_id(), mainId);
        EXPECT_EQ(model.stepCounter(), step); // the worker waits during the hand-over
        StatCompute(*model.outputs().runTable().item(1).Stat, 2);
        ++refreshes;
    };
    model.equations = {"y = a*a"};
    ASSERT_TRUE(model.inputs().AddInputVariable("a"));
    model.inputs().commitCell(1, InputColumn::Type, "Normal");
    model.setLastStep(5000);
    ASSERT_EQ(model.RunStop(), ProjectModel::RunCommand::Started);
    mainThread.serveUntil([&] { return !observer.outcomes.empty(); });
    model.waitForRun();
    EXPECT_EQ(refreshes, 5000 / 7);
    EXPECT_TRUE(model.resultsExist());
    EXPECT_EQ(model.outputs().runTable().item(1).Stat->count, 5000);
}

} // namespace
} // namespace probex
