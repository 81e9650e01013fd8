#pragma once

#include "gui/results/ReportContent.h"

#include <optional>

namespace probex {

class ProjectModel;
class TReportWriter;

/// "Sensitivity" with a node per open sensitivity window; nullopt when none is open.
std::optional<TReportNode> SensitivityReportNode(const ProjectModel& model);

/// The checked windows of the node, each as its table and its chart.
void WriteSensitivityReport(TReportWriter& writer, ProjectModel& model, const TReportNode& node);

} // namespace probex
