#include "sensitivity/RankSensitivity.h"

#include <boost/math/distributions/students_t.hpp>

#include <algorithm>
#include <array>
#include <atomic>
#include <bit>
#include <cmath>
#include <limits>
#include <system_error>
#include <thread>
#include <utility>

namespace probex {

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

/// A key whose unsigned order is the order of the doubles (negatives reversed).
inline std::uint64_t OrderKey(double value) {
    const auto bits = std::bit_cast<std::uint64_t>(value + 0.0); // -0 sorts as 0
    return (bits >> 63) != 0 ? ~bits : bits | (std::uint64_t{1} << 63);
}

/// A step in sorted order: its value's order key and its index.
struct Sorted {
    std::uint64_t key;
    std::uint32_t index;
};

/// The steps in the order of their values, equal values in step order. Sorting is most of
/// the cost, so it is a radix sort: eight passes of a byte instead of about twenty comparisons
/// per step; a pass whose byte is the same for every step (values on a grid) is skipped.
std::vector<Sorted> SortedSteps(std::span<const double> values) {
    constexpr int Bits = 8;
    constexpr int Passes = (64 + Bits - 1) / Bits;
    constexpr std::size_t Buckets = std::size_t{1} << Bits;
    const std::size_t n = values.size();
    std::vector<Sorted> items(n), spare(n);
    std::vector<std::array<std::uint32_t, Buckets>> counts(Passes);
    for (auto& c : counts)
        c.fill(0);
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint64_t key = OrderKey(values[i]);
        items[i] = {key, static_cast<std::uint32_t>(i)};
        for (int p = 0; p < Passes; ++p)
            ++counts[p][(key >> (p * Bits)) & (Buckets - 1)];
    }
    for (int p = 0; p < Passes; ++p) {
        auto& c = counts[p];
        if (n == 0 || std::find(c.begin(), c.end(), n) != c.end()) continue; // one digit only
        std::uint32_t start = 0;
        for (auto& bucket : c)
            start += std::exchange(bucket, start);
        for (const Sorted& item : items)
            spare[c[(item.key >> (p * Bits)) & (Buckets - 1)]++] = item;
        items.swap(spare);
    }
    return items;
}

/// Calls visit(first, last, midRank) for every run of equal values in sorted order.
template <class Visit> void ForEachTie(const std::vector<Sorted>& sorted, Visit visit) {
    const std::size_t n = sorted.size();
    for (std::size_t a = 0; a < n;) {
        std::size_t b = a + 1;
        while (b < n && sorted[b].key == sorted[a].key)
            ++b;
        visit(a, b, 0.5 * static_cast<double>(a + 1 + b));
        a = b;
    }
}

/// The output's centred value and rank at one step: read together, in the input's order,
/// so one cache line serves both.
struct OutputStep {
    double centred;
    double rank;
};

/// The output's ranks and centred values, worked out once for every input.
struct OutputPrepared {
    std::vector<OutputStep> steps;
    double mean = 0;
    double variance = 0;    // with divisor n
    double rankSquares = 0; // sum of (rank - mean rank)^2
};

OutputPrepared Prepare(std::span<const double> values) {
    OutputPrepared out;
    const std::size_t n = values.size();
    for (double v : values)
        out.mean += v;
    out.mean /= static_cast<double>(n);
    const std::vector<double> ranks = MidRanks(values);
    const double meanRank = 0.5 * static_cast<double>(n + 1);
    out.steps.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        const double d = values[i] - out.mean;
        out.steps[i] = {d, ranks[i]};
        out.variance += d * d;
        out.rankSquares += (ranks[i] - meanRank) * (ranks[i] - meanRank);
    }
    out.variance /= static_cast<double>(n);
    return out;
}

/// One group's sums over its steps in the input's order.
struct GroupSums {
    double first = 0, last = 0;
    double sum = 0, squares = 0, products = 0;
    std::int64_t count = 0;

    void add(double d) {
        if (count == 0)
            first = d;
        else
            products += last * d;
        last = d;
        sum += d;
        squares += d * d;
        ++count;
    }
    double index() const {
        if (count < 2) return NaN;
        const double n = static_cast<double>(count);
        const double mean = sum / n;
        const double variance = squares / n - mean * mean;
        if (!(variance > 0)) return NaN;
        // The last neighbour wraps round to the first, as in the whole run's estimate.
        return ((products + last * first) / n - mean * mean) / variance;
    }
};

