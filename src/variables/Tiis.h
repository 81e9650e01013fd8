#pragma once

#include "engine/Extended.h"
#include "engine/LazyArray.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace probex {

/// Distribution kind of an input variable; the codes are stored in project files.
enum class DistKind : std::uint8_t {
    dkUndefined = 0,
    dkConstant = 1,
    dkDiscrete = 2,
    dkContinuous = 3,
    dkStepNumber = 4,
    dkExponential = 5,
    dkLognormal = 6,
    dkNormal = 7,
    dkUniform = 8,
    dkGumbel = 9,     ///< largest values (type I maxima)
    dkGumbelMin = 10, ///< smallest values (type I minima)
    dkWeibull = 11,
    dkGamma = 12,
    dkBeta = 13, ///< on [Min, Max] itself
    dkTriangular = 14,
    dkPert = 15, ///< beta-PERT, weight 4 on the mode
};

/// How the bins lines of a distribution file are read.
enum class HistogramForm : std::uint8_t {
    Frequency = 0,
    Cumulative = 1,
};

/// Which statistics of a distribution are defined and shown, one flag each.
struct TStatShown {
    bool Mean = false;
    bool StDev = false;
    bool Variance = false;
    bool CoVar = false;
    bool Median = false;
    bool Skew = false;
    bool Kurt = false;

    friend bool operator==(const TStatShown&, const TStatShown&) = default;
};

inline constexpr int ProfileCells = 256;

/// The untruncated law at the bounds, F(Min), S(Min) = 1 − F(Min) and S(Max), and the mass
/// between them taken from the tail that keeps its digits: what drawing by inversion needs
/// of the bounds, derived once instead of for every value. Mass 0 when not derived; used
/// only while Min and Max are the ones they were derived for.
struct TBoundTails {
    Extended Min = 0;
    Extended Max = 0;
    Extended LowerAtMin = 0;
    Extended UpperAtMin = 0;
    Extended UpperAtMax = 0;
    Extended Mass = 0;
};

/// One row of the input variable table: parameters, the values the sampler uses, the
/// statistics the inspector shows and, for histograms, the generation table.
struct TIis {
    Extended Min = 0;   ///< lower bound; drawn values lie strictly above it
    Extended Max = 0;   ///< upper bound; drawn values lie strictly below it
    Extended Loc = 0;   ///< location for the sampler (the value of a constant)
    Extended Scale = 0; ///< scale for the sampler
    Extended Mean = 0;
    Extended StDev = 0;
    Extended Variance = 0;
    Extended CoVar = 0;
    Extended Median = 0;
    Extended Skew = 0;
    Extended Kurt = 0;   ///< excess kurtosis
    Extended Mode = 0;   ///< entered peak of a triangular or PERT distribution
    Extended Shape = 0;  ///< shape for the sampler (Weibull, gamma; beta's first)
    Extended Shape2 = 0; ///< beta's second shape for the sampler
    TBoundTails Bounds;  ///< derived by CheckParameters for the parametric kinds
    TStatShown StatShown;
    DistKind Kind = DistKind::dkUndefined;
    HistogramForm Form = HistogramForm::Frequency;
    std::string Comment;
    std::string FileName;     ///< distribution file name without directory
    std::string ConstCaption; ///< caption of a named constant, empty when typed
    std::int32_t Bins = 0;
    /// Histograms only; the 255 rows of the input table hold no cells until one is written.
    LazyArray<Extended, ProfileCells> Profile;
    std::int32_t ProfileCount = 0;
    std::int32_t UrnSize = 0;
    /// Bin indexes drawn uniformly by the sampler; UrnSize entries. Only BuildHistogram fills
    /// it and only FreeHistogram empties it.
    std::vector<std::int32_t> Urn;
};

} // namespace probex
