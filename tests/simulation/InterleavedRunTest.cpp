// Runs evaluated several steps at a time must end exactly where and as runs evaluated step by
// step end: the same accumulators, logs, step counter, generator state and variable values,
// bit for bit, whether they finish, fail or are stopped and continued at any step of a block.

#include "simulation/RunController.h"
#include "support/Records.h"

#include "simulation/OutputTableFixture.h"
#include "variables/Distributions.h"
#include "variables/Random.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace probex::test {
namespace {

constexpr std::int32_t LastStep = 3 * BlockSteps + 9;

/// Calls back into the test at the refreshes, which is where a stop request can be placed
/// deterministically.
class StopAt : public RunEvents {
public:
    TPxThread* worker = nullptr;
    std::int32_t stopStep = -1;
    RunOutcome outcome = RunOutcome::NoStep;
    void showStep(std::int32_t) override {}
    void showStartupStatus(int, Extended) override {}
    void refreshStatistics(std::int32_t step) override {
        if (step == stopStep) worker->requestStop();
    }
    void refresh1D(std::int32_t) override {}
    void refreshPQ(std::int32_t) override {}
    void runEnded(RunOutcome o, const TEquError&) override { outcome = o; }
};

/// One model with every kind of draw that matters for the order of the generator (uniform,
/// normal pairs with their cached deviate, lognormal), a step-number input and a constant
/// that makes the division fail at the step it names.
struct ModelRun {
    std::unique_ptr<tDecodedEquations> set = Compiled({
        "y = LN(a)*SIN(b) + w^2/(s - f)",
        "z = a*b - w + s",
        "w = ABS(n)^1.5 + g",
    });
    std::vector<TIis> records;
    TRandom random{20261207u};
    std::int32_t step = 0;
    TOutStat stats[3];
    TOutHis his[3];
    TOutLog logs[3];
    TEquError error;

    explicit ModelRun(std::int32_t failAt) {
        records = RunModelRecords(-3, failAt);
        const char* names[] = {"y", "z", "w"};
        for (int j = 0; j < 3; ++j) {
            StatReset(stats[j]);
            EXPECT_TRUE(HisAllocate(his[j], 16));
            HisReset(his[j]);
            EXPECT_TRUE(logs[j].allocate(LastStep));
            outputVars[j] = FindVar(names[j], set->Vars);
        }
    }

    /// Runs up to lastStep, stopping after stopStep, or with a stop request from the start;
    /// returns the outcome.
    RunOutcome go(bool interleaved, bool extremes, std::int32_t lastStep, std::int32_t stopStep,
                  bool stopAtOnce = false) {
        TRunSetup setup;
        setup.set = set.get();
        const char* inputNames[] = {"a", "b", "n", "g", "s", "f"};
        for (std::size_t i = 0; i < records.size(); ++i)
            setup.inputs.push_back({FindVar(inputNames[i], set->Vars), &records[i]});
        for (int j = 0; j < 3; ++j)
            setup.outputs.push_back(
                {outputVars[j], &stats[j], j < 2 ? &his[j] : nullptr, j < 2 ? &logs[j] : nullptr});
        setup.random = &random;
        setup.stepCounter = &step;
        setup.lastStep = lastStep;
        // A statistics refresh at the stop step, and none otherwise: refreshes end blocks.
        setup.refreshRateStat = stopStep > 0 ? stopStep : 1000000;
        setup.refreshRate1D = setup.refreshRatePQ = 1000000;
        setup.initialSampling = extremes;
        setup.interleaved = interleaved;
        StopAt events;
        events.stopStep = stopStep;
        DirectCall direct;
        TPxThread worker(std::move(setup), events, direct);
        events.worker = &worker;
        if (stopAtOnce) worker.requestStop();
        worker.execute();
        error = worker.error();
        return events.outcome;
    }

