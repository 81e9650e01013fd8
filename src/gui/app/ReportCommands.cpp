#include "gui/app/ReportCommands.h"

#include "gui/app/MainActions.h"
#include "gui/app/ResultWindowManager.h"
#include "gui/results/ReportGraphs.h"
#include "gui/results/TFrmPrint.h"

#include <QAction>

namespace probex {

void ConnectReportCommands(MainActions& a, ProjectModel& model, ResultWindowManager& windows,
                           QWidget* parent) {
    ResultWindowManager* manager = &windows;
    QObject::connect(a.ItmPrint, &QAction::triggered, parent, [&model, manager, parent] {
        TProjectReportGraphs graphs(model, [manager](ResultWindowKind kind, std::size_t index) {
            return manager->window(kind, index);
        });
        PrintProjectReport(model, graphs, parent);
    });
    a.notYetAvailable.removeAll(a.ItmPrint);
    a.ItmPrint->setEnabled(true);
}

} // namespace probex
