// Runs with the "Parallel" generator on several threads end exactly as on one: the same
// accumulators, logs, refreshes, stop-rule steps, failures, variable values and generator
// state, bit for bit, and a stopped and continued run equals an uninterrupted one.

#include "simulation/RunController.h"
#include "support/Records.h"

#include "simulation/OutputTableFixture.h"
#include "variables/Distributions.h"
#include "variables/Random.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace probex::test {
namespace {

constexpr std::int32_t LastStep = 5 * 1024 + 37; // several chunks and a short last one

void AddBytes(std::string& text, const void* p, std::size_t n) {
    const auto* bytes = static_cast<const unsigned char*>(p);
    char hex[3];
    for (std::size_t i = 0; i < n; ++i) {
        std::snprintf(hex, sizeof hex, "%02x", bytes[i]);
        text += hex;
    }
    text += ' ';
}

void AddValue(std::string& text, Extended v) {
    AddBytes(text, &v, 10); // the padding of a long double is not part of its value
}

/// Equal texts; else where they part, not the whole texts, which are long.
void ExpectSameText(const std::string& a, const std::string& b) {
    const std::size_t at = std::mismatch(a.begin(), a.end(), b.begin(), b.end()).first - a.begin();
    EXPECT_EQ(at, a.size()) << "parting at " << at << ": " << a.substr(at > 40 ? at - 40 : 0, 80)
                            << "\nand: " << b.substr(at > 40 ? at - 40 : 0, 80);
    EXPECT_EQ(a.size(), b.size());
}

/// Writes down every refresh with what the statistics hold then, and asks for a stop at one
/// refresh.
class Recorder : public RunEvents {
public:
    TPxThread* worker = nullptr;
    const TOutStat* stat = nullptr;
    std::int32_t stopStep = -1;
    RunOutcome outcome = RunOutcome::NoStep;
    std::string trace;
    void showStep(std::int32_t step) override { note('s', step); }
    void showStartupStatus(int, Extended) override {}
    void refreshStatistics(std::int32_t step) override {
        note('t', step);
        if (step == stopStep) worker->requestStop();
    }
    void refresh1D(std::int32_t step) override { note('1', step); }
    void refreshPQ(std::int32_t step) override { note('p', step); }
    void runEnded(RunOutcome o, const TEquError&) override { outcome = o; }

private:
    void note(char kind, std::int32_t step) {
        trace += kind + std::to_string(step) + ":" + std::to_string(stat->count) + ",";
        AddValue(trace, stat->s2);
    }
};

/// Met at the first step it is asked at or after `at`.
class RuleAt : public RunStopRule {
public:
    std::int32_t at = 0;
    bool met(std::int32_t step) override { return at > 0 && step >= at; }
};

/// Uniform, normal (rejections and kept deviates) and lognormal draws, a step-number input
/// and a constant that makes the division fail at the step it names; y and z with
/// statistics, histogram and log, w with statistics only, and the input a logged.
struct ModelRun {
    std::unique_ptr<tDecodedEquations> set = Compiled({
        "y = LN(a)*SIN(b) + w^2/(s - f)",
        "z = a*b - w + s",
        "w = ABS(n)^1.5 + g",
    });
    std::vector<TIis> records;
    TRandom random;
    std::int32_t step = 0;
    TOutStat stats[3];
    TOutHis his[2];
    TOutLog logs[3]; // y, z and the input a
    TEquError error;
    std::string trace;

    explicit ModelRun(std::int32_t failAt) {
        random.ApplySeed(false, GeneratorParallel, 20261207, 99);
        records = RunModelRecords(-1, failAt);
        for (int j = 0; j < 3; ++j) {
            StatReset(stats[j]);
            EXPECT_TRUE(logs[j].allocate(LastStep));
        }
        for (TOutHis& h : his) {
            EXPECT_TRUE(HisAllocate(h, 32));
            HisReset(h);
        }
    }

    /// stopAfter: a stop request from outside that many microseconds after the start.
    RunOutcome go(std::int32_t threads, std::int32_t stopStep = 0, std::int32_t ruleStep = 0,
                  int stopAfter = -1) {
        TRunSetup setup;
        setup.set = set.get();
        const char* inputNames[] = {"a", "b", "n", "g", "s", "f"};
        for (std::size_t i = 0; i < records.size(); ++i)
            setup.inputs.push_back(
                {FindVar(inputNames[i], set->Vars), &records[i], i == 0 ? &logs[2] : nullptr});
        const char* outputNames[] = {"y", "z", "w"};
        for (int j = 0; j < 3; ++j)
            setup.outputs.push_back({FindVar(outputNames[j], set->Vars), &stats[j],
                                     j < 2 ? &his[j] : nullptr, j < 2 ? &logs[j] : nullptr});
        setup.random = &random;
        setup.stepCounter = &step;
        setup.lastStep = LastStep;
        setup.refreshRateStat = stopStep > 0 ? stopStep : 1000;
        setup.refreshRate1D = 700;
        setup.refreshRatePQ = 333;
        setup.threads = threads;
        RuleAt rule;
        rule.at = ruleStep;
        setup.stopRule = &rule;
        Recorder events;
        events.stat = &stats[0];
        events.stopStep = stopStep;
        DirectCall direct;
        TPxThread worker(std::move(setup), events, direct);
        events.worker = &worker;
        worker.start();
        if (stopAfter >= 0) {
            std::this_thread::sleep_for(std::chrono::microseconds(stopAfter));
            worker.requestStop();
        }
        worker.wait();
        error = worker.error();
        trace += events.trace + "|";
        return events.outcome;
    }

