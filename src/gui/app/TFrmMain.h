#pragma once

#include "gui/app/MainActions.h"
#include "gui/components/QtMainThread.h"
#include "gui/components/RefreshGate.h"
#include "gui/engine/EquErrPrompter.h"
#include "model/ProjectModel.h"
#include "project/LayoutFile.h"
#include "project/ProjectCommands.h"

#include <QMainWindow>
#include <QRect>

#include <array>
#include <memory>
#include <string>

class QEventLoop;
class QLabel;
class QLineEdit;
class QMdiArea;
class QMdiSubWindow;
class QToolBar;

namespace probex {

class HelpWindow;
class RecentFilesMenu;
class ResultWindowManager;
class StepSpinBox;
class TFrmAbout;
class TFrmCorrelations;
class TFrmDisInsp;
class TFrmEquErr;
class TFrmEquations;
class TFrmOptions;
class TFrmOutEquations;
class TFrmOVars;
class TFrmSaveRes;
class TFrmVars;
class UnsavedChangesGuard;

/// The main window: the project's model and commands, the menus and toolbars through which
/// every command is given, the four model windows in the multiple-document area, and the
/// run's display (running state, finished steps, status panel, errors).
class TFrmMain : public QMainWindow, private ModelObserver, private LayoutKeeper {
    Q_OBJECT

public:
    /// `settingsFile` is Probex.ini: the window placements and toolbar positions live there.
    TFrmMain(TSettings& settings, Prompter& prompter, std::string settingsFile,
             QWidget* parent = nullptr);
    ~TFrmMain() override;

    ProjectModel& model() { return *m_model; }
    ProjectCommands& commands() { return m_commands; }
    const MainActions& actions() const { return m_actions; }
    TFrmEquations* equationsWindow() const { return m_frmEquations; }
    TFrmOutEquations* outEquationsWindow() const { return m_frmOutEquations; }
    TFrmVars* varsWindow() const { return m_frmVars; }
    TFrmOVars* outVarsWindow() const { return m_frmOVars; }
    TFrmSaveRes* saveResultsDialog() const { return m_frmSaveRes; }
    ResultWindowManager* resultWindows() const { return m_results; }
    QMdiArea* mdiArea() const { return m_mdiArea; }
    HelpWindow* helpWindow() const { return m_help; }
    RecentFilesMenu* recentFiles() const { return m_recent; }
    QLabel* statusPanel(int panel) const {
        return m_panels.at(static_cast<std::size_t>(panel - 1));
    }

    /// Where equation error popups go; the window's own `TFrmEquErr` when null.
    void setErrorPopup(EquErrPopup* popup);
    /// The project file named on the command line, read when the window is first shown.
    void setCommandLineProject(const std::string& argument) { m_commandLineProject = argument; }

    /// Saves the placements of the four model windows into Probex.ini; the error text, empty
    /// on success.
    std::string saveChildPlacements();

public slots:
    void ItmNewClick();
    void ItmOpenClick();
    void ItmMergeClick();
    void ItmSaveClick();
    void ItmSaveAsClick();
    void ItmSaveResClick();
    void ItmCompileClick();
    void ItmRunStopClick();
    void ItmResetClick();
    void ItmEvalClick();
    void ItmSavePosClick();
    void ItmOptionsClick();
    void ItmIn1DClick();
    void ItmHelpClick();
    void ItmAboutClick();
    void ItmArrangeClick();
    void openCommandLineProject();
    /// Opens a project of the recent list, after the question about unsaved changes.
    void openRecentProject(const std::string& file);
    /// The Open dialog in the folder of the shipped examples.
    void openExample();
    /// Brings the title up to date: the project's name, with "*" when it has unsaved changes.
    void updateTitle();

signals:
    /// The run's worker has ended and handed over its end.
    void runFinished();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum FixedWindow { WinEquations, WinOutEquations, WinInputVars, WinVarList, FixedCount };

    void buildToolbars();
    void buildStatusBar();
    void buildChildWindows();
    QMdiSubWindow* addFixedWindow(QWidget* content, FixedWindow which);
    void connectCommands();
    void bringToFront(FixedWindow which);
    void setRunningState(bool running);
    void updateResetEnabled();
    /// After an open or a save: the project joins the recent list; the title follows.
    void projectNamed(bool success);
    void refreshWindowsFromModel();
    /// Runs a command; a number that does not convert ends it with its message.
    template <class Command> void guarded(Command&& command);
    enum class EditOperation { Cut, Copy, Paste, SelectAll };
    /// The edit commands act on the text control that has the focus, else on the equations.
    void editFocused(EditOperation operation);
    void stopRunAndWait();
    void restorePlacements();
    void saveMainPlacement();

    // ModelObserver
    void showEquationError(const TEquError& error, bool outEquations) override;
    void clearEquationStatus(bool outEquations) override;
    void showInputRow(int row) override;
    void runningChanged(bool running) override;
    void showStep(std::int32_t step) override;
    void showStatus(const std::string& text) override;
    void refillVariableBoxes(int mode) override;
    void refreshStatistics(std::int32_t step) override;
    void refresh1D(std::int32_t step) override;
    void refreshPQ(std::int32_t step) override;
    bool refreshWanted(RefreshKind kind) override;
    void finalRefresh() override;
    void resultsChanged(bool exist) override;
    void runEnded(RunOutcome outcome) override;
    void outEquationsEvaluated() override;

    // LayoutKeeper
    TProjectLayout collectLayout() override;
    void applyLayout(const TProjectLayout& layout) override;

    TSettings& m_settings;
    std::string m_settingsFile;
    EquErrPrompter m_prompter;
    QtMainThread m_mainThread;
    std::unique_ptr<ProjectModel> m_model;
    ProjectCommands m_commands;
    MainActions m_actions;

    QMdiArea* m_mdiArea = nullptr;
    std::array<QMdiSubWindow*, FixedCount> m_fixed{};
    std::array<QRect, FixedCount> m_normalRects{};
    TFrmEquations* m_frmEquations = nullptr;
    TFrmOutEquations* m_frmOutEquations = nullptr;
    TFrmVars* m_frmVars = nullptr;
    TFrmOVars* m_frmOVars = nullptr;
    TFrmEquErr* m_frmEquErr = nullptr;
    TFrmAbout* m_frmAbout = nullptr;
    TFrmDisInsp* m_frmDisInsp = nullptr;
    TFrmCorrelations* m_frmCorrelations = nullptr;
    TFrmOptions* m_frmOptions = nullptr;
    HelpWindow* m_help = nullptr;
    RecentFilesMenu* m_recent = nullptr;
    UnsavedChangesGuard* m_unsaved = nullptr;
    TFrmSaveRes* m_frmSaveRes = nullptr;
    ResultWindowManager* m_results = nullptr;

    QToolBar* m_tlbTransport = nullptr;
    QToolBar* m_tlbEdit = nullptr;
    QToolBar* m_tlbFile = nullptr;
    QToolBar* m_tlbIdent = nullptr;
    QLabel* m_lblCurrentStep = nullptr;
    /// The finished-steps label changes at most 20 times a second: more nobody can read.
    RefreshGate m_stepGate{50};
    StepSpinBox* m_edtLastStep = nullptr;
    QLineEdit* m_edtId = nullptr;
    std::array<QLabel*, 4> m_panels{};

    std::string m_commandLineProject;
    QEventLoop* m_runWait = nullptr;
    bool m_shown = false;
    bool m_loading = false;
    bool m_closing = false;
};

} // namespace probex