TInputSensitivity AnalyseInput(const TSampledInput& input, const OutputPrepared& out, bool event) {
    TInputSensitivity result;
    result.input = input.name;
    const std::span<const double> x = input.values;
    const std::size_t n = x.size();
    const std::vector<Sorted> sorted = SortedSteps(x);

    // One pass in the input's order: the rank products, the neighbours' products of the
    // whole run (the last step's neighbour is the first) and of each group.
    const double meanRank = 0.5 * static_cast<double>(n + 1);
    double rankProducts = 0, inputRankSquares = 0, products = 0;
    std::array<GroupSums, SensitivityGroups> groups{};
    const double first = n > 0 ? out.steps[sorted[0].index].centred : 0;
    double previous = first;
    ForEachTie(sorted, [&](std::size_t a, std::size_t b, double rank) {
        const double r = rank - meanRank;
        for (std::size_t j = a; j < b; ++j) {
            const std::uint32_t i = sorted[j].index;
            const OutputStep& y = out.steps[i];
            rankProducts += r * (y.rank - meanRank);
            inputRankSquares += r * r;
            if (j > 0) products += previous * y.centred;
            previous = y.centred;
            groups[i % SensitivityGroups].add(y.centred);
        }
    });
    products += previous * first;
    const double denominator = std::sqrt(inputRankSquares * out.rankSquares);
    result.rankCorrelation = denominator > 0 ? rankProducts / denominator : 0;

    result.firstOrder = out.variance > 0 ? products / static_cast<double>(n) / out.variance : 0;

    // Sectioning: the groups are independent runs of n/K steps, so the spread of their
    // estimates over sqrt(K) is the standard error of the whole run's estimate.
    double sum = 0, squares = 0;
    int valid = 0;
    for (const GroupSums& g : groups) {
        const double s = g.index();
        if (std::isnan(s)) continue;
        sum += s;
        squares += s * s;
        ++valid;
    }
    result.firstOrderLow = result.firstOrderHigh = NaN;
    if (valid == SensitivityGroups) {
        const double k = valid;
        const double spread = std::sqrt(std::max(0.0, (squares - sum * sum / k) / (k - 1)));
        const double t =
            boost::math::quantile(boost::math::complement(boost::math::students_t(k - 1), 0.025));
        result.firstOrderLow = result.firstOrder - t * spread / std::sqrt(k);
        result.firstOrderHigh = result.firstOrder + t * spread / std::sqrt(k);
    } else if (out.variance == 0) {
        result.firstOrderLow = result.firstOrderHigh = 0;
    }

    result.meanShift = NaN;
    if (event) {
        double mean = 0, eventSum = 0;
        std::int64_t eventCount = 0;
        for (std::size_t i = 0; i < n; ++i) {
            mean += x[i];
            if (out.steps[i].centred + out.mean > 0.5) { // the event's steps hold 1
                eventSum += x[i];
                ++eventCount;
            }
        }
        mean /= static_cast<double>(n);
        double variance = 0;
        for (double v : x)
            variance += (v - mean) * (v - mean);
        const double sd = std::sqrt(variance / static_cast<double>(n));
        if (eventCount > 0 && sd > 0)
            result.meanShift = (eventSum / static_cast<double>(eventCount) - mean) / sd;
    }
    return result;
}

} // namespace

std::vector<double> MidRanks(std::span<const double> values) {
    const std::vector<Sorted> sorted = SortedSteps(values);
    std::vector<double> ranks(values.size());
    ForEachTie(sorted, [&](std::size_t a, std::size_t b, double rank) {
        for (std::size_t j = a; j < b; ++j)
            ranks[sorted[j].index] = rank;
    });
    return ranks;
}

TSensitivity AnalyseSensitivity(std::string output, std::span<const TSampledInput> inputs,
                                std::span<const double> values, bool event) {
    TSensitivity result;
    result.output = std::move(output);
    result.event = event;
    result.steps = static_cast<std::int64_t>(values.size());
    if (values.empty()) return result;
    const OutputPrepared prepared = Prepare(values);
    std::vector<const TSampledInput*> usable;
    for (const TSampledInput& input : inputs)
        if (input.values.size() == values.size()) usable.push_back(&input);
    result.inputs.resize(usable.size());
    // The inputs are independent of each other: as many at a time as there are cores.
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        for (std::size_t k; (k = next.fetch_add(1)) < usable.size();)
            result.inputs[k] = AnalyseInput(*usable[k], prepared, event);
    };
    const std::size_t helpers =
        std::min<std::size_t>(std::max(1u, std::thread::hardware_concurrency()), usable.size());
    std::vector<std::thread> threads;
    for (std::size_t t = 1; t < helpers; ++t) {
        try {
            threads.emplace_back(work);
        } catch (const std::system_error&) {
            break; // fewer threads, same results
        }
    }
    work();
    for (std::thread& t : threads)
        t.join();
    double total = 0;
    for (const TInputSensitivity& s : result.inputs)
        total += s.rankCorrelation * s.rankCorrelation;
    for (TInputSensitivity& s : result.inputs)
        s.contribution = total > 0 ? 100 * s.rankCorrelation * s.rankCorrelation / total : 0;
    std::stable_sort(result.inputs.begin(), result.inputs.end(),
                     [](const TInputSensitivity& a, const TInputSensitivity& b) {
                         if (a.firstOrder != b.firstOrder) return a.firstOrder > b.firstOrder;
                         return std::fabs(a.rankCorrelation) > std::fabs(b.rankCorrelation);
                     });
    return result;
}

} // namespace probex