    /// Everything a run leaves behind, as bytes: equal texts mean equal bits.
    std::string fingerprint() {
        std::string text;
        auto add = [&text](const void* p, std::size_t n) {
            const auto* bytes = static_cast<const unsigned char*>(p);
            char hex[3];
            for (std::size_t i = 0; i < n; ++i) {
                std::snprintf(hex, sizeof hex, "%02x", bytes[i]);
                text += hex;
            }
            text += ' ';
        };
        auto value = [&add](Extended v) { add(&v, 10); };
        add(&step, sizeof step);
        add(&random.RandSeed, sizeof random.RandSeed);
        const bool cached = random.hasCachedDeviate();
        add(&cached, 1);
        TRandom next = random; // the cached deviate shows in the next normal draw
        value(next.NormalDeviate());
        add(&error.Code, 1);
        add(&error.Pos, sizeof error.Pos);
        for (std::int32_t v = 1; v <= set->Vars.Count; ++v)
            value(set->Vars.Values[static_cast<std::size_t>(v)]);
        for (int j = 0; j < 3; ++j) {
            const TOutStat& s = stats[j];
            for (Extended v : {s.min, s.max, s.s1, s.s2, s.s3, s.s4})
                value(v);
            add(&s.count, sizeof s.count);
            add(&s.started, 1);
            if (j == 2) continue;
            const TOutHis& h = his[j];
            for (Extended v : {h.rangeMin, h.rangeMax, h.rangeWidth, h.binWidth})
                value(v);
            add(&h.rangeSet, 1);
            add(h.counts.data(), h.counts.size() * sizeof(std::int32_t));
            for (std::int32_t slot = 0; slot < logs[j].size(); ++slot)
                value(logs[j][slot]);
        }
        return text;
    }

private:
    std::int32_t outputVars[3] = {};
};

struct Scenario {
    std::int32_t failAt;   ///< the step whose division fails; 0: none
    std::int32_t stopStep; ///< the step after which a stop request is honoured; 0: none
};

std::vector<Scenario> Scenarios() {
    std::vector<Scenario> scenarios{{0, 0}};
    // The start-up steps and every position of the first block (it starts at step 3, or 4
    // after the two extreme steps).
    for (std::int32_t at = 1; at <= BlockSteps + 3; ++at) {
        scenarios.push_back({at, 0});
        scenarios.push_back({0, at});
        scenarios.push_back({at + 3, at}); // stopped, then failing in the continued run
    }
    return scenarios;
}

TEST(InterleavedRun, EndsBitForBitAsTheStepByStepRun) {
    for (const bool extremes : {false, true}) {
        for (const Scenario& c : Scenarios()) {
            SCOPED_TRACE(testing::Message() << "extremes " << extremes << ", fail at " << c.failAt
                                            << ", stop at " << c.stopStep);
            ModelRun plain(c.failAt), blocks(c.failAt);
            const RunOutcome plainEnd = plain.go(false, extremes, LastStep, c.stopStep);
            const RunOutcome blockEnd = blocks.go(true, extremes, LastStep, c.stopStep);
            ASSERT_EQ(blockEnd, plainEnd);
            ASSERT_EQ(blocks.fingerprint(), plain.fingerprint());
            if (plainEnd != RunOutcome::Stopped) {
                // The extreme steps draw the step number 0 and the last step instead.
                if (!extremes) {
                    EXPECT_EQ(plainEnd, c.failAt > 0 ? RunOutcome::Failed : RunOutcome::Finished);
                }
                continue;
            }
            EXPECT_EQ(plain.step, c.stopStep);
            // Continued: to the end, or to the failure.
            ASSERT_EQ(blocks.go(true, extremes, LastStep, 0),
                      plain.go(false, extremes, LastStep, 0));
            ASSERT_EQ(blocks.fingerprint(), plain.fingerprint());
        }
    }
}

TEST(InterleavedRun, ContinuedRunMatchesAnUninterruptedOne) {
    for (std::int32_t stopStep = 1; stopStep <= 2 * BlockSteps + 1; ++stopStep) {
        SCOPED_TRACE(stopStep);
        ModelRun whole(0), pieces(0);
        ASSERT_EQ(whole.go(true, false, LastStep, 0), RunOutcome::Finished);
        ASSERT_EQ(pieces.go(true, false, LastStep, stopStep), RunOutcome::Stopped);
        ASSERT_EQ(pieces.go(true, false, LastStep, 0), RunOutcome::Finished);
        EXPECT_EQ(pieces.fingerprint(), whole.fingerprint());
    }
}

TEST(InterleavedRun, StopCuttingADrawShortAbandonsThatStepAsAlone) {
    // The normal input becomes hopeless after the stop: its draws are rejected until the next
    // stop request, which is already there when the run goes on.
    for (const std::int32_t stopStep : {2, BlockSteps + 3}) {
        SCOPED_TRACE(stopStep);
        ModelRun plain(0), blocks(0);
        for (ModelRun* r : {&plain, &blocks}) {
            const bool interleaved = r == &blocks;
            ASSERT_EQ(r->go(interleaved, false, LastStep, stopStep), RunOutcome::Stopped);
            r->records[2] = CheckedRecord(DistKind::dkNormal, 50, 60, 0, 1);
            ASSERT_EQ(r->go(interleaved, false, LastStep, 0, true), RunOutcome::Stopped);
            EXPECT_EQ(r->step, stopStep); // the abandoned step left no trace
        }
        EXPECT_EQ(blocks.fingerprint(), plain.fingerprint());
    }
}

} // namespace
} // namespace probex::test
