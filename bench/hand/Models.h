#pragma once

// The reference models of the benchmarks, as texts and parameters: what the example projects
// hold, for the runs set up in code and for the hand-written loops.

#include "engine/Extended.h"

#include <cstdint>
#include <string>
#include <vector>

namespace probex::bench {

constexpr std::int32_t Steps = 1000000;
/// The seed of every whole run ("Simple" generator), so that every way of running a model
/// draws the same values and ends with the same probability.
constexpr std::int32_t RunSeed = 20261206;

struct InputDescription {
    const char* name;
    const char* type;
    Extended min, max, mean, stdev;
};

struct ModelDescription {
    std::vector<std::string> equations;
    std::vector<InputDescription> inputs;
    std::vector<std::string> logged;
    std::string condition;
};

inline const ModelDescription Beam = {
    {"Z = R - S", "R = fy*1000*W", "S = F*L/1.5"},
    {{"fy", "Lognormal", 100, 600, 300, 30},
     {"W", "Normal", 0.0007L, 0.0013L, 0.001L, 0.00005L},
     {"F", "Normal", 0, 120, 50, 10},
     {"L", "Uniform", 4, 6, 0, 0}},
    {"Z", "R", "S"},
    "0 > Z",
};

inline const ModelDescription Poly = {
    {"y = e19 - e15/e7 + SIN(a*c)",
     "e19 = LN e18*b",
     "e18 = (e17*e17 + 1)^1.5",
     "e17 = e16 - e1/e2",
     "e16 = SIN(e15*3)*e7",
     "e15 = LN e14",
     "e14 = e13^2 + a",
     "e13 = e12/e6",
     "e12 = e11 - e8*c",
     "e11 = e10^3",
     "e10 = SIN e9 + c",
     "e9 = LN(e8 + a)",
     "e8 = e7/(1 + b)",
     "e7 = e6^0.5",
     "e6 = e5*e5 + e2",
     "e5 = e4 - b/a",
     "e4 = SIN(e3*a)",
     "e3 = LN e2",
     "e2 = e1^2 + 1",
     "e1 = a*b + c"},
    {{"a", "Uniform", 1, 2, 0, 0}, {"b", "Uniform", 0, 1, 0, 0}, {"c", "Uniform", -1, 1, 0, 0}},
    {"y"},
    "0 > y",
};

} // namespace probex::bench
