#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace probex {

/// A straight overlay line, in the variables' units.
struct LineRec {
    double X1 = 0;
    double Y1 = 0;
    double X2 = 0;
    double Y2 = 0;
    std::int32_t Color = 0; ///< 0x00BBGGRR

    bool operator==(const LineRec&) const = default;
};

/// An overlay circle; R is a radius in the variables' units along each axis.
struct CircleRec {
    double X = 0;
    double Y = 0;
    double R = 0;
    std::int32_t Color = 0;

    bool operator==(const CircleRec&) const = default;
};

/// An overlay dot; R is a radius in pixels.
struct DotRec {
    double X = 0;
    double Y = 0;
    double R = 0;
    std::int32_t Color = 0;

    bool operator==(const DotRec&) const = default;
};

inline constexpr int MaxObjectsOfKind = 16;

/// The overlay objects of one pair of 2D variables, shared by every window showing the pair.
struct ObjectsRec {
    std::string Horizontal;
    std::string Vertical;
    std::int32_t LineCount = 0;
    std::int32_t CircleCount = 0;
    std::int32_t DotCount = 0;
    std::array<LineRec, MaxObjectsOfKind> Lines{};
    std::array<CircleRec, MaxObjectsOfKind> Circles{};
    std::array<DotRec, MaxObjectsOfKind> Dots{};

    bool operator==(const ObjectsRec&) const = default;
};

/// The overlay-object sets of the 2D pairs, numbered from 1. Sets are only ever added: a
/// new project keeps them, so a pair shown again finds its objects.
class TObjectsTable {
public:
    static constexpr int MaxRecords = 255;

    /// -1 when the names are equal (case ignored) or either is empty, else the first set of
    /// the pair (case ignored), 0 when there is none.
    int FindObjectsRec(std::string_view horizontal, std::string_view vertical) const;
    /// As FindObjectsRec, but a missing set is added when there is room (0 when full).
    int ObtainObjectsRec(std::string_view horizontal, std::string_view vertical);

    int count() const { return static_cast<int>(m_records.size()); }
    /// Set `index` (1..count()).
    ObjectsRec& record(int index) { return m_records.at(static_cast<std::size_t>(index - 1)); }
    const ObjectsRec& record(int index) const {
        return m_records.at(static_cast<std::size_t>(index - 1));
    }

    bool operator==(const TObjectsTable&) const = default;

private:
    std::vector<ObjectsRec> m_records;
};

} // namespace probex
