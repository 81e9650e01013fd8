#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <initializer_list>
#include <memory>

namespace probex {

/// N values of T, value-initialised (0) until written. Used like a std::array, but the
/// values take memory only from the first write (or non-const access): tables of hundreds of
/// rows that each hold such a block would otherwise touch megabytes at every start.
template <typename T, std::size_t N> class LazyArray {
public:
    using Values = std::array<T, N>;
    using value_type = T;

    LazyArray() = default;
    LazyArray(const LazyArray& other)
        : m_values(other.m_values ? std::make_unique<Values>(*other.m_values) : nullptr) {}
    LazyArray(LazyArray&&) noexcept = default;
    LazyArray& operator=(const LazyArray& other) {
        if (this != &other) *this = LazyArray(other);
        return *this;
    }
    LazyArray& operator=(LazyArray&&) noexcept = default;
    /// The first values; the rest become 0, as with a std::array.
    LazyArray& operator=(std::initializer_list<T> first) {
        Values& values = written();
        values.fill(T{});
        std::copy_n(first.begin(), std::min(first.size(), N), values.begin());
        return *this;
    }

    /// The values as a std::array, for a copy into one.
    operator const Values&() const { return read(); }

    static constexpr std::size_t size() { return N; }
    void fill(const T& value) { written().fill(value); }

    T& operator[](std::size_t i) { return written()[i]; }
    const T& operator[](std::size_t i) const { return read()[i]; }
    T* data() { return written().data(); }
    const T* data() const { return read().data(); }
    T* begin() { return data(); }
    T* end() { return data() + N; }
    const T* begin() const { return data(); }
    const T* end() const { return data() + N; }

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
