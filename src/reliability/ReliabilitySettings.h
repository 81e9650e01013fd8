#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace probex {

/// How Probability mode computes its probability: the count over a run's logged steps, or a
/// method that evaluates the model itself at the points it chooses.
enum class ReliabilityMethod : std::uint8_t {
    MonteCarlo,
    Form,
    Sorm,
    ImportanceSampling,
    SubsetSimulation,
};

/// The settings of the methods other than Monte Carlo, stored with the out evaluation.
struct TReliabilitySettings {
    ReliabilityMethod Method = ReliabilityMethod::MonteCarlo;
    /// FORM: iterations of one design-point search, and further searches from other start
    /// points that check for a design point nearer the origin.
    std::int32_t FormMaxIter = 100;
    std::int32_t FormStarts = 2;
    /// Importance sampling: the most samples drawn (the CoV stop rule may end it earlier).
    std::int32_t IsSamples = 10000;
    /// Subset simulation: samples per conditional level, and the most levels.
    std::int32_t SubsetSamples = 2000;
    std::int32_t SubsetMaxLevels = 20;

    friend bool operator==(const TReliabilitySettings&, const TReliabilitySettings&) = default;
};

/// "Monte Carlo", "FORM", "SORM", "Importance sampling", "Subset simulation".
const char* MethodCaption(ReliabilityMethod method);

/// The word of the project file and the command line: "montecarlo", "form", "sorm", "is",
/// "subset".
const char* MethodWord(ReliabilityMethod method);

/// The method of a word (ignoring case); false for an unknown word.
bool MethodFromWord(std::string_view word, ReliabilityMethod& method);

} // namespace probex
