#include "gui/variables/DistributionShapes.h"

#include <cmath>

namespace probex {

namespace {

template <typename Cell> TDistributionShape makeShape(Cell cell) {
    TDistributionShape shape{};
    for (int i = 0; i < ProfileCells; ++i)
        shape[i] = static_cast<Extended>(cell(i));
    return shape;
}

} // namespace

const TDistributionShape& ExponentialShape() {
    static const TDistributionShape shape = makeShape([](int i) {
        long v = std::lround(969.5 * std::exp(-6.85 * (i + 1) / 255.0));
        // Two cells of the shape the program has always shown sit one above the formula.
        if (i == 2 || i == 10) ++v;
        return v;
    });
    return shape;
}

const TDistributionShape& NormalShape() {
    static const TDistributionShape shape = makeShape([](int i) {
        const double x = -3.5 + 7.0 * i / 255.0;
        long v = std::lround(457.2 * std::exp(-x * x / 2));
        if (i == 74 || i == 181) --v;
        return v;
    });
    return shape;
}

const TDistributionShape& UniformShape() {
    static const TDistributionShape shape = makeShape([](int) { return 255L; });
    return shape;
}

const TDistributionShape* ShapeForKind(DistKind kind) {
    switch (kind) {
    case DistKind::dkExponential:
        return &ExponentialShape();
    case DistKind::dkLognormal:
    case DistKind::dkNormal:
        return &NormalShape();
    case DistKind::dkUniform:
        return &UniformShape();
    default:
        return nullptr;
    }
}

} // namespace probex
