#include "variables/HistogramBuild.h"

#include "components/Prompter.h"
#include "variables/DistributionFile.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <new>
#include <vector>

namespace probex {

namespace {

constexpr std::int64_t maxUrnSize = std::numeric_limits<std::int32_t>::max();

struct Counts {
    std::vector<std::int32_t> perBin;
    std::int64_t total = 0;
    bool fits = true; ///< false when the urn would not fit in 32 bits
};

// Each bin's frequency in units of the smallest positive one, rounded half to even.
Counts countBins(const std::vector<Extended>& frequency, Extended smallest) {
    Counts counts;
    counts.perBin.resize(frequency.size());
    for (std::size_t i = 0; i < frequency.size(); ++i) {
        if (!(frequency[i] > 0)) continue;
        const Extended ratio = std::nearbyint(frequency[i] / smallest);
        if (!(ratio <= static_cast<Extended>(maxUrnSize))) {
            counts.fits = false;
            return counts;
        }
        counts.perBin[i] = static_cast<std::int32_t>(ratio);
        counts.total += counts.perBin[i];
        if (counts.total > maxUrnSize) {
            counts.fits = false;
            return counts;
        }
    }
    return counts;
}

void buildProfile(TIis& iis, const std::vector<std::int32_t>& counts, bool continuous) {
    iis.Profile.fill(0);
    const std::int64_t bins = static_cast<std::int64_t>(counts.size());
    if (bins > ProfileCells) {
        std::array<Extended, ProfileCells> sum{};
        std::array<std::int64_t, ProfileCells> members{};
        for (std::int64_t i = 0; i < bins; ++i) {
            const std::int64_t cell = i * ProfileCells / bins;
            sum[cell] += counts[i];
            ++members[cell];
        }
        for (int cell = 0; cell < ProfileCells; ++cell)
            if (members[cell] > 0) iis.Profile[cell] = sum[cell] / members[cell];
        iis.ProfileCount = ProfileCells;
    } else if (!continuous) {
        for (std::int64_t i = 0; i < bins; ++i)
            iis.Profile[i] = counts[i];
        iis.ProfileCount = static_cast<std::int32_t>(bins);
    } else {
        for (std::int64_t cell = 0; cell < ProfileCells; ++cell)
            iis.Profile[cell] = counts[cell * bins / ProfileCells];
        iis.ProfileCount = ProfileCells;
    }
}

// Statistics of what the urn draws: a discrete bin is its point, a continuous bin is
// uniform over its width.
void histogramStatistics(TIis& iis, const Counts& counts, bool continuous) {
    const Extended total = static_cast<Extended>(counts.total);
    const Extended centre = continuous ? 0.5L : 0.0L;
    Extended mean = 0;
    for (std::size_t i = 0; i < counts.perBin.size(); ++i)
        mean += counts.perBin[i] * (iis.Loc + (i + centre) * iis.Scale);
    mean /= total;
    Extended variance = 0;
    for (std::size_t i = 0; i < counts.perBin.size(); ++i) {
        const Extended d = iis.Loc + (i + centre) * iis.Scale - mean;
        variance += counts.perBin[i] * d * d;
    }
    variance /= total;
    if (continuous) variance += iis.Scale * iis.Scale / 12;

    // Median: where the running total reaches half; linear inside a continuous bin.
    Extended median = iis.Max;
    Extended before = 0;
    for (std::size_t i = 0; i < counts.perBin.size(); ++i) {
        const Extended after = before + counts.perBin[i];
        if (counts.perBin[i] > 0 && after >= total * 0.5L) {
            median = continuous
                         ? iis.Loc + (i + (total * 0.5L - before) / counts.perBin[i]) * iis.Scale
                         : iis.Loc + i * iis.Scale;
            break;
        }
        before = after;
    }
    iis.Mean = mean;
    iis.Variance = variance;
    iis.StDev = std::sqrt(variance);
    iis.Median = median;
    iis.CoVar = iis.Skew = iis.Kurt = 0;
    iis.StatShown = TStatShown{};
    iis.StatShown.Mean = iis.StatShown.StDev = iis.StatShown.Variance = true;
    iis.StatShown.Median = true;
}

} // namespace

std::string UrnMemoryProblem(std::int64_t entries, const std::string& fileName,
                             std::uint64_t memoryBytes) {
    if (entries <= 0 || memoryBytes == 0) return {};
    constexpr long double entryBytes = sizeof(std::int32_t);
    const long double budget = memoryBytes / 10.0L;
    const long double needed = entries * entryBytes;
    if (needed <= budget) return {};
    const auto fitting = static_cast<std::int64_t>(budget / entryBytes);
    return "No memory for generating table! The frequencies of " + fileName + " need " +
           std::to_string(entries) + " entries (" + GigabytesText(needed) +
           "), more than a tenth of this machine's " + GigabytesText(memoryBytes) +
           ": the frequencies, counted in units of the smallest, may add up to at most " +
           std::to_string(fitting) + ".";
}

bool BuildHistogram(const TLis& lis, TIis& iis, Prompter& prompter, std::uint64_t memoryBytes) {
    if (lis.Type != DistKind::dkDiscrete && lis.Type != DistKind::dkContinuous) {
        prompter.error("Distribution not defined!", Prompter::Buttons::Cancel);
        return false;
    }
    FreeHistogram(iis);
    const bool continuous = lis.Type == DistKind::dkContinuous;

    std::vector<Extended> frequency;
    Counts counts;
    try {
        frequency = lis.Data;
        if (lis.Form == HistogramForm::Cumulative)
            for (std::size_t i = frequency.size(); i-- > 1;)
                frequency[i] = lis.Data[i] - lis.Data[i - 1];
        Extended smallest = 0;
        for (Extended f : frequency)
            if (f > 0 && (smallest == 0 || f < smallest)) smallest = f;
        if (!(smallest > 0)) throw ELoadError("Wrong Cor values");
        counts = countBins(frequency, smallest);
    } catch (const std::bad_alloc&) {
        prompter.error("No memory for histogram!", Prompter::Buttons::Cancel);
        return false;
    }

    // A table that fits in 32 bits may still take minutes and gigabytes to fill.
    if (counts.fits) {
        const std::string problem = UrnMemoryProblem(counts.total, lis.FileName, memoryBytes);
        if (!problem.empty()) {
            prompter.error(problem, Prompter::Buttons::Cancel);
            return false;
        }
    }
    std::vector<std::int32_t> urn;
    try {
        if (!counts.fits) throw std::bad_alloc();
        urn.reserve(static_cast<std::size_t>(counts.total));
    } catch (const std::bad_alloc&) {
        prompter.error("No memory for generating table!", Prompter::Buttons::Cancel);
        return false;
    }
    const std::int32_t bins = static_cast<std::int32_t>(frequency.size());
    for (std::int32_t i = 0; i < bins; ++i)
        urn.insert(urn.end(), counts.perBin[i], i);

    // The record becomes a histogram only now, so a failure above leaves it undefined.
    iis.Min = lis.Min;
    iis.Max = lis.Max;
    iis.Loc = lis.Min;
    if (continuous)
        iis.Scale = (lis.Max - lis.Min) / bins;
    else
        iis.Scale = bins > 1 ? (lis.Max - lis.Min) / (bins - 1) : 0;
    iis.Form = lis.Form;
    iis.Comment = lis.Identification;
    iis.FileName = lis.FileName;
    iis.Bins = bins;
    iis.UrnSize = static_cast<std::int32_t>(urn.size());
    iis.Urn = std::move(urn);
    buildProfile(iis, counts.perBin, continuous);
    histogramStatistics(iis, counts, continuous);
    iis.Kind = lis.Type;
    return true;
}

void FreeHistogram(TIis& iis) {
    std::vector<std::int32_t>().swap(iis.Urn);
    iis.UrnSize = 0;
    iis.Kind = DistKind::dkUndefined;
}

} // namespace probex
