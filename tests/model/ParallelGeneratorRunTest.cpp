// Runs with the "Parallel" generator: every value depends only on the seeds and the step.

#include "model/ProjectModel.h"

#include "settings/Settings.h"
#include "simulation/OutStat.h"
#include "support/ScriptedPrompter.h"
#include "variables/Distributions.h"
#include "variables/Random.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace probex {
namespace {

class StopObserver : public ModelObserver {
public:
    std::function<void(std::int32_t)> onStep;
    void refreshStatistics(std::int32_t step) override {
        if (onStep) onStep(step);
    }
};

class ParallelGeneratorRunTest : public ::testing::Test {
protected:
    ParallelGeneratorRunTest()
        : settings(MakeDefaultSettings("/tmp/")), model(settings, prompter, direct) {
        settings.DefOutVars = 3; // every output logged
        settings.RefreshRateStat = 1;
        settings.Generator = GeneratorParallel;
        settings.Seed1 = 12345;
        settings.Seed2 = 678;
        model.setObserver(&observer);
        model.autoSeed = false;
        model.equations = {"y = a*b + c"};
        input("a", DistKind::dkUniform, 1, 2, 0, 0);
        input("b", DistKind::dkNormal, -2, 2, 0, 1); // rejections and kept deviates
        input("c", DistKind::dkContinuous, 0, 1, 0, 0);
    }

    void input(const std::string& name, DistKind kind, Extended min, Extended max, Extended mean,
               Extended stdev) {
        ASSERT_TRUE(model.inputs().AddInputVariable(name));
        TIis& iis = model.inputs().record(model.inputs().FindVarRow(name));
        iis.Kind = kind;
        SetDefaultParameters(iis);
        iis.Min = min;
        iis.Max = max;
        iis.Mean = mean;
        iis.StDev = stdev;
        if (kind == DistKind::dkContinuous) {
            iis.Bins = 1;
            iis.Urn = {0};
        }
        ASSERT_EQ(CheckParameters(iis), "");
    }

    void run(std::int32_t stopAt = 0) {
        observer.onStep = [this, stopAt](std::int32_t step) {
            if (step == stopAt) model.requestStop();
        };
        model.RunStop();
        model.waitForRun();
    }

    const TOutVar& y() {
        const int row = model.outputs().FindOutputRow("y");
        return model.outputs().runTable().item(model.outputs().FindActiveIndex(row));
    }

    struct Outcome {
        TOutStat stat;
        std::vector<Extended> log;
    };
    Outcome outcome(std::int32_t steps) {
        Outcome o{*y().Stat, {}};
        for (std::int32_t s = 0; s < steps; ++s)
            o.log.push_back((*y().Log)[s]);
        return o;
    }

    TSettings settings;
    test::ScriptedPrompter prompter;
    DirectCall direct;
    ProjectModel model;
    StopObserver observer;
};

bool SameBits(Extended a, Extended b) {
    return std::memcmp(&a, &b, 10) == 0;
}

void ExpectSame(const TOutStat& a, const TOutStat& b) {
    EXPECT_EQ(a.count, b.count);
    EXPECT_TRUE(SameBits(a.s1, b.s1));
    EXPECT_TRUE(SameBits(a.s2, b.s2));
    EXPECT_TRUE(SameBits(a.min, b.min));
    EXPECT_TRUE(SameBits(a.max, b.max));
}

TEST_F(ParallelGeneratorRunTest, StoppedAndContinuedRunsMatchAnUninterruptedOne) {
    const std::int32_t last = 3 * static_cast<std::int32_t>(TPhiloxStream::PhiloxBlockSteps);
    model.setLastStep(last);
    settings.RefreshRateStat = 1000; // most steps evaluated several at a time
    run();
    settings.RefreshRateStat = 1; // every step, so that a run can stop anywhere
    ASSERT_TRUE(model.random().parallel());
    const Outcome whole = outcome(last);

    // Stops inside a block, at a block's end and one step later, each continued.
    for (const std::vector<std::int32_t>& stops :
         {std::vector<std::int32_t>{1234}, {4096, 4097, 9000}}) {
        model.Reset();
        for (std::int32_t stop : stops) {
            run(stop);
            ASSERT_EQ(model.stepCounter(), stop);
        }
        run();
        ASSERT_EQ(model.stepCounter(), last);
        const Outcome resumed = outcome(last);
        ExpectSame(resumed.stat, whole.stat);
        for (std::int32_t s = 0; s < last; ++s)
            ASSERT_TRUE(SameBits(resumed.log[s], whole.log[s])) << s;
    }

    // The Simple generator with the same seed draws other values.
    model.Reset();
    settings.Generator = GeneratorSimple;
    run();
    EXPECT_FALSE(model.random().parallel());
    EXPECT_FALSE(SameBits(y().Stat->s1, whole.stat.s1));
}

TEST_F(ParallelGeneratorRunTest, LongSimpleRunsAskFirstAndNameTheParallelGenerator) {
    // Five draws a step at most: one for a, two for b and two for c.
    settings.DefOutVars = 1; // statistics only: no log for so many steps
    model.setLastStep(1000000000); // 5E9 draws at most
    settings.Generator = GeneratorSimple;
    prompter.answers.push_back(Prompter::Answer::No);
    EXPECT_EQ(model.RunStop(), ProjectModel::RunCommand::Failed);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].buttons, Prompter::Buttons::YesNo);
    EXPECT_NE(prompter.shown[0].text.find("\"Parallel\""), std::string::npos);
    EXPECT_FALSE(model.resultsExist());

    settings.Generator = GeneratorParallel;
    run(10);
    EXPECT_EQ(prompter.shown.size(), 1u) << "no question with the Parallel generator";
    EXPECT_EQ(model.stepCounter(), 10);

    model.Reset();
    model.setLastStep(858993459); // 5 draws a step: just below 2^32
    settings.Generator = GeneratorSimple;
    run(10);
    EXPECT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(model.stepCounter(), 10);
}

} // namespace
} // namespace probex
