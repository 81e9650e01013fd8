#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace probex {

/// How much one sampled input drives one output, from the steps of a single run.
struct TInputSensitivity {
    std::string input;
    double rankCorrelation = 0; ///< Spearman's rank correlation with the output
    double contribution = 0;    ///< squared rank correlation as a share of all, in percent
    double firstOrder = 0;      ///< first-order (Sobol) index by the neighbour-rank estimator
    /// The 95 % interval of firstOrder; NaN when the run has too few steps for one.
    double firstOrderLow = 0;
    double firstOrderHigh = 0;
    /// Event outputs only: (mean of the input over the steps where the event occurs - its
    /// mean over all steps) / its standard deviation; NaN otherwise or without such steps.
    double meanShift = 0;
};

/// The sensitivity of one output to every sampled input, most important input first.
struct TSensitivity {
    std::string output;
    bool event = false; ///< the output is 1 where an event occurs and 0 elsewhere
    std::int64_t steps = 0;
    std::vector<TInputSensitivity> inputs;
};

/// One sampled input's value at every step.
struct TSampledInput {
    std::string name;
    std::span<const double> values;
};

/// Steps are split into this many interleaved groups; the spread of the groups' estimates
/// gives the interval of the whole run's estimate.
constexpr int SensitivityGroups = 20;

/// The sensitivity of `output` (one value per step, as long as every input's values) to
/// each input. The first-order index sorts the steps by the input and compares the outputs
/// of neighbours (the rank estimator of Gamboa, Janon, Klein, Lagnoux and Prieur, akin to
/// Chatterjee's rank correlation): it needs no extra evaluation of the model. Inputs come
/// back sorted by first-order index, then by the size of the rank correlation.
TSensitivity AnalyseSensitivity(std::string output, std::span<const TSampledInput> inputs,
                                std::span<const double> values, bool event = false);

/// Ranks 1..n of the values, ties sharing their mean rank.
std::vector<double> MidRanks(std::span<const double> values);

} // namespace probex
