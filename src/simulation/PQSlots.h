#pragma once

#include "engine/Extended.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <initializer_list>
#include <memory>

namespace probex {

constexpr int PQLineSlots = 256; ///< lines of a probability or quantile window

/// The lines of a probability or quantile window: PQLineSlots values, 0 until written. Used
/// like a std::array, but the values take memory only from the first write (or non-const
/// access): the output table's 255 rows would otherwise touch 4 MB at every start.
class PQSlots {
public:
    using Values = std::array<Extended, PQLineSlots>;
    using value_type = Extended;

    PQSlots() = default;
    PQSlots(const PQSlots& other)
        : m_values(other.m_values ? std::make_unique<Values>(*other.m_values) : nullptr) {}
    PQSlots(PQSlots&&) noexcept = default;
    PQSlots& operator=(const PQSlots& other) {
        if (this != &other) *this = PQSlots(other);
        return *this;
    }
    PQSlots& operator=(PQSlots&&) noexcept = default;
    /// The first values; the rest become 0, as with a std::array.
    PQSlots& operator=(std::initializer_list<Extended> first) {
        Values& values = written();
        values.fill(0);
        std::copy_n(first.begin(), std::min(first.size(), values.size()), values.begin());
        return *this;
    }

    static constexpr std::size_t size() { return PQLineSlots; }

    Extended& operator[](std::size_t i) { return written()[i]; }
    const Extended& operator[](std::size_t i) const { return read()[i]; }
    Extended* data() { return written().data(); }
    const Extended* data() const { return read().data(); }
    Extended* begin() { return data(); }
    Extended* end() { return data() + size(); }
    const Extended* begin() const { return data(); }
    const Extended* end() const { return data() + size(); }

private:
    static constexpr Values Zeros{};

    Values& written() {
        if (!m_values) m_values = std::make_unique<Values>();
        return *m_values;
    }
    const Values& read() const { return m_values ? *m_values : Zeros; }

    std::unique_ptr<Values> m_values;
};

} // namespace probex
