#pragma once

#include <QIcon>

namespace probex {

/// The run button's pictures, drawn rather than loaded so the program carries no image files:
/// a green triangle to run, a red square to stop.
QIcon RunPicture();
QIcon StopPicture();

} // namespace probex
