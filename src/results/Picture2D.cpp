#include "results/Picture2D.h"

#include "settings/Settings.h"

#include <algorithm>

namespace probex {

std::optional<std::int64_t> RoundHalfEven(long double value) {
    constexpr long double limit = 4611686018427387904.0L; // 2^62
    if (!(value > -limit && value < limit)) return std::nullopt;
    return static_cast<std::int64_t>(std::llrint(value));
}

Scale2D Scale2D::FromRanges(Extended xMin, Extended xMax, Extended yMin, Extended yMax) {
    Scale2D scale;
    if (!(xMax != xMin && yMax != yMin)) return scale;
    scale.xMin = static_cast<double>(xMin);
    scale.yMin = static_cast<double>(yMin);
    scale.xScale = static_cast<double>(255 / (xMax - xMin));
    scale.yScale = static_cast<double>(255 / (yMax - yMin));
    scale.valid = std::isfinite(scale.xMin) && std::isfinite(scale.yMin) &&
                  std::isfinite(scale.xScale) && std::isfinite(scale.yScale) && scale.xScale != 0 &&
                  scale.yScale != 0;
    return scale;
}

std::optional<std::int64_t> Scale2D::px(long double x) const {
    return RoundHalfEven(column(x));
}

std::optional<std::int64_t> Scale2D::py(long double y) const {
    const std::optional<std::int64_t> lifted = RoundHalfEven(lift(y));
    if (!lifted) return std::nullopt;
    return 255 - *lifted;
}

std::uint32_t ArgbFromColor(std::int32_t color) {
    const auto c = static_cast<std::uint32_t>(color);
    const std::uint32_t red = c & 0xFF;
    const std::uint32_t green = (c >> 8) & 0xFF;
    const std::uint32_t blue = (c >> 16) & 0xFF;
    return 0xFF000000u | red << 16 | green << 8 | blue;
}

Palette2D MakePalette(std::int32_t colouration, const TSettings& settings) {
    Palette2D palette;
    if (colouration != ColourFreq && colouration != ColourProb) {
        palette.fill(ArgbFromColor(settings.Plot2DColor));
        return palette;
    }
    const bool freq = colouration == ColourFreq;
    const std::int32_t start = freq ? settings.Freq2DStartColor : settings.Prob2DStartColor;
    const std::int32_t end = freq ? settings.Freq2DEndColor : settings.Prob2DEndColor;
    const auto part = [](std::int32_t color, int shift) { return (color >> shift) & 0xFF; };
    for (int k = 0; k < 256; ++k) {
        std::int32_t color = 0;
        for (const int shift : {0, 8, 16}) {
            const int from = part(start, shift);
            // Whole-number division truncates toward zero, also for a falling part.
            color |= (from + k * (part(end, shift) - from) / 255) << shift;
        }
        palette[static_cast<std::size_t>(k)] = ArgbFromColor(color);
    }
    return palette;
}

PictureGrid::PictureGrid()
    : m_count(PictureSide * PictureSide, 0), m_miss(PictureSide * PictureSide, 0) {}

void PictureGrid::clear() {
    std::fill(m_count.begin(), m_count.end(), 0);
    std::fill(m_miss.begin(), m_miss.end(), 0);
    m_occupied.clear();
}

void BinPoints(const TOutLog& xs, const TOutLog& ys, std::int32_t from, std::int32_t to,
               const Scale2D& scale, PictureGrid& grid) {
    int i = 0;
    int j = 0;
    for (std::int32_t k = from; k < to; ++k)
        if (BinPoint(scale, xs[k], ys[k], i, j)) grid.add(i, j);
}

namespace {

/// numerator / denominator to the nearest whole number, halves to even; both >= 0.
int RoundedRatio(std::int64_t numerator, std::int64_t denominator) {
    const std::int64_t q = numerator / denominator;
    const std::int64_t twice = 2 * (numerator % denominator);
    if (twice > denominator || (twice == denominator && q % 2 != 0)) return static_cast<int>(q + 1);
    return static_cast<int>(q);
}

} // namespace

int PaletteEntry(std::int32_t colouration, std::int32_t count, std::int32_t miss,
                 std::int32_t maxCount) {
    if (count <= 0) return -1;
    if (colouration == ColourFreq) {
        if (maxCount <= 1) return 0;
        return std::clamp(RoundedRatio(std::int64_t{count - 1} * 255, maxCount - 1), 0, 255);
    }
    if (colouration == ColourProb)
        return std::clamp(RoundedRatio(std::int64_t{std::max(miss, 0)} * 255, count), 0, 255);
    return 0;
}

void RenderPicture(const PictureGrid& grid, std::int32_t colouration, const Palette2D& palette,
                   std::uint32_t background, std::uint32_t* pixels) {
    std::fill(pixels, pixels + PictureSide * PictureSide, background);
    const auto put = [pixels](std::uint16_t c, std::uint32_t colour) {
        pixels[(PictureSide - 1 - c % PictureSide) * PictureSide + c / PictureSide] = colour;
    };
    const std::vector<std::uint16_t>& occupied = grid.occupied();
    if (colouration != ColourFreq) {
        for (const std::uint16_t c : occupied) {
            const int entry =
                PaletteEntry(colouration, grid.count(c / PictureSide, c % PictureSide),
                             grid.miss(c / PictureSide, c % PictureSide), 0);
            if (entry >= 0) put(c, palette[static_cast<std::size_t>(entry)]);
        }
        return;
    }
    std::int32_t maxCount = 0;
    for (const std::uint16_t c : occupied)
        maxCount = std::max(maxCount, grid.count(c / PictureSide, c % PictureSide));
    // The colour of every count from 1 to M, when there are fewer counts than cells: one
    // division per count instead of one per cell.
    const bool table = static_cast<std::size_t>(maxCount) <= occupied.size();
    std::vector<std::uint32_t> colours;
    if (table) {
        colours.resize(static_cast<std::size_t>(maxCount) + 1);
        for (std::int32_t count = 1; count <= maxCount; ++count)
            colours[static_cast<std::size_t>(count)] =
                palette[static_cast<std::size_t>(PaletteEntry(ColourFreq, count, 0, maxCount))];
    }
    for (const std::uint16_t c : occupied) {
        const std::int32_t count = grid.count(c / PictureSide, c % PictureSide);
        put(c,
            table
                ? colours[static_cast<std::size_t>(count)]
                : palette[static_cast<std::size_t>(PaletteEntry(ColourFreq, count, 0, maxCount))]);
    }
}

} // namespace probex
