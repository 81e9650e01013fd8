#pragma once

class QWidget;

namespace probex {

struct MainActions;
class ProjectModel;
class ResultWindowManager;

/// Print: the report dialog, the print dialog and the report; enables the item.
void ConnectReportCommands(MainActions& actions, ProjectModel& model, ResultWindowManager& windows,
                           QWidget* parent);

} // namespace probex
