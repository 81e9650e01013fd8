#include "gui/app/ResultWindowCommands.h"

#include "gui/app/MainActions.h"
#include "gui/app/ResultWindowManager.h"
#include "gui/sensitivity/SensitivityWindows.h"
#include "gui/simulation/OutputTableModel.h"
#include "gui/simulation/TFrmOVars.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QMenu>
#include <QTableView>

namespace probex {

void ConnectResultWindowCommands(MainActions& a, ResultWindowManager& windows,
                                 TFrmOVars& outputVariables) {
    using Kind = ResultWindowKind;
    TFrmOVars* table = &outputVariables;
    ResultWindowManager* manager = &windows;
    const std::pair<QAction*, Kind> opening[] = {{a.ItmOutStat, Kind::Statistics},
                                                 {a.ItmOut1D, Kind::OneD},
                                                 {a.ItmProb, Kind::Probability},
                                                 {a.Quantiles1, Kind::Quantile}};
    for (const auto& [item, kind] : opening)
        QObject::connect(item, &QAction::triggered, manager, [manager, table, kind] {
            manager->openFromView(kind, table->currentRow());
        });
    const std::pair<QAction*, Kind> raising[] = {{a.ItmAllStat, Kind::Statistics},
                                                 {a.ItmAll1D, Kind::OneD},
                                                 {a.ItmAll2D, Kind::TwoD},
                                                 {a.ItmAllProbs, Kind::Probability},
                                                 {a.ItmAllQuants, Kind::Quantile}};
    for (const auto& [item, kind] : raising)
        QObject::connect(item, &QAction::triggered, manager,
                         [manager, kind] { manager->bringAllToFront(kind); });
    const std::pair<QAction*, Kind> closing[] = {{a.ItmCloseAllStat, Kind::Statistics},
                                                 {a.ItmCloseAll1D, Kind::OneD},
                                                 {a.ItmCloseAll2D, Kind::TwoD},
                                                 {a.ItmCloseAllProb, Kind::Probability},
                                                 {a.CloseallQuant, Kind::Quantile}};
    for (const auto& [item, kind] : closing)
        QObject::connect(item, &QAction::triggered, manager,
                         [manager, kind] { manager->closeAll(kind); });
    QObject::connect(a.ItmCloseAllRes, &QAction::triggered, manager, [manager] {
        for (const Kind kind : AllResultWindowKinds)
            manager->closeAll(kind);
    });
    QMenu* windowMenu = a.BarWindow;
    QObject::connect(windowMenu, &QMenu::aboutToShow, manager,
                     [manager, windowMenu] { manager->listWindows(windowMenu); });

    for (const auto& [item, kind] : opening)
        a.notYetAvailable.removeAll(item);
    for (const auto& [item, kind] : raising)
        a.notYetAvailable.removeAll(item);
    for (const auto& [item, kind] : closing)
        a.notYetAvailable.removeAll(item);
    a.notYetAvailable.removeAll(a.ItmCloseAllRes);
    for (QAction* item :
         {a.ItmOutStat, a.ItmOut1D, a.ItmProb, a.Quantiles1, a.ItmAllStat, a.ItmAll1D, a.ItmAll2D,
          a.ItmAllProbs, a.ItmAllQuants, a.ItmCloseAllStat, a.ItmCloseAll1D, a.ItmCloseAll2D,
          a.ItmCloseAllProb, a.CloseallQuant, a.ItmCloseAllRes})
        item->setEnabled(true);

    QObject::connect(a.ItmSensitivity, &QAction::triggered, manager, [manager, table] {
        manager->sensitivity()->openFromView(table->currentRow());
    });

    outputVariables.viewVariableAction()->setEnabled(true);
    QObject::connect(&outputVariables, &TFrmOVars::viewRequested, manager,
                     [manager](int row) { manager->openForOutputRow(Kind::OneD, row); });
    // Every change of the output table refills the windows' variable boxes, once the edit
    // has finished; a run fills them for its own variables.
    QObject::connect(
        outputVariables.tableModel(), &QAbstractItemModel::dataChanged, manager,
        [manager] { manager->outputTableEdited(); }, Qt::QueuedConnection);
    // The table is refreshed after the edit that changed it has finished.
    QObject::connect(manager, &ResultWindowManager::outputTableChanged, table,
                     &TFrmOVars::refreshFromModel, Qt::QueuedConnection);
    QObject::connect(manager, &ResultWindowManager::outputRowWanted, table, [table](int row) {
        QTableView* grid = table->grid();
        if (grid->model() != nullptr && row >= 1)
            grid->setCurrentIndex(grid->model()->index(row - 1, 0));
    });
}

} // namespace probex
