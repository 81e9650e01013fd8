#include "gui/app/ReportCommands.h"

#include "gui/app/MainActions.h"
#include "gui/app/ResultWindowManager.h"
#include "gui/results/ReportGraphs.h"
#include "gui/results/TFrmPrint.h"
#include "gui/results/TFrmSaveGraph.h"

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
    QObject::connect(a.ItmSaveGraphs, &QAction::triggered, parent, [&model, manager, parent] {
        SaveGraphs(
            model,
            [manager](ResultWindowKind kind, std::size_t index) {
                return manager->window(kind, index);
            },
            parent);
    });
    for (QAction* item : {a.ItmPrint, a.ItmSaveGraphs}) {
        a.notYetAvailable.removeAll(item);
        item->setEnabled(true);
    }
}

} // namespace probex
