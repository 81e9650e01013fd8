// The worker asks before each statistics, 1D, probability and step-label hand-over whether the
// main thread wants it: declined ones are spared, a declined probability refresh still comes
// as its live count, and the label still ends on the last multiple of 1000 the run reached.

#include "simulation/RunController.h"

#include "simulation/OutputTableFixture.h"
#include "variables/Distributions.h"
#include "variables/Random.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace probex::test {
namespace {

using Steps = std::vector<std::int32_t>;

class Recorder : public RunEvents {
public:
    std::function<bool(RefreshKind)> wanted;
    Steps labels, statistics, oneD, pq, counted;
    bool refreshWanted(RefreshKind kind) override { return wanted(kind); }
    void showStep(std::int32_t step) override { labels.push_back(step); }
    void showStartupStatus(int, Extended) override {}
    void refreshStatistics(std::int32_t step) override { statistics.push_back(step); }
    void refresh1D(std::int32_t step) override { oneD.push_back(step); }
    void refreshPQ(std::int32_t step) override { pq.push_back(step); }
    void countPQ(std::int32_t step) override { counted.push_back(step); }
    void runEnded(RunOutcome, const TEquError&) override {}
};

/// Runs y = a to lastStep with refreshes of statistics and 1D every 1000 steps and of the
/// probabilities every 500.
Recorder RunModel(std::function<bool(RefreshKind)> wanted, std::int32_t lastStep) {
    auto set = Compiled({"y = a"});
    TIis uniform;
    uniform.Kind = DistKind::dkUniform;
    SetDefaultParameters(uniform);
    uniform.Min = 0, uniform.Max = 1;
    EXPECT_EQ(CheckParameters(uniform), "");
    TRandom random(7u);
    std::int32_t step = 0;
    TRunSetup setup;
    setup.set = set.get();
    setup.inputs.push_back({FindVar("a", set->Vars), &uniform});
    setup.random = &random;
    setup.stepCounter = &step;
    setup.lastStep = lastStep;
    setup.refreshRateStat = setup.refreshRate1D = 1000;
    setup.refreshRatePQ = 500;
    Recorder events;
    events.wanted = std::move(wanted);
    DirectCall direct;
    TPxThread worker(std::move(setup), events, direct);
    worker.execute();
    EXPECT_EQ(step, lastStep);
    return events;
}

TEST(RefreshHandOver, DeclinedRefreshesAreSparedAndTheLabelEndsOnItsLastStep) {
    const Steps everyPQ{500, 1000, 1500, 2000, 2500};
    struct Case {
        const char* name;
        std::function<bool(RefreshKind)> wanted;
        std::int32_t lastStep;
        Steps labels, statistics, oneD;
    };
    const Case cases[] = {
        {"all wanted",
         [](RefreshKind) { return true; },
         2500,
         {1000, 2000},
         {1000, 2000},
         {1000, 2000}},
        {"none wanted", [](RefreshKind) { return false; }, 2500, {2000}, {}, {}},
        {"only statistics",
         [](RefreshKind k) { return k == RefreshKind::Statistics; },
         2500,
         {2000},
         {1000, 2000},
         {}},
        {"label ends at the last step", [](RefreshKind) { return false; }, 2000, {2000}, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Recorder r = RunModel(c.wanted, c.lastStep);
        EXPECT_EQ(r.labels, c.labels);
        EXPECT_EQ(r.statistics, c.statistics);
        EXPECT_EQ(r.oneD, c.oneD);
        const Steps pq(everyPQ.begin(), everyPQ.begin() + c.lastStep / 500);
        const bool shown = c.wanted(RefreshKind::Probability);
        EXPECT_EQ(r.pq, shown ? pq : Steps{});
        EXPECT_EQ(r.counted, shown ? Steps{} : pq);
    }
}

TEST(RefreshHandOver, AShownLabelIsNotShownAgainAtTheEnd) {
    // Wanted at 1000 only: the label at 2000 comes at the end, the one at 1000 once.
    bool first = true;
    const Recorder r = RunModel(
        [&first](RefreshKind k) {
            if (k != RefreshKind::Step) return true;
            const bool was = first;
            first = false;
            return was;
        },
        2999);
    EXPECT_EQ(r.labels, (Steps{1000, 2000}));
}

} // namespace
} // namespace probex::test
