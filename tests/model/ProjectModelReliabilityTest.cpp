#include "model/ProjectModel.h"

#include "settings/Settings.h"
#include "support/ScriptedPrompter.h"
#include "variables/Distributions.h"

#include <gtest/gtest.h>

#include <cmath>

namespace probex {
namespace {

// R − S with R ~ N(4, 1) and S ~ N(2, 1): FORM gives Φ(−√2) exactly.
class ProjectModelReliabilityTest : public ::testing::Test {
protected:
    ProjectModelReliabilityTest()
        : settings(MakeDefaultSettings("/tmp/")), model(settings, prompter, direct) {
        settings.DefOutVars = 1; // statistics only: the methods need no log
        model.autoSeed = false;
        settings.Seed1 = 5;
        model.equations = {"Z = R - S"};
        normal("R", 4);
        normal("S", 2);
        model.outEquationLines = {"0 > Z"};
        model.outEquations().setMode(OutEvalMode::Probability);
    }

    void normal(const std::string& name, Extended mean) {
        ASSERT_TRUE(model.inputs().AddInputVariable(name));
        const int row = model.inputs().FindVarRow(name);
        model.inputs().commitCell(row, InputColumn::Type, "Normal");
        TIis& iis = model.inputs().record(row);
        iis.Min = -100;
        iis.Max = 100;
        iis.Mean = mean;
        iis.StDev = 1;
        ASSERT_EQ(CheckParameters(iis), "");
    }

    TReliabilitySettings& method() { return model.outEquations().evalSettings().Reliability; }

    TSettings settings;
    test::ScriptedPrompter prompter;
    DirectCall direct;
    ProjectModel model;
};

constexpr Extended PhiMinusSqrt2 = 0.0786496035251426L;

TEST_F(ProjectModelReliabilityTest, EvaluateComputesTheProbabilityWithoutARun) {
    method().Method = ReliabilityMethod::Form;
    ASSERT_TRUE(model.Evaluate());
    model.waitForRun();
    EXPECT_FALSE(model.running());
    EXPECT_FALSE(model.resultsExist());
    ASSERT_TRUE(model.outEquations().hasResult());
    EXPECT_NEAR(model.outEquations().result().Value, PhiMinusSqrt2, 1e-8L);
    EXPECT_EQ(model.outEquations().result().Text, "0.07864960");
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(ProjectModelReliabilityTest, CorrelatedInputsGoThroughTheCopula) {
    // A rank correlation of 0.4825837395 is 0.5 in normal space: Z = R - S then has variance
    // 2 - 2 * 0.5 = 1, so beta = 2 exactly; FORM and SORM are exact for a linear Z in z = L u.
    model.correlations.set("R", "S", 0.4825837395L);
    for (const ReliabilityMethod m : {ReliabilityMethod::Form, ReliabilityMethod::Sorm}) {
        method().Method = m;
        ASSERT_TRUE(model.Evaluate());
        model.waitForRun();
        ASSERT_TRUE(model.outEquations().hasResult());
        EXPECT_NEAR(model.outEquations().result().Value, 0.0227501319481792L, 1e-7L);
    }
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(ProjectModelReliabilityTest, RunEndEvaluatesWithTheChosenMethod) {
    method().Method = ReliabilityMethod::Sorm;
    model.setLastStep(100);
    model.RunStop();
    model.waitForRun();
    EXPECT_TRUE(model.resultsExist());
    ASSERT_TRUE(model.outEquations().hasResult());
    EXPECT_TRUE(model.outEquations().reliabilityResult().HasSorm);
    EXPECT_NEAR(model.outEquations().result().Value, PhiMinusSqrt2, 1e-7L);
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(ProjectModelReliabilityTest, ParameterSearchUsesTheMethodForEachProbability) {
    // P(Z < k) = Φ((k − 2)/√2) reaches one half at k = 2.
    model.outEquationLines = {"0 > G", "G = Z - k"};
    TOutEvalSettings& eval = model.outEquations().evalSettings();
    model.outEquations().setMode(OutEvalMode::Parameter);
    eval.ParName = "k";
    eval.ParMin = 0;
    eval.ParMax = 3;
    eval.Target = 0.5L;
    eval.MaxDiff = 1e-7L;
    eval.Reliability.Method = ReliabilityMethod::Form;
    ASSERT_TRUE(model.Evaluate());
    model.waitForRun();
    ASSERT_TRUE(model.outEquations().hasResult());
    EXPECT_NEAR(model.outEquations().result().Value, 2, 1e-5L);
}

TEST_F(ProjectModelReliabilityTest, StopEndsTheEvaluationWithWhatItHad) {
    method().Method = ReliabilityMethod::ImportanceSampling;
    method().IsSamples = 100000000;
    ASSERT_TRUE(model.Evaluate());
    model.requestStop();
    model.waitForRun();
    EXPECT_FALSE(model.running());
    const TReliabilityResult& result = model.outEquations().reliabilityResult();
    EXPECT_TRUE(result.Stopped);
    EXPECT_LT(result.Evaluations, 100000000);
}

TEST_F(ProjectModelReliabilityTest, AConditionWithoutASideIsRefused) {
    method().Method = ReliabilityMethod::SubsetSimulation;
    model.outEquationLines = {"0 = Z"};
    EXPECT_FALSE(model.Evaluate());
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_NE(prompter.shown[0].text.find("Subset simulation needs a condition"),
              std::string::npos);
}

} // namespace
} // namespace probex
