#pragma once

#include "project/ObjectsTable.h"
#include "results/Picture2D.h"

#include <optional>

namespace probex {

/// A segment in picture pixels: columns from the left, rows from the top of the drawing area.
struct PictureSegment {
    double x1 = 0;
    double y1 = 0;
    double x2 = 0;
    double y2 = 0;
};

/// The box of an ellipse in picture pixels, left <= right and top <= bottom.
struct PictureBox {
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;
};

/// Objects whose geometry lies farther than this off the drawing area are clipped (lines) or
/// left out (circles, dots): nothing of them could be seen, and painting them would cost.
inline constexpr double FarOffPicture = 65536;

/// From (px(X1), py(Y1)) to (px(X2), py(Y2)), clipped to the reach above; nullopt when
/// nothing of it is near the picture.
std::optional<PictureSegment> LineGeometry(const LineRec& line, const Scale2D& scale);

/// The box from (px(X − R), py(Y − R)) to (px(X + R), py(Y + R)): R is in the variables'
/// units, so unequal scales give an ellipse.
std::optional<PictureBox> CircleGeometry(const CircleRec& circle, const Scale2D& scale);

/// The box from (px(X) − R, py(Y) − R) to (px(X) + R, py(Y) + R), R in pixels, applied
/// before rounding.
std::optional<PictureBox> DotGeometry(const DotRec& dot, const Scale2D& scale);

} // namespace probex
