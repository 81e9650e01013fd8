#include "model/ProjectModel.h"

#include "settings/Settings.h"
#include "simulation/OutStat.h"
#include "support/QueuedMainThread.h"
#include "support/ScriptedPrompter.h"
#include "variables/Distributions.h"

#include <gtest/gtest.h>

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
    std::vector<Extended> wholeLog(output("y").Log->values(), output("y").Log->values() + 2000);

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
    EXPECT_EQ(model.stepCounter(), 1);
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

TEST_F(ProjectModelTest, UndefinedInputStopsTheCompile) {
    model.equations = {"y = a + b"};
    uniform("a", 0, 1);
    EXPECT_FALSE(model.Compile());
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{"Input variable not defined!\nb"});
    EXPECT_EQ(model.inputs().FindVarRow("b"), 2);
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
    model.setLastStep(4000);
    run();
    ASSERT_TRUE(model.outEquations().hasResult());
    int negatives = 0;
    for (int s = 0; s < 4000; ++s)
        negatives += (*output("y").Log)[s] < 0;
    EXPECT_EQ(model.outEquations().result().Value, Extended(negatives) / 4000);
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
