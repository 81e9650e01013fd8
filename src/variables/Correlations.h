#pragma once

#include "engine/Extended.h"

#include <string>
#include <string_view>
#include <vector>

namespace probex {

/// One pair of correlated inputs: Spearman's rank correlation of name1 and name2.
struct TCorrelation {
    std::string name1;
    std::string name2;
    Extended value = 0;

    /// Whether the pair is of a and b, in either order, letter case ignored.
    bool joins(std::string_view a, std::string_view b) const;

    friend bool operator==(const TCorrelation&, const TCorrelation&) = default;
};

/// The correlations of the project's inputs, pair by pair in the order they were entered.
/// Pairs not held are 0; names compare ignoring letter case and the order within a pair does
/// not count.
class TCorrelations {
public:
    /// A rank correlation a pair can hold: strictly between -1 and 1.
    static bool InRange(Extended value) { return value > -1 && value < 1; }

    const std::vector<TCorrelation>& pairs() const { return m_pairs; }
    bool empty() const { return m_pairs.empty(); }

    /// The pair of a and b in either order, null when they are uncorrelated.
    const TCorrelation* find(std::string_view a, std::string_view b) const;
    Extended value(std::string_view a, std::string_view b) const;

    /// Sets the pair's value, replacing an existing one; 0 removes the pair. The caller keeps
    /// a and b different and the value InRange.
    void set(std::string_view a, std::string_view b, Extended value);
    /// Every pair that names the variable goes.
    void removeVariable(std::string_view name);
    void clear() { m_pairs.clear(); }

private:
    std::vector<TCorrelation> m_pairs;
};

} // namespace probex
