#pragma once

#include <QList>

class QAction;
class QMainWindow;
class QMenu;

namespace probex {

/// The main window's menus and their items, each QAction named after its item (`ItmNew`,
/// `ItmRunStop`, ...) with its caption, short-cut key and hint.
struct MainActions {
    QMenu* BarFile = nullptr;
    QMenu* BarEdit = nullptr;
    QMenu* BarView = nullptr;
    QMenu* BarToolbars = nullptr;
    QMenu* BarRun = nullptr;
    QMenu* BarTools = nullptr;
    QMenu* BarWindow = nullptr;
    QMenu* BarHelp = nullptr;

    QAction* ItmNew = nullptr;
    QAction* ItmOpen = nullptr;
    QAction* ItmMerge = nullptr;
    QAction* ItmSave = nullptr;
    QAction* ItmSaveAs = nullptr;
    QAction* ItmSaveRes = nullptr;
    QAction* ItmSaveGraphs = nullptr;
    QAction* ItmPrint = nullptr;
    QAction* ItmExit = nullptr;

    QAction* ItmCut = nullptr;
    QAction* ItmCopy = nullptr;
    QAction* ItmPaste = nullptr;
    QAction* ItmSelectAll = nullptr;

    QAction* ItmIn1D = nullptr;
    QAction* ItmCorrelations = nullptr;
    QAction* ItmOutStat = nullptr;
    QAction* ItmOut1D = nullptr;
    QAction* ItmOut2D = nullptr;
    QAction* ItmProb = nullptr;
    QAction* Quantiles1 = nullptr;
    QAction* ItmSensitivity = nullptr;
    QAction* ItmTlbFile = nullptr;
    QAction* ItmTlbEdit = nullptr;
    QAction* ItmTlbTransport = nullptr;
    QAction* ItmTlbIdent = nullptr;

    QAction* ItmCompile = nullptr;
    QAction* ItmRunStop = nullptr;
    QAction* ItmReset = nullptr;
    QAction* ItmEval = nullptr;

    QAction* ItmOptions = nullptr;
    QAction* ItmSavePos = nullptr;

    QAction* ItmOutEquations = nullptr;
    QAction* ItmEquations = nullptr;
    QAction* ItmOutVars = nullptr;
    QAction* ItmVariables = nullptr;
    QAction* ItmAllStat = nullptr;
    QAction* ItmAll1D = nullptr;
    QAction* ItmAll2D = nullptr;
    QAction* ItmAllProbs = nullptr;
    QAction* ItmAllQuants = nullptr;
    QAction* ItmCascade = nullptr;
    QAction* ItmTile = nullptr;
    QAction* ItmArrange = nullptr;
    QAction* ItmCloseAllStat = nullptr;
    QAction* ItmCloseAll1D = nullptr;
    QAction* ItmCloseAll2D = nullptr;
    QAction* ItmCloseAllProb = nullptr;
    QAction* CloseallQuant = nullptr;
    QAction* ItmCloseAllRes = nullptr;

    QAction* ItmHelp = nullptr;
    QAction* ItmAbout = nullptr;

    /// Items that wait for the result windows and stay disabled until those exist.
    QList<QAction*> notYetAvailable;
};

/// Builds the menu bar `MnuMain` of the window with every menu and item.
MainActions BuildMainMenus(QMainWindow* window);

} // namespace probex
