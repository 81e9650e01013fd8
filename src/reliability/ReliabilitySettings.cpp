#include "reliability/ReliabilitySettings.h"

#include <array>
#include <cctype>

namespace probex {

namespace {

struct MethodNames {
    ReliabilityMethod method;
    const char* caption;
    const char* word;
};

constexpr std::array<MethodNames, 5> Names{{
    {ReliabilityMethod::MonteCarlo, "Monte Carlo", "montecarlo"},
    {ReliabilityMethod::Form, "FORM", "form"},
    {ReliabilityMethod::Sorm, "SORM", "sorm"},
    {ReliabilityMethod::ImportanceSampling, "Importance sampling", "is"},
    {ReliabilityMethod::SubsetSimulation, "Subset simulation", "subset"},
}};

} // namespace

const char* MethodCaption(ReliabilityMethod method) {
    for (const MethodNames& n : Names)
        if (n.method == method) return n.caption;
    return Names[0].caption;
}

const char* MethodWord(ReliabilityMethod method) {
    for (const MethodNames& n : Names)
        if (n.method == method) return n.word;
    return Names[0].word;
}

bool MethodFromWord(std::string_view word, ReliabilityMethod& method) {
    for (const MethodNames& n : Names) {
        const std::string_view known = n.word;
        if (known.size() != word.size()) continue;
        bool same = true;
        for (std::size_t i = 0; i < known.size() && same; ++i)
            same = std::tolower(static_cast<unsigned char>(word[i])) == known[i];
        if (same) {
            method = n.method;
            return true;
        }
    }
    return false;
}

} // namespace probex
