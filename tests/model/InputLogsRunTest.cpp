// The run keeps every sampled input's value per step only when an analysis asks for them.

#include "model/ProjectModel.h"

#include "sensitivity/RunSensitivity.h"
#include "settings/Settings.h"
#include "support/ScriptedPrompter.h"
#include "variables/Distributions.h"

#include <gtest/gtest.h>

namespace probex {
namespace {

class InputLogsRunTest : public ::testing::Test {
protected:
    InputLogsRunTest() : settings(MakeDefaultSettings("/tmp/")), model(settings, prompter, direct) {
        settings.DefOutVars = 3; // every output logged
        model.autoSeed = false;
        settings.Seed1 = 99;
        model.equations = {"Y = A + 10*B", "K = C"};
        model.setLastStep(3000);
        for (const char* name : {"A", "B"}) {
            EXPECT_TRUE(model.inputs().AddInputVariable(name));
            const int row = model.inputs().FindVarRow(name);
            model.inputs().commitCell(row, InputColumn::Type, "Uniform");
            model.inputs().record(row).Min = 0;
            model.inputs().record(row).Max = 1;
        }
        EXPECT_TRUE(model.inputs().AddInputVariable("C"));
        model.inputs().commitCell(model.inputs().FindVarRow("C"), InputColumn::Type, "Constant");
    }

    void run(bool interleaved) {
        model.Reset();
        model.interleavedRuns = interleaved;
        model.RunStop();
        model.waitForRun();
    }

    TSettings settings;
    test::ScriptedPrompter prompter;
    DirectCall direct;
    ProjectModel model;
};

TEST_F(InputLogsRunTest, EveryStepsDrawIsKeptWhetherStepsRunAloneOrInBlocks) {
    run(true);
    EXPECT_TRUE(model.outputs().inputLogs().empty()); // nothing asked for them
    EXPECT_TRUE(SensitivityOutputs(model.outputs()).empty());

    model.outputs().keepInputValues = true;
    for (const bool interleaved : {true, false}) {
        SCOPED_TRACE(interleaved);
        run(interleaved);
        const TInputLogs& logs = model.outputs().inputLogs();
        ASSERT_EQ(logs.logs().size(), 2u); // the constant C is no sampled input
        const TOutputTable& outputs = model.outputs();
        const TOutVar& y =
            outputs.runTable().item(outputs.FindActiveIndex(outputs.FindOutputRow("Y")));
        const TOutLog& a = logs.logs()[0].name == "A" ? logs.logs()[0].log : logs.logs()[1].log;
        const TOutLog& b = logs.logs()[0].name == "A" ? logs.logs()[1].log : logs.logs()[0].log;
        for (std::int32_t slot = 0; slot < 3000; ++slot)
            ASSERT_EQ((*y.Log)[slot], a[slot] + 10 * b[slot]) << slot;

        const auto s = OutputSensitivity(outputs, "Y", model.stepCounter());
        ASSERT_TRUE(s.has_value());
        EXPECT_EQ(s->inputs[0].input, "B");
    }
    model.Reset();
    EXPECT_TRUE(model.outputs().inputLogs().empty()); // freed with the other logs
}

} // namespace
} // namespace probex
