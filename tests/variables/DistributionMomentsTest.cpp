#include "variables/Distributions.h"

#include "variables/Random.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>
#include <vector>

namespace probex {
namespace {

struct Moments {
    double mean = 0;
    double variance = 0;
    double fourth = 0; ///< fourth central moment, for the spread of the sample variance
};

// Moments of the density restricted to (a, b) by Simpson's rule, independent of the sampler.
Moments truncatedMoments(const std::function<double(double)>& density, double a, double b) {
    const int steps = 200000;
    const double h = (b - a) / steps;
    auto integrate = [&](const std::function<double(double)>& g) {
        double sum = g(a) * density(a) + g(b) * density(b);
        for (int i = 1; i < steps; ++i) {
            const double x = a + i * h;
            sum += (i % 2 == 1 ? 4 : 2) * g(x) * density(x);
        }
        return sum * h / 3;
    };
    const double mass = integrate([](double) { return 1.0; });
    Moments m;
    m.mean = integrate([](double x) { return x; }) / mass;
    m.variance = integrate([&](double x) { return (x - m.mean) * (x - m.mean); }) / mass;
    m.fourth = integrate([&](double x) { return std::pow(x - m.mean, 4); }) / mass;
    return m;
}

double normalDensity(double x, double mu, double sigma) {
    const double z = (x - mu) / sigma;
    return std::exp(-0.5 * z * z) / (sigma * std::sqrt(2 * std::numbers::pi));
}

TEST(DistributionMomentsTest, LargeSamplesMatchTruncatedMoments) {
    struct Case {
        DistKind kind;
        double min, max, mean, stDev;
        std::function<double(double)> density;
    };
    const double lnMu = std::log(1 / std::sqrt(2.0));
    const double lnSigma = std::sqrt(std::log(2.0));
    const std::vector<Case> cases = {
        {DistKind::dkExponential, 9, 20, 10, 2,
         [](double x) { return x < 8 ? 0 : std::exp(-(x - 8) / 2) / 2; }},
        {DistKind::dkLognormal, 0.5, 3, 1, 1,
         [&](double x) { return normalDensity(std::log(x), lnMu, lnSigma) / x; }},
        {DistKind::dkNormal, -1, 2, 0, 1, [](double x) { return normalDensity(x, 0, 1); }},
        {DistKind::dkNormal, 1, 4, 0, 1, [](double x) { return normalDensity(x, 0, 1); }},
        {DistKind::dkUniform, 2, 4, 0, 0, [](double) { return 0.5; }},
    };
    const int draws = 200000;
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.kind));
        TIis iis;
        iis.Kind = c.kind;
        iis.Min = c.min;
        iis.Max = c.max;
        iis.Mean = c.mean;
        iis.StDev = c.stDev;
        ASSERT_EQ(CheckParameters(iis), "");
        const Moments expected = truncatedMoments(c.density, c.min, c.max);

        TRandom random(20240101);
        double sum = 0;
        double squares = 0;
        std::vector<double> values(draws);
        for (double& v : values) {
            v = static_cast<double>(SampleValue(iis, random, 0));
            sum += v;
        }
        const double mean = sum / draws;
        for (double v : values)
            squares += (v - mean) * (v - mean);
        const double variance = squares / (draws - 1);

        // Five standard errors: a fixed seed never flakes, a wrong sampler is far outside.
        EXPECT_NEAR(mean, expected.mean, 5 * std::sqrt(expected.variance / draws));
        const double varianceError =
            std::sqrt((expected.fourth - expected.variance * expected.variance) / draws);
        EXPECT_NEAR(variance, expected.variance, 5 * varianceError);
    }
}

} // namespace
} // namespace probex
