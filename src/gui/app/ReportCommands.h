#pragma once

class QWidget;

namespace probex {

struct MainActions;
class ProjectModel;
class ResultWindowManager;

/// Save graphs and Print: their dialogs, then the files or the report; enables both items.
void ConnectReportCommands(MainActions& actions, ProjectModel& model, ResultWindowManager& windows,
                           QWidget* parent);

} // namespace probex
