#include "variables/HistogramBuild.h"

#include "support/ScriptedPrompter.h"
#include "variables/DistributionFile.h"
#include "variables/Distributions.h"
#include "variables/Random.h"

#include <gtest/gtest.h>

#include <vector>

namespace probex {
namespace {

TLis histogram(DistKind type, HistogramForm form, std::vector<Extended> data, Extended min = 1,
               Extended max = 3) {
    TLis lis;
    lis.Type = type;
    lis.Form = form;
    lis.Min = min;
    lis.Max = max;
    lis.Bins = static_cast<std::int32_t>(data.size());
    lis.Data = std::move(data);
    lis.Identification = "Beam";
    lis.FileName = "beam.dis";
    return lis;
}

constexpr auto freq = HistogramForm::Frequency;
constexpr auto cum = HistogramForm::Cumulative;
constexpr auto discrete = DistKind::dkDiscrete;
constexpr auto continuous = DistKind::dkContinuous;

TEST(HistogramBuildTest, UrnHoldsBinsInUnitsOfTheRarest) {
    struct Case {
        HistogramForm form;
        std::vector<Extended> data;
        std::vector<std::int32_t> urn;
    };
    const std::vector<Case> cases = {
        {freq, {1, 2, 1}, {0, 1, 1, 2}},     {cum, {1, 3, 4}, {0, 1, 1, 2}},
        {freq, {0.5L, 1.25L, 0}, {0, 1, 1}}, {cum, {0, 2, 3}, {1, 1, 2}},
        {freq, {3, 0, 4.5L}, {0, 2, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.urn.size());
        test::ScriptedPrompter prompter;
        TIis iis;
        ASSERT_TRUE(BuildHistogram(histogram(discrete, c.form, c.data), iis, prompter));
        EXPECT_EQ(iis.Urn, c.urn);
        EXPECT_EQ(iis.UrnSize, static_cast<std::int32_t>(c.urn.size()));
        EXPECT_EQ(iis.Kind, discrete);
        EXPECT_EQ(iis.Form, c.form);
        EXPECT_EQ(iis.Comment, "Beam");
        EXPECT_EQ(iis.FileName, "beam.dis");
        EXPECT_EQ(iis.Loc, 1);
        EXPECT_EQ(iis.Scale, 1);
        EXPECT_TRUE(prompter.shown.empty());
    }
}

TEST(HistogramBuildTest, FailuresLeaveTheVariableUndefined) {
    struct Case {
        TLis lis;
        std::string box;
    };
    const std::vector<Case> cases = {
        {histogram(discrete, freq, {1, 3e9L}), "No memory for generating table!"},
        {histogram(discrete, freq, {2e9L, 2e9L, 1}), "No memory for generating table!"},
        {histogram(continuous, freq, {1e-4000L, 1e4000L}), "No memory for generating table!"},
        {histogram(DistKind::dkUndefined, freq, {1, 1}), "Distribution not defined!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.box);
        test::ScriptedPrompter prompter;
        TIis iis;
        EXPECT_FALSE(BuildHistogram(c.lis, iis, prompter));
        EXPECT_EQ(iis.Kind, DistKind::dkUndefined);
        EXPECT_TRUE(iis.Urn.empty());
        ASSERT_EQ(prompter.shown.size(), 1u);
        EXPECT_EQ(prompter.shown[0].text, c.box);
        EXPECT_EQ(prompter.shown[0].buttons, Prompter::Buttons::Cancel);
    }

    test::ScriptedPrompter prompter;
    TIis iis;
    ASSERT_TRUE(BuildHistogram(histogram(discrete, freq, {1, 1}), iis, prompter));
    try {
        BuildHistogram(histogram(continuous, cum, {0, 0, 0}), iis, prompter);
        ADD_FAILURE() << "no positive frequency must fail";
    } catch (const ELoadError& e) {
        EXPECT_STREQ(e.what(), "Wrong Cor values");
    }
    EXPECT_EQ(iis.Kind, DistKind::dkUndefined);
    EXPECT_TRUE(iis.Urn.empty());
    Extended value = 0;
    TRandom random(1);
    EXPECT_NO_FATAL_FAILURE(value = SampleValue(iis, random, 1));
    EXPECT_EQ(value, 0);
}

TEST(HistogramBuildTest, RefusesATableBeyondATenthOfTheMemory) {
    constexpr std::uint64_t GB = 1000000000;
    // Frequencies 1 and 1E9 ask for 1000000001 entries of 4 bytes.
    EXPECT_EQ(UrnMemoryProblem(1000000001, "peak.dis", 24 * GB),
              "No memory for generating table! The frequencies of peak.dis need 1000000001 "
              "entries (4.0 GB), more than a tenth of this machine's 24.0 GB: the frequencies, "
              "counted in units of the smallest, may add up to at most 600000000.");
    EXPECT_EQ(UrnMemoryProblem(600000000, "peak.dis", 24 * GB), "");
    EXPECT_EQ(UrnMemoryProblem(1000000001, "peak.dis", 0), ""); // the memory is unknown

    test::ScriptedPrompter prompter;
    TIis iis;
    EXPECT_FALSE(BuildHistogram(histogram(discrete, freq, {1, 1e9L}), iis, prompter, 24 * GB));
    EXPECT_EQ(iis.Kind, DistKind::dkUndefined);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_TRUE(prompter.shown[0].text.starts_with("No memory for generating table! The "
                                                   "frequencies of beam.dis need 1000000001"));
}

TEST(HistogramBuildTest, Profile) {
    test::ScriptedPrompter prompter;
    TIis small;
    ASSERT_TRUE(BuildHistogram(histogram(discrete, freq, {1, 2, 1}), small, prompter));
    EXPECT_EQ(small.ProfileCount, 3);
    EXPECT_EQ(small.Profile[1], 2);
    EXPECT_EQ(small.Profile[3], 0);

    TIis spread;
    ASSERT_TRUE(BuildHistogram(histogram(continuous, freq, {1, 2, 1}), spread, prompter));
    EXPECT_EQ(spread.ProfileCount, 256);
    for (int k = 0; k < 256; ++k)
        EXPECT_EQ(spread.Profile[k], k < 86 || k >= 171 ? 1 : 2) << k;

    std::vector<Extended> data(512);
    for (int i = 0; i < 512; ++i)
        data[i] = i % 3 + 1;
    TIis wide;
    ASSERT_TRUE(BuildHistogram(histogram(continuous, freq, data), wide, prompter));
    EXPECT_EQ(wide.ProfileCount, 256);
    for (int j = 0; j < 256; ++j)
        EXPECT_EQ(wide.Profile[j], (data[2 * j] + data[2 * j + 1]) / 2);
}

TEST(HistogramBuildTest, StatisticsOfWhatIsDrawn) {
    struct Case {
        DistKind type;
        std::vector<Extended> data;
        Extended min, max, mean, variance, median;
    };
    const std::vector<Case> cases = {
        {discrete, {1, 2, 1}, 1, 3, 2, 0.5L, 2},
        {continuous, {1, 1, 1}, 0, 3, 1.5L, 0.75L, 1.5L},
        {continuous, {3, 1}, 0, 2, 0.75L, 1.0L / 12 + 0.1875L, 2.0L / 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mean);
        test::ScriptedPrompter prompter;
        TIis iis;
        ASSERT_TRUE(BuildHistogram(histogram(c.type, freq, c.data, c.min, c.max), iis, prompter));
        EXPECT_NEAR(iis.Mean, c.mean, 1e-17L);
        EXPECT_NEAR(iis.Variance, c.variance, 1e-17L);
        EXPECT_NEAR(iis.Median, c.median, 1e-17L);
        EXPECT_TRUE(iis.StatShown.Median);
        EXPECT_FALSE(iis.StatShown.Skew);
    }
}

TEST(HistogramBuildTest, DrawsAreBitExactAndInRange) {
    test::ScriptedPrompter prompter;
    TIis points;
    ASSERT_TRUE(BuildHistogram(histogram(discrete, freq, {1, 2, 1}), points, prompter));
    TRandom random(12345);
    for (Extended expected : {2, 2, 1, 2, 2, 2})
        EXPECT_EQ(SampleValue(points, random, 0), expected);

    TIis bins;
    ASSERT_TRUE(BuildHistogram(histogram(continuous, freq, {1, 2, 1}, 0, 3), bins, prompter));
    TRandom generator(12345);
    TRandom reference(12345);
    for (int i = 0; i < 100; ++i) {
        const std::int32_t bin = bins.Urn[reference.Random(4)];
        const Extended u = reference.Random();
        ASSERT_EQ(SampleValue(bins, generator, 0), bin + u);
    }

    TIis top;
    ASSERT_TRUE(BuildHistogram(histogram(continuous, freq, {0, 0, 1}, 0, 3), top, prompter));
    for (int i = 0; i < 10000; ++i) {
        const Extended x = SampleValue(top, generator, 0);
        ASSERT_GE(x, 2);
        ASSERT_LT(x, 3);
    }
}

} // namespace
} // namespace probex
