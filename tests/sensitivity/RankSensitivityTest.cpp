#include "sensitivity/RankSensitivity.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>
#include <vector>

namespace probex {
namespace {

/// Independent standard normal or uniform columns from a fixed seed (Box-Muller, so the
/// numbers do not depend on the library's distributions).
class Columns {
public:
    explicit Columns(unsigned seed) : m_engine(seed) {}
    double uniform(double a, double b) {
        return a + (b - a) * std::uniform_real_distribution<double>(0, 1)(m_engine);
    }
    double normal() {
        const double u = 1 - uniform(0, 1), v = uniform(0, 1);
        return std::sqrt(-2 * std::log(u)) * std::cos(2 * std::numbers::pi * v);
    }

private:
    std::mt19937_64 m_engine;
};

const TInputSensitivity& Find(const TSensitivity& s, const std::string& name) {
    for (const TInputSensitivity& input : s.inputs)
        if (input.input == name) return input;
    ADD_FAILURE() << "no input " << name;
    return s.inputs.front();
}

void ExpectIndexWithinItsInterval(const TInputSensitivity& s, double expected) {
    SCOPED_TRACE(s.input);
    EXPECT_LE(s.firstOrderLow, expected);
    EXPECT_GE(s.firstOrderHigh, expected);
    EXPECT_LT(s.firstOrderHigh - s.firstOrderLow, 0.05); // and the interval says something
}

constexpr std::size_t Steps = 100000;

TEST(RankSensitivity, LinearModelGivesItsSquaredWeightsAndRankCorrelations) {
    Columns draw(11);
    std::vector<double> x1(Steps), x2(Steps), unused(Steps), y(Steps);
    for (std::size_t i = 0; i < Steps; ++i) {
        x1[i] = draw.normal();
        x2[i] = draw.normal();
        unused[i] = draw.normal();
        y[i] = 2 * x1[i] + x2[i];
    }
    const std::vector<TSampledInput> inputs{{"X2", x2}, {"unused", unused}, {"X1", x1}};
    const TSensitivity s = AnalyseSensitivity("Y", inputs, y);

    ASSERT_EQ(s.inputs.size(), 3u);
    EXPECT_EQ(s.inputs[0].input, "X1"); // most important first
    ExpectIndexWithinItsInterval(Find(s, "X1"), 0.8);
    ExpectIndexWithinItsInterval(Find(s, "X2"), 0.2);
    ExpectIndexWithinItsInterval(Find(s, "unused"), 0.0);
    // Spearman's correlation of a normal pair with Pearson's r is (6/pi) asin(r/2); its
    // standard error is below 1/sqrt(n).
    const double tolerance = 3 / std::sqrt(double(Steps));
    const double r1 = 2 / std::sqrt(5.0), r2 = 1 / std::sqrt(5.0);
    EXPECT_NEAR(Find(s, "X1").rankCorrelation, 6 / std::numbers::pi * std::asin(r1 / 2), tolerance);
    EXPECT_NEAR(Find(s, "X2").rankCorrelation, 6 / std::numbers::pi * std::asin(r2 / 2), tolerance);
    EXPECT_NEAR(Find(s, "X1").rankCorrelation, 0.8825, 0.01);
    EXPECT_NEAR(Find(s, "unused").rankCorrelation, 0, tolerance);
    double total = 0;
    for (const TInputSensitivity& input : s.inputs)
        total += input.contribution;
    EXPECT_NEAR(total, 100, 1e-9);
}

TEST(RankSensitivity, IshigamiFunctionGivesItsPublishedIndices) {
    Columns draw(5);
    const double pi = std::numbers::pi;
    std::vector<double> x1(Steps), x2(Steps), x3(Steps), y(Steps);
    for (std::size_t i = 0; i < Steps; ++i) {
        x1[i] = draw.uniform(-pi, pi);
        x2[i] = draw.uniform(-pi, pi);
        x3[i] = draw.uniform(-pi, pi);
        y[i] = std::sin(x1[i]) + 7 * std::pow(std::sin(x2[i]), 2) +
               0.1 * std::pow(x3[i], 4) * std::sin(x1[i]);
    }
    const std::vector<TSampledInput> inputs{{"X1", x1}, {"X2", x2}, {"X3", x3}};
    const TSensitivity s = AnalyseSensitivity("Y", inputs, y);
    ExpectIndexWithinItsInterval(Find(s, "X1"), 0.3139);
    ExpectIndexWithinItsInterval(Find(s, "X2"), 0.4424);
    ExpectIndexWithinItsInterval(Find(s, "X3"), 0.0);
    // X2 acts through sin^2, which is not monotone: no rank correlation, yet the largest index.
    EXPECT_EQ(s.inputs[0].input, "X2");
    EXPECT_NEAR(Find(s, "X2").rankCorrelation, 0, 3 / std::sqrt(double(Steps)));
}

TEST(RankSensitivity, EventShowsTheShiftOfTheInputsInItsSteps) {
    Columns draw(3);
    std::vector<double> x1(Steps), x2(Steps), event(Steps);
    double failing = 0;
    for (std::size_t i = 0; i < Steps; ++i) {
        x1[i] = draw.normal();
        x2[i] = draw.normal();
        event[i] = x1[i] > 2 ? 1 : 0;
        failing += event[i];
    }
    const std::vector<TSampledInput> inputs{{"X1", x1}, {"X2", x2}};
    const TSensitivity s = AnalyseSensitivity("Failure", inputs, event, true);
    // E[X1 | X1 > 2] = phi(2) / (1 - Phi(2)); X1 beyond 2 has a standard deviation of 0.37.
    const double phi = std::exp(-2.0) / std::sqrt(2 * std::numbers::pi);
    const double tail = 0.5 * std::erfc(2 / std::sqrt(2.0));
    EXPECT_NEAR(Find(s, "X1").meanShift, phi / tail, 4 * 0.37 / std::sqrt(failing));
    EXPECT_NEAR(Find(s, "X2").meanShift, 0, 4 / std::sqrt(failing));
    // The event is a function of X1 alone: only the neighbours across x = 2 disagree.
    EXPECT_GT(Find(s, "X1").firstOrder, 0.99);
    ExpectIndexWithinItsInterval(Find(s, "X2"), 0.0);
    EXPECT_TRUE(std::isnan(AnalyseSensitivity("Y", inputs, x1).inputs[0].meanShift));
}

TEST(RankSensitivity, TiesShareTheirMeanRank) {
    const std::vector<double> values{3, -1, 3, -2.5, 0.0, -0.0, 7};
    const std::vector<double> expected{5.5, 2, 5.5, 1, 3.5, 3.5, 7};
    EXPECT_EQ(MidRanks(values), expected);
}

TEST(RankSensitivity, ShortOrConstantRunsGiveNoIntervalAndNoCrash) {
    const std::vector<double> x{1, 2, 3}, constant{4, 4, 4};
    const std::vector<TSampledInput> inputs{{"X", x}};
    const TSensitivity s = AnalyseSensitivity("Y", inputs, x);
    ASSERT_EQ(s.inputs.size(), 1u);
    EXPECT_DOUBLE_EQ(s.inputs[0].rankCorrelation, 1);
    EXPECT_TRUE(std::isnan(s.inputs[0].firstOrderLow));
    const TSensitivity flat = AnalyseSensitivity("Y", inputs, constant);
    EXPECT_EQ(flat.inputs[0].firstOrder, 0);
    EXPECT_EQ(flat.inputs[0].rankCorrelation, 0);
    EXPECT_TRUE(AnalyseSensitivity("Y", inputs, {}).inputs.empty());
}

} // namespace
} // namespace probex
