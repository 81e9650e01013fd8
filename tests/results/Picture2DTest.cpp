#include "results/Picture2D.h"
#include "results/Objects2D.h"
#include "settings/Settings.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace probex {
namespace {

constexpr std::uint32_t White = 0xFFFFFFFF;

/// Bins the points and paints them; the pixels row by row from the top.
std::vector<std::uint32_t> Paint(const std::vector<Extended>& xs, const std::vector<Extended>& ys,
                                 const Scale2D& scale, std::int32_t colouration,
                                 const std::vector<bool>& misses = {}) {
    PictureGrid grid;
    for (std::size_t k = 0; k < xs.size(); ++k) {
        int i = 0, j = 0;
        if (!BinPoint(scale, xs[k], ys[k], i, j)) continue;
        grid.add(i, j);
        if (k < misses.size() && misses[k]) grid.addMiss(i, j);
    }
    TSettings settings;
    std::vector<std::uint32_t> pixels(PictureSide * PictureSide);
    RenderPicture(grid, colouration, MakePalette(colouration, settings), White, pixels.data());
    return pixels;
}

std::uint32_t At(const std::vector<std::uint32_t>& pixels, int column, int row) {
    return pixels[static_cast<std::size_t>(row * PictureSide + column)];
}

int Painted(const std::vector<std::uint32_t>& pixels) {
    int n = 0;
    for (const std::uint32_t p : pixels)
        n += p != White;
    return n;
}

TEST(Picture2D, BinsHalvesToTheEvenNeighbour) {
    // Both axes run 0..255, one unit per pixel.
    const Scale2D scale = Scale2D::FromRanges(0, 255, 0, 255);
    ASSERT_TRUE(scale.valid);
    const std::vector<Extended> xs{0.5L, 1.5L, 2.5L, 254.5L, 255, 10.4999L};
    const std::vector<Extended> ys{0, 3.5L, 4.5L, 100.5L, 255, 7.5001L};
    const auto pixels = Paint(xs, ys, scale, ColourNo);
    const std::uint32_t navy = ArgbFromColor(TSettings{}.Plot2DColor);
    EXPECT_EQ(navy, 0xFF000080u);
    // (0.5, 0) -> (0, 0); (1.5, 3.5) -> (2, 4); (2.5, 4.5) -> (2, 4); (254.5, 100.5) ->
    // (254, 100); (255, 255) -> (255, 255); (10.4999, 7.5001) -> (10, 8).
    for (const auto& [i, j] : {std::pair{0, 0}, {2, 4}, {254, 100}, {255, 255}, {10, 8}})
        EXPECT_EQ(At(pixels, i, 255 - j), navy) << i << "," << j;
    EXPECT_EQ(Painted(pixels), 5);
}

TEST(Picture2D, ExtremesLandInOppositeCorners) {
    const Scale2D scale = Scale2D::FromRanges(0.1L, 0.7L, -3, 12.2L);
    const auto pixels = Paint({0.1L, 0.7L, 0.4L}, {-3, 12.2L, 4.6L}, scale, ColourNo);
    EXPECT_NE(At(pixels, 0, 255), White);
    EXPECT_NE(At(pixels, 255, 0), White);
    EXPECT_EQ(Painted(pixels), 3);
    EXPECT_EQ(scale.px(0.7L), 255);
    EXPECT_EQ(scale.py(12.2L), 0);
    EXPECT_EQ(scale.py(-3), 255);
}

TEST(Picture2D, EmptyOrUnboundedRangesGiveNoScale) {
    EXPECT_FALSE(Scale2D::FromRanges(1, 1, 0, 2).valid);
    EXPECT_FALSE(Scale2D::FromRanges(0, 2, 5, 5).valid);
    EXPECT_FALSE(Scale2D::FromRanges(-1e4000L, 1e4000L, 0, 1).valid);
}

TEST(Picture2D, FreqWithOnePointPerPixelPaintsTheStartColour) {
    const Scale2D scale = Scale2D::FromRanges(0, 255, 0, 255);
    const auto pixels = Paint({0, 9, 255}, {0, 200, 3}, scale, ColourFreq);
    const std::uint32_t start = ArgbFromColor(TSettings{}.Freq2DStartColor);
    EXPECT_EQ(At(pixels, 0, 255), start);
    EXPECT_EQ(At(pixels, 9, 55), start);
    EXPECT_EQ(At(pixels, 255, 252), start);
}

TEST(Picture2D, FreqColoursByTheCountAgainstTheLargest) {
    const Scale2D scale = Scale2D::FromRanges(0, 255, 0, 255);
    const Palette2D palette = MakePalette(ColourFreq, TSettings{});
    // M = 3 with two cells (coloured cell by cell), then M = 2 with two cells (by a table).
    const auto sparse = Paint({5, 5, 5, 6}, {5, 5, 5, 5}, scale, ColourFreq);
    EXPECT_EQ(At(sparse, 5, 250), palette[255]);
    EXPECT_EQ(At(sparse, 6, 250), palette[0]);
    const auto dense = Paint({5, 5, 6, 7}, {5, 5, 5, 5}, scale, ColourFreq);
    EXPECT_EQ(At(dense, 5, 250), palette[255]);
    EXPECT_EQ(At(dense, 7, 250), palette[0]);
}

TEST(Picture2D, PaletteEntriesRoundHalvesToEven) {
    struct Case {
        std::int32_t colouration, count, miss, maxCount;
        int entry;
    };
    const Case cases[] = {
        {ColourFreq, 1, 0, 3, 0},   {ColourFreq, 2, 0, 3, 128}, // 127.5 -> 128
        {ColourFreq, 3, 0, 3, 255}, {ColourFreq, 2, 0, 5, 64},  // 63.75
        {ColourFreq, 1, 0, 1, 0},   {ColourProb, 10, 1, 0, 26}, // 25.5 -> 26
        {ColourProb, 10, 3, 0, 76},                             // 76.5 -> 76
        {ColourProb, 2, 1, 0, 128}, {ColourProb, 4, 4, 0, 255}, {ColourProb, 7, 0, 0, 0},
        {ColourNo, 5, 2, 9, 0},     {ColourFreq, 0, 0, 3, -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PaletteEntry(c.colouration, c.count, c.miss, c.maxCount), c.entry)
            << c.colouration << " " << c.count << "/" << c.miss << "/" << c.maxCount;
}

TEST(Picture2D, PaletteRunsFromStartToEndTruncating) {
    TSettings settings; // navy 0x800000 to red 0x0000FF
    const Palette2D palette = MakePalette(ColourFreq, settings);
    EXPECT_EQ(palette[0], 0xFF000080u);
    EXPECT_EQ(palette[255], 0xFFFF0000u);
    // red 128·255/255 = 128; blue 128 + 128·(0 − 128)/255 = 128 − 64 (truncated)
    EXPECT_EQ(palette[128], 0xFF800040u);
    settings.Plot2DColor = 0x00FF00;
    for (const std::uint32_t entry : MakePalette(ColourNo, settings))
        ASSERT_EQ(entry, 0xFF00FF00u);
}

TEST(Picture2D, ProbColoursByTheShareOfMisses) {
    const Scale2D scale = Scale2D::FromRanges(0, 255, 0, 255);
    // Cell (5, 5) holds two points of which one misses; cell (6, 5) one hit.
    const auto pixels = Paint({5, 5, 6}, {5, 5, 5}, scale, ColourProb, {true, false, false});
    const Palette2D palette = MakePalette(ColourProb, TSettings{});
    EXPECT_EQ(At(pixels, 5, 250), palette[128]);
    EXPECT_EQ(At(pixels, 6, 250), palette[0]);
}

TEST(Picture2D, PointsOffThePictureOrNotFiniteAreLeftOut) {
    const Scale2D scale = Scale2D::FromRanges(0, 1, 0, 1);
    const Extended nan = std::numeric_limits<Extended>::quiet_NaN();
    const auto pixels = Paint({2, nan, -1e300L, 0.5L}, {0.5L, 0.5L, 0.5L, 0.5L}, scale, ColourNo);
    EXPECT_EQ(Painted(pixels), 1);
}

TEST(Objects2D, CircleOnUnequalScalesIsAnEllipseAndDotsKeepTheirSize) {
    // x: 0..255 one pixel per unit; y: 0..25.5 ten pixels per unit.
    const Scale2D scale = Scale2D::FromRanges(0, 255, 0, 25.5L);
    const auto circle = CircleGeometry({100, 10, 1, 0}, scale);
    ASSERT_TRUE(circle);
    EXPECT_EQ(circle->right - circle->left, 2);
    EXPECT_EQ(circle->bottom - circle->top, 20);
    EXPECT_EQ(circle->left, 99);
    EXPECT_EQ(circle->top, 255 - 110);
    const auto dot = DotGeometry({100, 10, 3, 0}, scale);
    ASSERT_TRUE(dot);
    EXPECT_EQ(dot->right - dot->left, 6);
    EXPECT_EQ(dot->bottom - dot->top, 6);
    EXPECT_EQ(dot->left, 97);
    EXPECT_EQ(dot->top, 255 - 100 - 3);
}

TEST(Objects2D, LinesJoinThePointsTheyMark) {
    const Scale2D scale = Scale2D::FromRanges(0, 255, 0, 255);
    const auto line = LineGeometry({0, 0, 255, 127.5, 0}, scale);
    ASSERT_TRUE(line);
    EXPECT_EQ(line->x1, 0);
    EXPECT_EQ(line->y1, 255);
    EXPECT_EQ(line->x2, 255);
    EXPECT_EQ(line->y2, 255 - 128);
}

TEST(Objects2D, BadGeometryNeverOverflows) {
    const Scale2D scale = Scale2D::FromRanges(0, 1, 0, 1);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    // A line from the middle to far away is clipped, not dropped.
    const auto far = LineGeometry({0.5, 0.5, 1e300, 0.5, 0}, scale);
    ASSERT_TRUE(far);
    EXPECT_EQ(far->x2, PictureSide - 1 + FarOffPicture);
    EXPECT_FALSE(LineGeometry({1e300, 1e300, 2e300, 1e300, 0}, scale));
    EXPECT_FALSE(LineGeometry({nan, 0, 1, 1, 0}, scale));
    EXPECT_FALSE(CircleGeometry({0.5, 0.5, 1e300, 0}, scale));
    EXPECT_FALSE(DotGeometry({0.5, 0.5, 1e300, 0}, scale));
    EXPECT_FALSE(DotGeometry({1e300, 0.5, 2, 0}, scale));
    // A negative radius gives the same box as its size; radius 0 a point.
    const auto negative = CircleGeometry({0.5, 0.5, -0.1, 0}, scale);
    const auto positive = CircleGeometry({0.5, 0.5, 0.1, 0}, scale);
    ASSERT_TRUE(negative && positive);
    EXPECT_EQ(negative->left, positive->left);
    EXPECT_EQ(negative->bottom, positive->bottom);
    const auto point = DotGeometry({0.5, 0.5, 0, 0}, scale);
    ASSERT_TRUE(point);
    EXPECT_EQ(point->left, point->right);
    EXPECT_FALSE(LineGeometry({0, 0, 1, 1, 0}, Scale2D{}));
}

} // namespace
} // namespace probex
