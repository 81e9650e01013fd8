#pragma once

#include "project/LayoutFile.h"

#include <QRect>

#include <optional>
#include <string>

class QWidget;

namespace probex {

/// How a window's placement is recorded: its normal rectangle (right and bottom exclusive)
/// and whether it is normal (1), minimised (2) or maximised (3).
TWindowPlacement PlacementOf(const QWidget* window, const QRect& normalGeometry);
/// Puts the window into the recorded rectangle and state; an empty rectangle keeps where it is.
void ApplyPlacement(QWidget* window, const TWindowPlacement& placement);

/// The placement kept in a section of an INI file; nullopt when there is none.
std::optional<TWindowPlacement> LoadPlacement(const std::string& iniFile,
                                              const std::string& section);

} // namespace probex