    /// Everything a run leaves behind, as bytes: equal texts mean equal bits.
    std::string fingerprint() {
        std::string text;
        AddBytes(text, &step, sizeof step);
        TRandom next = random; // where the generator stands shows in its next draws
        AddValue(text, next.NormalDeviate());
        AddValue(text, next.Random());
        AddBytes(text, &error.Code, 1);
        AddBytes(text, &error.Pos, sizeof error.Pos);
        for (std::int32_t v = 1; v <= set->Vars.Count; ++v)
            AddValue(text, set->Vars.Values[static_cast<std::size_t>(v)]);
        for (const TOutStat& s : stats) {
            for (Extended v : {s.min, s.max, s.mean, s.stdev, s.variance, s.covar, s.skew, s.kurt,
                               s.s1, s.s2, s.s3, s.s4})
                AddValue(text, v);
            AddBytes(text, &s.count, sizeof s.count);
            AddBytes(text, &s.level, 1);
        }
        for (const TOutHis& h : his) {
            for (Extended v : {h.histMin, h.histMax, h.rangeMin, h.rangeMax, h.binWidth, h.mean,
                               h.stdev, h.median, h.skew, h.kurt})
                AddValue(text, v);
            for (std::int32_t n : {h.total, h.firstBin, h.lastBin})
                AddBytes(text, &n, sizeof n);
            AddBytes(text, h.counts.data(), h.counts.size() * sizeof(std::int32_t));
        }
        for (const TOutLog& log : logs)
            for (std::int32_t s = 0; s < step; ++s)
                AddValue(text, log[s]);
        return text;
    }
};

TEST(ThreadedRun, AnyNumberOfThreadsEndsAsOne) {
    struct Case {
        const char* name;
        std::int32_t failAt, stopStep, ruleStep;
        RunOutcome outcome;
    };
    const Case cases[] = {
        {"to the end", 0, 0, 0, RunOutcome::Finished},
        {"failing inside a block of the third chunk", 2 * 1024 + 13, 0, 0, RunOutcome::Failed},
        {"failing in the last step", LastStep, 0, 0, RunOutcome::Failed},
        {"stopped at a refresh", 0, 3 * 1024 - 100, 0, RunOutcome::Stopped},
        {"stopped by the stop rule", 0, 0, 4 * 1024 + 8, RunOutcome::Stopped},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ModelRun one(c.failAt);
        ASSERT_EQ(one.go(1, c.stopStep, c.ruleStep), c.outcome);
        for (std::int32_t threads : {2, 3, 7, 8}) {
            SCOPED_TRACE(threads);
            ModelRun many(c.failAt);
            ASSERT_EQ(many.go(threads, c.stopStep, c.ruleStep), c.outcome);
            EXPECT_EQ(many.step, one.step);
            ExpectSameText(many.trace, one.trace);
            ExpectSameText(many.fingerprint(), one.fingerprint());
        }
        if (c.failAt > 0) {
            EXPECT_EQ(one.step, c.failAt - 1);
            EXPECT_EQ(one.error.Code, ecDivisionByZero);
        }
    }
}

TEST(ThreadedRun, StoppedAndContinuedRunEqualsAnUninterruptedOne) {
    ModelRun whole(0);
    ASSERT_EQ(whole.go(7), RunOutcome::Finished);
    for (std::int32_t stopStep : {1500, 2048, 5120}) {
        SCOPED_TRACE(stopStep);
        ModelRun pieces(0);
        ASSERT_EQ(pieces.go(7, stopStep), RunOutcome::Stopped);
        EXPECT_EQ(pieces.step, stopStep);
        ASSERT_EQ(pieces.go(2), RunOutcome::Finished);
        ExpectSameText(pieces.fingerprint(), whole.fingerprint());
    }
    // A stop from outside comes at no particular step, in the middle of chunks: the run ends
    // after a step every chunk before which is complete, and goes on from there.
    for (int stopAfter : {0, 300, 1000, 2000, 4000}) {
        SCOPED_TRACE(stopAfter);
        ModelRun pieces(0);
        const RunOutcome first = pieces.go(7, 0, 0, stopAfter);
        ASSERT_TRUE(first == RunOutcome::Stopped || first == RunOutcome::Finished);
        ASSERT_EQ(pieces.go(7),
                  first == RunOutcome::Stopped ? RunOutcome::Finished : RunOutcome::NoStep);
        ExpectSameText(pieces.fingerprint(), whole.fingerprint());
    }
}

} // namespace
} // namespace probex::test
