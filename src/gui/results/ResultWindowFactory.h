#pragma once

#include "project/ResultWindows.h"

#include <cstddef>

class QWidget;

namespace probex {

class ProjectModel;
class TFrmResult;

/// Builds the window of the kind for the description at `index` in its kind's list of
/// `model.resultWindows`; nullptr for a kind this program cannot show.
TFrmResult* CreateResultWindow(ProjectModel& model, ResultWindowKind kind, std::size_t index,
                               QWidget* parent = nullptr);

} // namespace probex
