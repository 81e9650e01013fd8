#pragma once

#include "engine/Extended.h"
#include "reliability/ReliabilitySettings.h"
#include "simulation/ProbabilityEstimate.h"

#include <cstdint>
#include <string>
#include <vector>

namespace probex {

/// The design point and importance of one random input.
struct TDesignCoordinate {
    std::string name;
    Extended x = 0;     ///< the input's value at the design point
    Extended u = 0;     ///< its standard normal coordinate
    Extended alpha = 0; ///< unit direction towards failure: > 0 a load, < 0 a resistance
};

/// What a method other than Monte Carlo found.
struct TReliabilityResult {
    ReliabilityMethod Method = ReliabilityMethod::MonteCarlo;
    /// The probability with, for the sampling methods, its 95 % interval and CoV; Steps holds
    /// the model evaluations, Count stays 0.
    TProbabilityEstimate Estimate;
    bool HasInterval = false;
    std::int64_t Evaluations = 0;

    bool HasDesignPoint = false; ///< FORM, SORM and importance sampling
    Extended Beta = 0;
    bool Converged = false;
    std::int32_t Iterations = 0;
    std::vector<TDesignCoordinate> DesignPoint;

    bool HasSorm = false;
    Extended Breitung = 0;
    Extended Hohenbichler = 0;
    Extended Tvedt = 0;
    std::vector<Extended> Curvatures;

    std::int32_t Levels = 0; ///< subset simulation
    bool Stopped = false;    ///< a stop request ended it early; the figures are what it had
    /// Notes for the person (no convergence, another design point nearer the origin, ...).
    std::vector<std::string> Warnings;
};

/// The lines that follow "Probability: " in the batch output, only those that apply:
/// "Interval: ...", "Method: ...", "Beta: ...", "Design point: ...", "Importance: ...",
/// "SORM: ...".
std::vector<std::string> ReliabilityLines(const TReliabilityResult& result, char decimalSeparator);

/// The design point as a table, tab-separated with a heading line and CR LF line ends:
/// "Variable", "Value", "u", "Alpha", "Importance" (α²).
std::string DesignPointText(const TReliabilityResult& result, char decimalSeparator);

/// "Interval: 2.70e-07 3.05e-07 (95 %), CoV: 3.1 %, count -".
std::string ReliabilityIntervalLine(const TProbabilityEstimate& estimate, char decimalSeparator);

} // namespace probex
