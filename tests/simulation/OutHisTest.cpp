#include "simulation/OutHis.h"

#include "simulation/OutLog.h"
#include "simulation/OutStat.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <numeric>
#include <vector>

namespace probex {
namespace {

TOutHis MakeHis(std::int32_t binCount) {
    TOutHis his;
    EXPECT_TRUE(HisAllocate(his, binCount));
    HisReset(his);
    return his;
}

struct AddCase {
    const char* name;
    std::int32_t binCount;
    std::vector<Extended> values;
    bool rangeSet;
    Extended rangeMin, rangeMax;
    std::vector<std::int32_t> counts;
};

TEST(OutHis, AddWidensByDoubling) {
    const AddCase cases[] = {
        {"copies of one value", 4, {7, 7, 7}, false, 7, 0, {3, 0, 0, 0}},
        {"5 then 3", 4, {5, 3}, true, 3, 5, {1, 0, 0, 1}},
        {"0, 1, 3 doubles up twice", 4, {0, 1, 3}, true, 0, 4, {2, 0, 0, 1}},
        {"range max lands in the top bin", 4, {0, 4, 4}, true, 0, 4, {1, 0, 0, 2}},
        {"one doubling down", 4, {0, 4, -3}, true, -4, 4, {1, 0, 1, 1}},
        {"four up, two down", 4, {0, 1, 10, -20}, true, -48, 16, {0, 1, 0, 3}},
        // Odd sizes: the unpaired top bin moves up whole, the downward merge follows the
        // new bin edges; the literal pairwise merge would have dropped the two 4.5-ish counts.
        {"odd size up then down", 5, {0, 5, 4.5L, 9.5L, -4.5L}, true, -10, 10, {0, 1, 1, 2, 1}},
        {"odd size three bins", 3, {0, 3, 2.5L, 5.5L}, true, 0, 6, {1, 2, 1}},
    };
    for (const AddCase& c : cases) {
        SCOPED_TRACE(c.name);
        TOutHis his = MakeHis(c.binCount);
        bool hasRange = false;
        for (Extended x : c.values)
            hasRange = HisAdd(his, x);
        EXPECT_EQ(hasRange, c.rangeSet);
        EXPECT_EQ(his.rangeSet, c.rangeSet);
        EXPECT_EQ(his.rangeMin, c.rangeMin);
        if (c.rangeSet) {
            EXPECT_EQ(his.rangeMax, c.rangeMax);
            EXPECT_EQ(his.rangeWidth, c.rangeMax - c.rangeMin);
            EXPECT_EQ(his.binWidth, (c.rangeMax - c.rangeMin) / c.binCount);
        }
        EXPECT_EQ(his.counts, c.counts);
    }
}

// Widening must put every count where binning the value over the final range would: the
// values sit at quarter offsets, away from every bin edge, so the two agree exactly.
TEST(OutHis, WideningAgreesWithDirectBinning) {
    for (std::int32_t n : {2, 3, 4, 5, 7, 8, 1023, 1024}) {
        SCOPED_TRACE(n);
        TOutHis grown = MakeHis(n);
        std::vector<Extended> values{0, static_cast<Extended>(n)};
        std::uint32_t seed = 12345;
        for (std::int32_t i = 0; i < 400; ++i) {
            seed = seed * 1103515245u + 12345u;
            const std::int64_t span = static_cast<std::int64_t>(n) << (i / 40);
            values.push_back(
                static_cast<Extended>(static_cast<std::int64_t>(seed >> 8) % span - span / 3) +
                0.25L);
        }
        for (Extended x : values)
            HisAdd(grown, x);
        // The second value, n, sits on a bin edge: it went to the top bin of [0, n] and stays
        // below that edge, so the direct histogram gets a value just below it instead.
        values[1] = n - 0.5L;
        TOutHis direct = MakeHis(n);
        HisSetRange(direct, grown.rangeMax, grown.rangeMin);
        for (Extended x : values)
            HisAdd(direct, x);
        EXPECT_EQ(grown.counts, direct.counts);
        EXPECT_EQ(std::accumulate(grown.counts.begin(), grown.counts.end(), 0),
                  static_cast<int>(values.size()));
    }
}

// A range one floating-point step wide: adding its width to the end rounds back onto the end.
TEST(OutHis, WideningARangeOneStepWideMovesTheEnd) {
    const Extended below = 1 - std::ldexp(1.0L, -64); // the number just below 1
    const Extended above = 1 + std::ldexp(1.0L, -63); // the number just above 1
    const std::vector<std::vector<Extended>> cases = {{below, 1, above}, {-below, -1, -above}};
    for (const std::vector<Extended>& values : cases) {
        SCOPED_TRACE(static_cast<double>(values[2]));
        TOutHis his = MakeHis(4);
        for (Extended x : values)
            EXPECT_TRUE(HisAdd(his, x) || x != values[2]);
        EXPECT_LE(his.rangeMin, values[2]);
        EXPECT_GE(his.rangeMax, values[2]);
        EXPECT_EQ(std::accumulate(his.counts.begin(), his.counts.end(), 0), 3);
    }
}

TEST(OutHis, SetRangeAndReset) {
    TOutHis his = MakeHis(4);
    HisSetRange(his, 1, 1);
    EXPECT_FALSE(his.rangeSet);
    HisSetRange(his, 8, 0);
    EXPECT_TRUE(his.rangeSet);
    EXPECT_EQ(his.binWidth, 2);
    for (Extended x : {0.0L, 1.9L, 2.0L, 8.0L})
        EXPECT_TRUE(HisAdd(his, x));
    EXPECT_EQ(his.counts, (std::vector<std::int32_t>{2, 1, 0, 1}));
    HisReset(his);
    EXPECT_EQ(his.binCount, 4);
    EXPECT_EQ(his.counts, (std::vector<std::int32_t>{0, 0, 0, 0}));
    EXPECT_FALSE(his.rangeSet);
    EXPECT_EQ(his.kurt, -3);

    EXPECT_FALSE(HisAllocate(his, 1));
    EXPECT_FALSE(HisAllocate(his, 65537));
    EXPECT_TRUE(HisAllocate(his, 65536));
}

TEST(OutHis, RecalculateRebuildsFromTheLog) {
    const std::vector<Extended> values{3, 0, 1, 3, 2.5L};
    TOutLog log;
    ASSERT_TRUE(log.allocate(8));
    TOutStat stat;
    StatReset(stat);
    TOutHis his = MakeHis(4);
    HisLoadMarks(his, {0.5L, 1, 0.25L, 2}, {false, true, false, true}, false);
    for (std::int32_t s = 0; s < static_cast<std::int32_t>(values.size()); ++s) {
        StatAdd(stat, values[s]);
        HisAdd(his, values[s]);
        log.store(s, values[s]);
    }
    HisRecalculate(his, stat, log, static_cast<std::int32_t>(values.size()));
    EXPECT_TRUE(his.recalculated);
    EXPECT_EQ(his.level, 3);
    EXPECT_EQ(his.rangeMin, 0);
    EXPECT_EQ(his.rangeMax, 3);
    EXPECT_EQ(his.counts, (std::vector<std::int32_t>{1, 1, 0, 3}));
    EXPECT_EQ(his.markKinds[1], true);
    EXPECT_NEAR(his.markResults[1], 4.0L / 15, 1e-18L); // bin 0 and a third of bin 1, of 5
    HisAdd(his, 1);
    EXPECT_FALSE(his.recalculated);

    // Without spread nothing is rebuilt, but the fields are still computed.
    TOutStat flat;
    StatReset(flat);
    StatAdd(flat, 2);
    TOutHis single = MakeHis(4);
    HisAdd(single, 2);
    HisRecalculate(single, flat, log, 1);
    EXPECT_EQ(single.counts, (std::vector<std::int32_t>{1, 0, 0, 0}));
    EXPECT_EQ(single.mean, 2);
    EXPECT_TRUE(single.recalculated);
}

} // namespace
} // namespace probex
