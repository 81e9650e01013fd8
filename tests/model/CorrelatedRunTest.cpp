#include "model/ProjectModel.h"

#include "settings/Settings.h"
#include "support/RankCorrelation.h"
#include "support/ScriptedPrompter.h"
#include "variables/Distributions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace probex {
namespace {

using test::RankCorrelation;

class CorrelatedRunTest : public ::testing::Test {
protected:
    CorrelatedRunTest()
        : settings(MakeDefaultSettings("/tmp/")), model(settings, prompter, direct) {
        settings.DefOutVars = 3; // every output logged
        model.autoSeed = false;
        settings.Seed1 = 4711;
        model.equations = {"ya = a", "yb = b", "yc = c"};
        input("a", "Normal", 0, 10, 5, 1);
        input("b", "Lognormal", 0, 100, 10, 3);
        input("c", "Uniform", 0, 1, 0, 0);
        model.setLastStep(Steps);
    }

    void input(const char* name, const char* type, Extended min, Extended max, Extended mean,
               Extended stdev) {
        ASSERT_TRUE(model.inputs().AddInputVariable(name));
        const int row = model.inputs().FindVarRow(name);
        model.inputs().commitCell(row, InputColumn::Type, type);
        TIis& iis = model.inputs().record(row);
        iis.Min = min;
        iis.Max = max;
        iis.Mean = mean;
        iis.StDev = stdev;
        ASSERT_EQ(CheckParameters(iis), "");
    }

    ProjectModel::RunCommand run() {
        const ProjectModel::RunCommand command = model.RunStop();
        model.waitForRun();
        return command;
    }

    std::vector<double> logged(const char* name) {
        const TOutVarSet& table = model.outputs().runTable();
        const TOutVar& out = table.item(table.FindActiveIndex(model.outputs().FindOutputRow(name)));
        std::vector<double> values;
        for (int s = 0; s < Steps; ++s)
            values.push_back(static_cast<double>((*out.Log)[s]));
        return values;
    }

    static constexpr int Steps = 20000;
    TSettings settings;
    test::ScriptedPrompter prompter;
    DirectCall direct;
    ProjectModel model;
};

TEST_F(CorrelatedRunTest, DrawnValuesHaveTheEnteredRankCorrelations) {
    model.correlations.set("a", "b", 0.7L);
    model.correlations.set("c", "a", -0.4L);
    ASSERT_EQ(run(), ProjectModel::RunCommand::Started);
    ASSERT_TRUE(model.resultsExist());
    const double tolerance = 3.29 / std::sqrt(Steps - 1.0);
    EXPECT_NEAR(RankCorrelation(logged("ya"), logged("yb")), 0.7, tolerance);
    EXPECT_NEAR(RankCorrelation(logged("ya"), logged("yc")), -0.4, tolerance);
    EXPECT_NEAR(RankCorrelation(logged("yb"), logged("yc")), 0, 2 * tolerance);
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(CorrelatedRunTest, BlocksOfStepsDrawAsStepByStep) {
    model.correlations.set("a", "b", 0.5L);
    std::vector<std::vector<double>> runs;
    for (const bool interleaved : {true, false}) {
        model.Reset();
        model.interleavedRuns = interleaved;
        run();
        runs.push_back(logged("ya"));
        const std::vector<double> b = logged("yb"), c = logged("yc");
        runs.back().insert(runs.back().end(), b.begin(), b.end());
        runs.back().insert(runs.back().end(), c.begin(), c.end());
    }
    EXPECT_EQ(runs[0], runs[1]);
}

TEST_F(CorrelatedRunTest, InconsistentCorrelationsAskForTheNearestValidMatrix) {
    model.correlations.set("a", "b", 0.9L);
    model.correlations.set("b", "c", 0.9L);
    model.correlations.set("a", "c", -0.9L);
    prompter.answers = {Prompter::Answer::No, Prompter::Answer::Yes};
    EXPECT_EQ(run(), ProjectModel::RunCommand::Failed);
    ASSERT_EQ(prompter.shown.size(), 1U);
    const std::string& question = prompter.shown[0].text;
    EXPECT_NE(question.find("not positive definite"), std::string::npos);
    EXPECT_NE(question.find("\nb, a: 0.9 -> 0.48"), std::string::npos) << question;
    EXPECT_EQ(prompter.shown[0].buttons, Prompter::Buttons::YesNo);
    EXPECT_FALSE(model.resultsExist());

    EXPECT_EQ(run(), ProjectModel::RunCommand::Started);
    EXPECT_TRUE(model.resultsExist());
    EXPECT_EQ(prompter.shown.size(), 2U);
}

TEST_F(CorrelatedRunTest, AConstantCannotBeCorrelated) {
    model.equations.push_back("yd = d");
    ASSERT_TRUE(model.inputs().AddInputVariable("d"));
    model.inputs().commitCell(model.inputs().FindVarRow("d"), InputColumn::Type, "Constant");
    model.correlations.set("a", "d", 0.3L);
    EXPECT_EQ(run(), ProjectModel::RunCommand::Failed);
    EXPECT_EQ(prompter.texts(),
              std::vector<std::string>{"Input variable d (Constant) cannot be correlated: only "
                                       "an input drawn from a distribution can."});
}

} // namespace
} // namespace probex
