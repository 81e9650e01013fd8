#include "model/ResultWindowOpening.h"

#include "model/ProjectModel.h"
#include "settings/Settings.h"
#include "support/ScriptedPrompter.h"

#include <gtest/gtest.h>

namespace probex {
namespace {

class ResultWindowOpeningTest : public ::testing::Test {
protected:
    ResultWindowOpeningTest()
        : settings(MakeDefaultSettings("/tmp/")), model(settings, prompter, direct) {}

    TOutputTable& outputs() { return model.outputs(); }
    const std::string& activity(int row) { return outputs().cell(row, colActivity); }

    TSettings settings;
    test::ScriptedPrompter prompter;
    DirectCall direct;
    ProjectModel model;
};

TEST_F(ResultWindowOpeningTest, ViewTakesTheCurrentRowElseTheFirstWithoutAWindow) {
    for (const char* name : {"a", "b", "c"})
        outputs().AddOutputVariable(name);
    EXPECT_EQ(VariableForNewWindow(model, ResultWindowKind::Statistics, 2), "b");
    OpenResultWindow(model, ResultWindowKind::Statistics, "b");
    EXPECT_EQ(VariableForNewWindow(model, ResultWindowKind::Statistics, 2), "a");
    EXPECT_EQ(VariableForNewWindow(model, ResultWindowKind::OneD, 2), "b");
    OpenResultWindow(model, ResultWindowKind::Statistics, "a");
    OpenResultWindow(model, ResultWindowKind::Statistics, "c");
    EXPECT_EQ(VariableForNewWindow(model, ResultWindowKind::Statistics, 2), "");
}

TEST_F(ResultWindowOpeningTest, OpeningRaisesTheActivityTheWindowNeeds) {
    const int a = outputs().AddOutputVariable("a");
    const int b = outputs().AddOutputVariable("b");
    outputs().setCell(b, colActivity, "Log");
    outputs().record(a).windowIds[ow1D] = "one";
    OpenResultWindow(model, ResultWindowKind::Statistics, "a");
    EXPECT_EQ(activity(a), "Statistics");
    OpenResultWindow(model, ResultWindowKind::OneD, "a");
    EXPECT_EQ(activity(a), "Histogram");
    EXPECT_EQ(model.resultWindows.oneD.at(0).identification, "one");
    OpenResultWindow(model, ResultWindowKind::Quantile, "b");
    EXPECT_EQ(activity(b), "Log");
    // A name not in the table gets a row.
    OpenResultWindow(model, ResultWindowKind::Probability, "new");
    EXPECT_EQ(activity(outputs().FindOutputRow("new")), "Histogram");
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(ResultWindowOpeningTest, NoVariableOpensNoWindow) {
    for (const ResultWindowKind kind : AllResultWindowKinds) {
        OpenResultWindow(model, kind, VariableForNewWindow(model, kind, 1));
        EXPECT_EQ(model.resultWindows.count(kind), 0u);
    }
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(ResultWindowOpeningTest, AFullTableOpensAnEmptyWindow) {
    for (int row = 1; row <= OutputRows; ++row)
        outputs().AddOutputVariable("v" + std::to_string(row));
    OpenResultWindow(model, ResultWindowKind::OneD, "w");
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text, "Unable to add variable w!");
    ASSERT_EQ(model.resultWindows.oneD.size(), 1u);
    EXPECT_EQ(model.resultWindows.oneD[0].variable, "");
}

TEST_F(ResultWindowOpeningTest, TheEndOfARunRebuildsWhatA1DWindowAsksFor) {
    settings.DefOutVars = 3;
    model.equations = {"y = x*x", "z = x*x"};
    model.inputs().AddInputVariable("x");
    model.inputs().commitCell(1, InputColumn::Type, "Step number");
    model.setLastStep(50);
    ASSERT_TRUE(model.Compile());
    for (const char* name : {"y", "z"})
        OpenResultWindow(model, ResultWindowKind::OneD, name);
    outputs().setCell(outputs().FindOutputRow("y"), colRecalculate, "Yes");
    model.RunStop();
    model.waitForRun();
    FinalOneDHistograms(model);
    const auto his = [this](const char* name) -> const TOutHis& {
        const int row = outputs().FindOutputRow(name);
        return *outputs().runTable().item(outputs().FindActiveIndex(row)).His;
    };
    EXPECT_TRUE(his("y").recalculated);
    EXPECT_EQ(his("y").rangeMin, 1);
    EXPECT_EQ(his("y").rangeMax, 2500);
    EXPECT_FALSE(his("z").recalculated);
    EXPECT_EQ(his("z").level, 3);
}

} // namespace
} // namespace probex
