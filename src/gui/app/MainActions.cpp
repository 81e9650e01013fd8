#include "gui/app/MainActions.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

namespace probex {

namespace {

QMenu* AddMenu(QMenuBar* bar, const char* name, const QString& caption) {
    QMenu* menu = bar->addMenu(caption);
    menu->setObjectName(QLatin1String(name));
    menu->menuAction()->setObjectName(QLatin1String(name));
    return menu;
}

QAction* AddItem(QMenu* menu, const char* name, const QString& caption,
                 const QKeySequence& key = {}, const QString& hint = {}) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    action->setShortcut(key);
    action->setShortcutContext(Qt::WindowShortcut);
    if (!hint.isEmpty()) action->setStatusTip(hint);
    return action;
}

} // namespace

MainActions BuildMainMenus(QMainWindow* window) {
    MainActions a;
    QMenuBar* bar = window->menuBar();
    bar->setObjectName(QStringLiteral("MnuMain"));

    a.BarFile = AddMenu(bar, "BarFile", QStringLiteral("&File"));
    a.ItmNew = AddItem(a.BarFile, "ItmNew", QStringLiteral("&New"),
                       QKeySequence(Qt::CTRL | Qt::Key_N), QStringLiteral("Clear all"));
    a.ItmOpen = AddItem(a.BarFile, "ItmOpen", QStringLiteral("&Open..."),
                        QKeySequence(Qt::CTRL | Qt::Key_O), QStringLiteral("Open new input file"));
    a.ItmMerge =
        AddItem(a.BarFile, "ItmMerge", QStringLiteral("&Merge..."),
                QKeySequence(Qt::CTRL | Qt::Key_M), QStringLiteral("Merge new input file"));
    a.ItmSave =
        AddItem(a.BarFile, "ItmSave", QStringLiteral("&Save"), QKeySequence(Qt::CTRL | Qt::Key_S));
    a.ItmSaveAs = AddItem(a.BarFile, "ItmSaveAs", QStringLiteral("S&ave as..."));
    a.BarFile->addSeparator();
    a.ItmSaveRes = AddItem(a.BarFile, "ItmSaveRes", QStringLiteral("Save &results..."),
                           QKeySequence(Qt::CTRL | Qt::Key_R));
    a.ItmSaveGraphs = AddItem(a.BarFile, "ItmSaveGraphs", QStringLiteral("Save &graphs..."),
                              QKeySequence(Qt::CTRL | Qt::Key_G));
    a.ItmPrint = AddItem(a.BarFile, "ItmPrint", QStringLiteral("&Print..."),
                         QKeySequence(Qt::CTRL | Qt::Key_P));
    a.BarFile->addSeparator();
    a.ItmExit =
        AddItem(a.BarFile, "ItmExit", QStringLiteral("E&xit"), {}, QStringLiteral("Close program"));

    a.BarEdit = AddMenu(bar, "BarEdit", QStringLiteral("&Edit"));
    a.ItmCut =
        AddItem(a.BarEdit, "ItmCut", QStringLiteral("Cu&t"), QKeySequence(Qt::CTRL | Qt::Key_X));
    a.ItmCopy =
        AddItem(a.BarEdit, "ItmCopy", QStringLiteral("&Copy"), QKeySequence(Qt::CTRL | Qt::Key_C));
    a.ItmPaste = AddItem(a.BarEdit, "ItmPaste", QStringLiteral("&Paste"),
                         QKeySequence(Qt::CTRL | Qt::Key_V));
    a.ItmSelectAll = AddItem(a.BarEdit, "ItmSelectAll", QStringLiteral("Select &all"),
                             QKeySequence(Qt::CTRL | Qt::Key_A));
    // The editors handle these keys themselves; the menu must not steal them.
    for (QAction* item : {a.ItmCut, a.ItmCopy, a.ItmPaste, a.ItmSelectAll})
        item->setShortcutContext(Qt::WidgetShortcut);

    a.BarView = AddMenu(bar, "BarView", QStringLiteral("&View"));
    a.ItmIn1D = AddItem(a.BarView, "ItmIn1D", QStringLiteral("&In1D"), QKeySequence(Qt::Key_F3),
                        QStringLiteral("Distribution Inspector"));
    a.ItmCorrelations = AddItem(a.BarView, "ItmCorrelations", QStringLiteral("&Correlations"));
    a.ItmOutStat =
        AddItem(a.BarView, "ItmOutStat", QStringLiteral("OutStat"), QKeySequence(Qt::Key_F4));
    a.ItmOut1D = AddItem(a.BarView, "ItmOut1D", QStringLiteral("Out&1D"), QKeySequence(Qt::Key_F5),
                         QStringLiteral("Output 1D"));
    a.ItmOut2D = AddItem(a.BarView, "ItmOut2D", QStringLiteral("Out&2D"), QKeySequence(Qt::Key_F6),
                         QStringLiteral("Output 2D"));
    a.ItmProb =
        AddItem(a.BarView, "ItmProb", QStringLiteral("&Probabilities"), QKeySequence(Qt::Key_F7));
    a.Quantiles1 =
        AddItem(a.BarView, "Quantiles1", QStringLiteral("&Quantiles"), QKeySequence(Qt::Key_F8));
    a.ItmSensitivity = AddItem(a.BarView, "ItmSensitivity", QStringLiteral("&Sensitivity"));
    a.BarView->addSeparator();
    a.BarToolbars = a.BarView->addMenu(QStringLiteral("&Toolbars"));
    a.BarToolbars->setObjectName(QStringLiteral("BarToolbars"));
    a.ItmTlbFile = AddItem(a.BarToolbars, "ItmTlbFile", QStringLiteral("File"));
    a.ItmTlbEdit = AddItem(a.BarToolbars, "ItmTlbEdit", QStringLiteral("&Edit"));
    a.ItmTlbTransport = AddItem(a.BarToolbars, "ItmTlbTransport", QStringLiteral("&Transport"));
    a.ItmTlbIdent = AddItem(a.BarToolbars, "ItmTlbIdent", QStringLiteral("&Identification"));
    for (QAction* item : {a.ItmTlbFile, a.ItmTlbEdit, a.ItmTlbTransport, a.ItmTlbIdent})
        item->setCheckable(true);

    a.BarRun = AddMenu(bar, "BarRun", QStringLiteral("&Run"));
    a.ItmCompile = AddItem(a.BarRun, "ItmCompile", QStringLiteral("&Compile"),
                           QKeySequence(Qt::CTRL | Qt::Key_F9));
    a.ItmRunStop =
        AddItem(a.BarRun, "ItmRunStop", QStringLiteral("&Run"), QKeySequence(Qt::Key_F9));
    a.ItmReset = AddItem(a.BarRun, "ItmReset", QStringLiteral("Rese&t"),
                         QKeySequence(Qt::SHIFT | Qt::Key_F9));
    a.ItmReset->setEnabled(false);
    a.ItmEval =
        AddItem(a.BarRun, "ItmEval", QStringLiteral("&Evaluate"), QKeySequence(Qt::Key_F10));

    a.BarTools = AddMenu(bar, "BarTools", QStringLiteral("&Tools"));
    a.ItmOptions = AddItem(a.BarTools, "ItmOptions", QStringLiteral("&Settings..."));
    a.ItmSavePos = AddItem(a.BarTools, "ItmSavePos", QStringLiteral("S&ave positions"));

    a.BarWindow = AddMenu(bar, "BarWindow", QStringLiteral("&Window"));
    a.ItmOutEquations = AddItem(a.BarWindow, "ItmOutEquations", QStringLiteral("Out eq&uations"),
                                QKeySequence(Qt::SHIFT | Qt::Key_F2));
    a.ItmEquations = AddItem(a.BarWindow, "ItmEquations", QStringLiteral("&Equations"),
                             QKeySequence(Qt::CTRL | Qt::Key_F2));
    a.ItmOutVars = AddItem(a.BarWindow, "ItmOutVars", QStringLiteral("Eva&luated variables"),
                           QKeySequence(Qt::CTRL | Qt::Key_F3));
    a.ItmVariables = AddItem(a.BarWindow, "ItmVariables", QStringLiteral("&Variables"),
                             QKeySequence(Qt::SHIFT | Qt::Key_F3));
    a.BarWindow->addSeparator();
    a.ItmAllStat = AddItem(a.BarWindow, "ItmAllStat", QStringLiteral("All &statistics"),
                           QKeySequence(Qt::SHIFT | Qt::Key_F4));
    a.ItmAll1D = AddItem(a.BarWindow, "ItmAll1D", QStringLiteral("All &1D"),
                         QKeySequence(Qt::SHIFT | Qt::Key_F5));
    a.ItmAll2D = AddItem(a.BarWindow, "ItmAll2D", QStringLiteral("All &2D"),
                         QKeySequence(Qt::SHIFT | Qt::Key_F6));
    a.ItmAllProbs = AddItem(a.BarWindow, "ItmAllProbs", QStringLiteral("All &probs"),
                            QKeySequence(Qt::SHIFT | Qt::Key_F7));
    a.ItmAllQuants = AddItem(a.BarWindow, "ItmAllQuants", QStringLiteral("All &quants"),
                             QKeySequence(Qt::SHIFT | Qt::Key_F8));
    a.BarWindow->addSeparator();
    a.ItmCascade = AddItem(a.BarWindow, "ItmCascade", QStringLiteral("&Cascade"));
    a.ItmTile = AddItem(a.BarWindow, "ItmTile", QStringLiteral("&Tile"));
    a.ItmArrange = AddItem(a.BarWindow, "ItmArrange", QStringLiteral("&Arrange icons"));
    a.BarWindow->addSeparator();
    a.ItmCloseAllStat =
        AddItem(a.BarWindow, "ItmCloseAllStat", QStringLiteral("Close all statistics"));
    a.ItmCloseAll1D = AddItem(a.BarWindow, "ItmCloseAll1D", QStringLiteral("Close all 1D "));
    a.ItmCloseAll2D = AddItem(a.BarWindow, "ItmCloseAll2D", QStringLiteral("Close all 2D"));
    a.ItmCloseAllProb = AddItem(a.BarWindow, "ItmCloseAllProb", QStringLiteral("Close all probs"));
    a.CloseallQuant = AddItem(a.BarWindow, "CloseallQuant", QStringLiteral("Close all quants"));
    a.ItmCloseAllRes = AddItem(a.BarWindow, "ItmCloseAllRes", QStringLiteral("Close all &results"));

    a.BarHelp = AddMenu(bar, "BarHelp", QStringLiteral("&Help"));
    a.ItmHelp = AddItem(a.BarHelp, "ItmHelp", QStringLiteral("&Help contents"));
    a.ItmAbout = AddItem(a.BarHelp, "ItmAbout", QStringLiteral("&About"));

    a.notYetAvailable = {a.ItmSaveGraphs,   a.ItmPrint,      a.ItmOutStat,    a.ItmOut1D,
                         a.ItmOut2D,        a.ItmProb,       a.Quantiles1,    a.ItmAllStat,
                         a.ItmAll1D,        a.ItmAll2D,      a.ItmAllProbs,   a.ItmAllQuants,
                         a.ItmCloseAllStat, a.ItmCloseAll1D, a.ItmCloseAll2D, a.ItmCloseAllProb,
                         a.CloseallQuant,   a.ItmCloseAllRes};
    for (QAction* item : a.notYetAvailable)
        item->setEnabled(false);

    // Actions of the menus work only while they are in the window.
    for (QMenu* menu :
         {a.BarFile, a.BarEdit, a.BarView, a.BarRun, a.BarTools, a.BarWindow, a.BarHelp})
        window->addActions(menu->actions());
    window->addActions(a.BarToolbars->actions());
    return a;
}

} // namespace probex
