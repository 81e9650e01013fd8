#pragma once

#include "engine/Extended.h"
#include "simulation/OutLog.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <optional>
#include <vector>

namespace probex {

struct TSettings;

/// The drawing area of a 2D picture is PictureSide pixels square; the image adds a one-pixel
/// frame around it.
inline constexpr int PictureSide = 256;
inline constexpr int PictureImageSide = PictureSide + 2;

/// The nearest whole number, a half going to the even neighbour; nullopt for a value that
/// is not finite or lies beyond +-2^62.
std::optional<std::int64_t> RoundHalfEven(long double value);

/// How the variables' units map to pixel columns and rows of the drawing area.
struct Scale2D {
    double xMin = 0;
    double yMin = 0;
    double xScale = 0;
    double yScale = 0;
    bool valid = false;

    /// xScale := 255/(max − min) and likewise for y; invalid when either range is empty or
    /// not finite.
    static Scale2D FromRanges(Extended xMin, Extended xMax, Extended yMin, Extended yMax);

    /// The unrounded column and row-from-the-bottom of a value.
    long double column(long double x) const { return (x - xMin) * xScale; }
    long double lift(long double y) const { return (y - yMin) * yScale; }
    /// px and py: the pixel column, and the row counted from the top; nullopt where the
    /// value lies too far off the picture to be drawn.
    std::optional<std::int64_t> px(long double x) const;
    std::optional<std::int64_t> py(long double y) const;
    /// The values at the centre of a cell.
    double xAt(int column) const { return xMin + column / xScale; }
    double yAt(int rowFromBottom) const { return yMin + rowFromBottom / yScale; }
};

/// 256 colours as 0xFFRRGGBB, ready for an image.
using Palette2D = std::array<std::uint32_t, 256>;

/// A setting colour (0x00BBGGRR) as 0xFFRRGGBB.
std::uint32_t ArgbFromColor(std::int32_t color);

/// "No": every entry `Plot2DColor`; "Freq" and "Prob": entry k runs from the start colour to
/// the end colour, each part start + k·(end − start)/255 truncated.
Palette2D MakePalette(std::int32_t colouration, const TSettings& settings);

/// The counters of a picture: how many points fall on each cell and, for "Prob", how many of
/// them miss the condition. Cell (i, j): i along the horizontal axis, j up the vertical one.
class PictureGrid {
public:
    PictureGrid();

    void clear();
    std::int32_t count(int i, int j) const { return m_count[cell(i, j)]; }
    std::int32_t miss(int i, int j) const { return m_miss[cell(i, j)]; }
    /// The cells holding a point, in the order they were first hit.
    const std::vector<std::uint16_t>& occupied() const { return m_occupied; }

    void add(int i, int j) {
        const std::size_t c = cell(i, j);
        if (m_count[c]++ == 0) m_occupied.push_back(static_cast<std::uint16_t>(c));
    }
    void addMiss(int i, int j) { ++m_miss[cell(i, j)]; }

    static std::size_t cell(int i, int j) {
        return static_cast<std::size_t>(i) * PictureSide + static_cast<std::size_t>(j);
    }

private:
    std::vector<std::int32_t> m_count;
    std::vector<std::int32_t> m_miss;
    std::vector<std::uint16_t> m_occupied;
};

/// The cell of one point; false when a value lies off the picture (or is not finite).
inline bool BinPoint(const Scale2D& scale, long double x, long double y, int& i, int& j) {
    const long double u = scale.column(x);
    const long double v = scale.lift(y);
    // Also false for NaN; within these bounds llrint cannot overflow.
    if (!(u > -1 && u < PictureSide && v > -1 && v < PictureSide)) return false;
    const long long ri = std::llrint(u); // the default rounding: halves to even
    const long long rj = std::llrint(v);
    if (static_cast<unsigned long long>(ri) >= PictureSide ||
        static_cast<unsigned long long>(rj) >= PictureSide)
        return false;
    i = static_cast<int>(ri);
    j = static_cast<int>(rj);
    return true;
}

/// Counts log slots [from, to) of two logs into the grid.
void BinPoints(const TOutLog& xs, const TOutLog& ys, std::int32_t from, std::int32_t to,
               const Scale2D& scale, PictureGrid& grid);

/// As BinPoints, also counting the steps whose condition(k) (an object with `ok` and `holds`)
/// does not hold; false at the first condition that cannot be evaluated.
template <class Condition>
bool BinPointsWithCondition(const TOutLog& xs, const TOutLog& ys, std::int32_t from,
                            std::int32_t to, const Scale2D& scale, PictureGrid& grid,
                            Condition&& condition) {
    for (std::int32_t k = from; k < to; ++k) {
        const auto result = condition(k);
        if (!result.ok) return false;
        int i = 0;
        int j = 0;
        if (!BinPoint(scale, xs[k], ys[k], i, j)) continue;
        grid.add(i, j);
        if (!result.holds) grid.addMiss(i, j);
    }
    return true;
}

/// The end of the stretch of slots that starts at `next`: just past the next slot that is a
/// multiple of `rate` (slot 0 included), where the picture is shown again; at most `total`.
inline std::int32_t RefreshStretchEnd(std::int32_t next, std::int32_t rate, std::int32_t total) {
    const std::int64_t step = rate < 1 ? 1 : rate;
    const std::int64_t refresh = (std::int64_t{next} + step - 1) / step * step;
    return static_cast<std::int32_t>(std::min<std::int64_t>(refresh + 1, total));
}

/// The palette entry of a cell, or -1 when the cell stays empty. `maxCount` is the largest
/// count of all cells (used by "Freq").
int PaletteEntry(std::int32_t colouration, std::int32_t count, std::int32_t miss,
                 std::int32_t maxCount);

/// Paints the grid into 256 x 256 pixels (row 0 at the top, so cell (i, j) lands on column
/// i, row 255 − j); cells without points get `background`.
void RenderPicture(const PictureGrid& grid, std::int32_t colouration, const Palette2D& palette,
                   std::uint32_t background, std::uint32_t* pixels);

} // namespace probex
