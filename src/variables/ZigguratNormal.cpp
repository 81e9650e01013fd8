#include "variables/ZigguratNormal.h"

#include "engine/ExtendedMath.h"

#include <cmath>
#include <cstdint>

namespace probex {

namespace {

constexpr int Layers = 256;
constexpr int PositionBits = 55;

// For 256 layers: where the tail starts (the right edge of the base layer's rectangle) and the
// area of every layer, each the extended number nearest the exact value.
constexpr Extended TailStart = 0xe.9dda4104d699791p-2L;  // 3.65415288536100877...
constexpr Extended LayerArea = 0xa.180b52d21b98fe9p-11L; // 0.00492867323397465...

Extended Density(Extended x) {
    return ExpX(-x * x / 2);
}

// Layer i covers 0 <= x < edge[i] and height[i] <= y <= height[i + 1] under the curve; the
// base layer's width edge[0] includes the tail's area spread over its height. A position
// below inner[i] lies left of the edge of the layer above, so under the curve at once.
struct TZiggurat {
    std::uint64_t inner[Layers];
    Extended scale[Layers]; // edge[i] / 2^55: position times scale is the deviate
    Extended height[Layers + 1];

    TZiggurat() {
        Extended edge[Layers + 1];
        edge[1] = TailStart;
        height[1] = Density(TailStart);
        edge[0] = LayerArea / height[1];
        height[0] = 0;
        for (int i = 1; i < Layers - 1; ++i) {
            height[i + 1] = height[i] + LayerArea / edge[i];
            edge[i + 1] = std::sqrt(-2 * LnX(height[i + 1]));
        }
        // The top layer ends at the peak: exactly, where the recurrence would be a few units
        // of the last place away.
        edge[Layers] = 0;
        height[Layers] = 1;
        for (int i = 0; i < Layers; ++i) {
            inner[i] = static_cast<std::uint64_t>(edge[i + 1] / edge[i] * 0x1p55L);
            scale[i] = edge[i] * 0x1p-55L;
        }
    }
};

const TZiggurat Ziggurat;

// Marsaglia's tail beyond r: r + a for an exponential a of rate r, kept with probability
// exp(-a^2/2).
Extended TailDeviate(TPhiloxStream& stream) {
    Extended a, b;
    do {
        a = -LnX(stream.real()) / TailStart;
        b = -LnX(stream.real());
    } while (b + b < a * a);
    return TailStart + a;
}

} // namespace

Extended ZigguratNormal(TPhiloxStream& stream) {
    // Multiplying by the sign, not branching on it: a branch on a random bit is mispredicted
    // half the time. The product is exact.
    static constexpr float Sign[2] = {1.0f, -1.0f};
    for (;;) {
        const std::uint64_t bits = stream.next();
        const unsigned layer = bits & (Layers - 1);
        const float sign = Sign[bits >> 8 & 1];
        const std::uint64_t position = bits >> (64 - PositionBits);
        const Extended x =
            static_cast<Extended>(static_cast<std::int64_t>(position)) * Ziggurat.scale[layer];
        if (position < Ziggurat.inner[layer]) return sign * x;
        if (layer == 0) return sign * TailDeviate(stream);
        const Extended low = Ziggurat.height[layer], high = Ziggurat.height[layer + 1];
        if (low + stream.real() * (high - low) < Density(x)) return sign * x;
    }
}

} // namespace probex
