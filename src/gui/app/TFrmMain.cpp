#include "gui/app/TFrmMain.h"

#include "gui/app/HelpLocation.h"
#include "gui/app/HelpWindow.h"
#include "gui/app/RecentFilesMenu.h"
#include "gui/app/ReportCommands.h"
#include "gui/app/ResultWindowCommands.h"
#include "gui/app/ResultWindowManager.h"
#include "gui/app/RunPictures.h"
#include "gui/app/StepSpinBox.h"
#include "gui/app/SubWindowFit.h"
#include "gui/app/TFrmAbout.h"
#include "gui/app/ToolbarIcons.h"
#include "gui/app/UnsavedChangesGuard.h"
#include "gui/app/WindowPlacement.h"
#include "gui/components/ColouringEditor.h"
#include "gui/engine/TFrmEquErr.h"
#include "gui/engine/TFrmEquations.h"
#include "gui/engine/TFrmOutEquations.h"
#include "gui/results/TFrmSaveRes.h"
#include "gui/settings/TFrmOptions.h"
#include "gui/simulation/TFrmOVars.h"
#include "gui/variables/TFrmCorrelations.h"
#include "gui/variables/TFrmDisInsp.h"
#include "gui/variables/TFrmVars.h"
#include "settings/IniFile.h"
#include "settings/NumberText.h"
#include "settings/Settings.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTableView>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

namespace probex {

namespace {

const char* const FixedSections[] = {"Equations", "OutEquations", "Input vars", "Var list"};
const char* const MainSection = "Main Window";
const char* const ToolbarSection = "Toolbars";
const char* const ToolbarKey = "State";

/// Where the model windows start when Probex.ini has no placement for them: the equations,
/// the input and the evaluated variables side by side, and under them the out equations,
/// whose fields need the whole width of the default main window to show their numbers whole.
// The out-equations window spans the width below the three model windows, tall enough for its
// method and precision fields.
const QRect DefaultRects[] = {QRect(0, 0, 300, 210), QRect(0, 215, 1030, 580),
                              QRect(305, 0, 420, 210), QRect(730, 0, 300, 210)};

QString Latin1(const std::string& text) {
    return QString::fromLatin1(text);
}

} // namespace

TFrmMain::TFrmMain(TSettings& settings, Prompter& prompter, std::string settingsFile,
                   QWidget* parent)
    : QMainWindow(parent), m_settings(settings), m_settingsFile(std::move(settingsFile)),
      m_prompter(prompter, nullptr), m_mainThread(this),
      m_model(std::make_unique<ProjectModel>(settings, m_prompter, m_mainThread)),
      m_commands(*m_model, this) {
    setObjectName(QStringLiteral("FrmMain"));
    setWindowTitle(QStringLiteral("Probex [Untitled]"));
    m_mdiArea = new QMdiArea(this);
    m_mdiArea->setObjectName(QStringLiteral("MdiArea"));
    setCentralWidget(m_mdiArea);

    setWindowIcon(ProgramIcon());
    m_actions = BuildMainMenus(this);
    m_recent = new RecentFilesMenu(m_actions.BarFile, m_actions.ItmExit, m_settingsFile);
    buildToolbars();
    buildStatusBar();
    buildChildWindows();
    m_results = new ResultWindowManager(*m_model, m_mdiArea, this);
    connectCommands();
    ConnectResultWindowCommands(m_actions, *m_results, *m_frmOVars);
    ConnectReportCommands(m_actions, *m_model, *m_results, this);
    connect(m_results, &ResultWindowManager::outputTableWanted, this,
            [this] { bringToFront(WinVarList); });
    restorePlacements();

    m_model->setObserver(this);
    setRunningState(false);
    // What the windows show at the start is the empty project, not a change of it.
    m_commands.markSaved();
    m_unsaved = new UnsavedChangesGuard(this, m_commands, [this] { return m_model->running(); });
}

TFrmMain::~TFrmMain() {
    stopRunAndWait();
    m_model->setObserver(nullptr);
    // The windows read the model until they are gone.
    delete m_mdiArea;
    m_mdiArea = nullptr;
    delete m_results;
    m_results = nullptr;
    delete m_frmDisInsp;
    m_frmDisInsp = nullptr;
}

void TFrmMain::setErrorPopup(EquErrPopup* popup) {
    m_prompter.setPopup(popup ? popup : m_frmEquErr);
}

void TFrmMain::buildToolbars() {
    const auto makeBar = [this](const char* name, const QString& caption) {
        auto* bar = new QToolBar(caption, this);
        bar->setObjectName(QLatin1String(name));
        addToolBar(Qt::TopToolBarArea, bar);
        return bar;
    };
    const auto nameButton = [](QToolBar* bar, QAction* action, const char* name) {
        if (QWidget* button = bar->widgetForAction(action))
            button->setObjectName(QLatin1String(name));
    };
    const MainActions& a = m_actions;

    m_tlbFile = makeBar("TlbFile", QStringLiteral("File operations"));
    a.ItmNew->setIcon(ToolbarIcon(ToolbarPicture::New));
    a.ItmOpen->setIcon(ToolbarIcon(ToolbarPicture::Open));
    a.ItmSave->setIcon(ToolbarIcon(ToolbarPicture::Save));
    a.ItmPrint->setIcon(ToolbarIcon(ToolbarPicture::Print));
    m_tlbFile->addAction(a.ItmNew);
    m_tlbFile->addAction(a.ItmOpen);
    m_tlbFile->addAction(a.ItmSave);
    m_tlbFile->addAction(a.ItmPrint);
    nameButton(m_tlbFile, a.ItmNew, "TlbButNew");
    nameButton(m_tlbFile, a.ItmOpen, "TlbButOpen");
    nameButton(m_tlbFile, a.ItmSave, "TlbButSave");
    nameButton(m_tlbFile, a.ItmPrint, "TlbButPrint");

    m_tlbEdit = makeBar("TlbEdit", QStringLiteral("Edit"));
    a.ItmCut->setIcon(ToolbarIcon(ToolbarPicture::Cut));
    a.ItmCopy->setIcon(ToolbarIcon(ToolbarPicture::Copy));
    a.ItmPaste->setIcon(ToolbarIcon(ToolbarPicture::Paste));
    a.ItmCut->setToolTip(QStringLiteral("Cut"));
    a.ItmCopy->setToolTip(QStringLiteral("Copy"));
    a.ItmPaste->setToolTip(QStringLiteral("Paste"));
    m_tlbEdit->addAction(a.ItmCut);
    m_tlbEdit->addAction(a.ItmCopy);
    m_tlbEdit->addAction(a.ItmPaste);
    nameButton(m_tlbEdit, a.ItmCut, "TlbButCut");
    nameButton(m_tlbEdit, a.ItmCopy, "TlbButCopy");
    nameButton(m_tlbEdit, a.ItmPaste, "TlbButPaste");

    m_tlbTransport = makeBar("TlbTransport", QStringLiteral("Transport"));
    m_tlbTransport->setAllowedAreas(Qt::TopToolBarArea | Qt::BottomToolBarArea);
    a.ItmRunStop->setIcon(RunPicture());
    a.ItmRunStop->setToolTip(QStringLiteral("Run"));
    a.ItmReset->setIcon(ToolbarIcon(ToolbarPicture::Reset));
    a.ItmReset->setToolTip(QStringLiteral("Reset"));
    m_tlbTransport->addAction(a.ItmRunStop);
    m_tlbTransport->addAction(a.ItmReset);
    nameButton(m_tlbTransport, a.ItmRunStop, "TlbButRun");
    nameButton(m_tlbTransport, a.ItmReset, "TlbButReset");
    const auto addLabel = [](QToolBar* bar, const QString& text, QWidget* buddy) {
        auto* label = new QLabel(text, bar);
        label->setBuddy(buddy);
        label->setContentsMargins(6, 0, 3, 0);
        bar->addWidget(label);
    };
    auto* stepPanel = new QFrame(m_tlbTransport);
    stepPanel->setObjectName(QStringLiteral("PnlCurrentStep"));
    stepPanel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_lblCurrentStep = new QLabel(QStringLiteral("0"), stepPanel);
    m_lblCurrentStep->setObjectName(QStringLiteral("lblCurrentStep"));
    m_lblCurrentStep->setToolTip(QStringLiteral("Finished steps"));
    m_lblCurrentStep->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_lblCurrentStep->setMinimumWidth(90);
    m_lblCurrentStep->setAutoFillBackground(true);
    QFont bold = m_lblCurrentStep->font();
    bold.setBold(true);
    m_lblCurrentStep->setFont(bold);
    auto* panelLayout = new QHBoxLayout(stepPanel);
    panelLayout->setContentsMargins(2, 2, 2, 2);
    panelLayout->addWidget(m_lblCurrentStep);
    addLabel(m_tlbTransport, QStringLiteral("Step:"), stepPanel);
    m_tlbTransport->addWidget(stepPanel);
    m_edtLastStep = new StepSpinBox(m_tlbTransport);
    addLabel(m_tlbTransport, QStringLiteral("of &steps:"), m_edtLastStep);
    m_edtLastStep->setObjectName(QStringLiteral("EdtLastStep"));
    m_edtLastStep->setToolTip(QStringLiteral("Steps"));
    m_edtLastStep->setMinimumWidth(110);
    m_tlbTransport->addWidget(m_edtLastStep);

    m_tlbIdent = makeBar("TlbIdent", QStringLiteral("Identification"));
    m_tlbIdent->setAllowedAreas(Qt::TopToolBarArea | Qt::BottomToolBarArea);
    m_edtId = new QLineEdit(m_tlbIdent);
    m_edtId->setObjectName(QStringLiteral("EdtId"));
    m_edtId->setToolTip(QStringLiteral("Enter identification here..."));
    m_edtId->setMinimumWidth(260);
    addLabel(m_tlbIdent, QStringLiteral("I&dentification:"), m_edtId);
    m_tlbIdent->addWidget(m_edtId);
}

void TFrmMain::buildStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("STBMain"));
    const int widths[] = {249, 200, 80, 50};
    for (std::size_t i = 0; i < m_panels.size(); ++i) {
        auto* panel = new QLabel(bar);
        panel->setObjectName(QStringLiteral("STBMainPanel%1").arg(i + 1));
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        // At least the classic widths; wider where a text needs it, so no text is cut.
        panel->setMinimumWidth(widths[i]);
        bar->addWidget(panel);
        m_panels[i] = panel;
    }
}

QMdiSubWindow* TFrmMain::addFixedWindow(QWidget* content, FixedWindow which) {
    QMdiSubWindow* sub = m_mdiArea->addSubWindow(content);
    // The model windows exist once for the whole program: closing only hides them.
    sub->setAttribute(Qt::WA_DeleteOnClose, false);
    sub->setObjectName(content->objectName() + QStringLiteral("Window"));
    sub->setGeometry(DefaultRects[which]);
    sub->installEventFilter(this);
    KeepContentWhole(sub);
    m_fixed[which] = sub;
    m_normalRects[which] = sub->geometry();
    return sub;
}

void TFrmMain::buildChildWindows() {
    m_frmEquErr = new TFrmEquErr(this);
    m_prompter.setPopup(m_frmEquErr);

    m_frmEquations = new TFrmEquations(*m_model, m_prompter);
    addFixedWindow(m_frmEquations, WinEquations);
    m_frmVars = new TFrmVars(*m_model);
    if (m_frmVars->objectName().isEmpty()) m_frmVars->setObjectName(QStringLiteral("FrmVars"));
    m_frmVars->setWindowTitle(QStringLiteral("Input variables"));
    addFixedWindow(m_frmVars, WinInputVars);
    m_frmOVars = new TFrmOVars(*m_model);
    if (m_frmOVars->objectName().isEmpty()) m_frmOVars->setObjectName(QStringLiteral("FrmOVars"));
    m_frmOVars->setWindowTitle(QStringLiteral("Evaluated variables"));
    addFixedWindow(m_frmOVars, WinVarList);
    m_frmAbout = new TFrmAbout(this);
    m_frmDisInsp = new TFrmDisInsp(*m_model, m_prompter, this);
    m_frmCorrelations = new TFrmCorrelations(*m_model, this);
    m_frmOutEquations = new TFrmOutEquations(*m_model, m_prompter);
    addFixedWindow(m_frmOutEquations, WinOutEquations);
    m_frmOptions = new TFrmOptions(m_settings, m_settingsFile, m_prompter, this);
    m_frmSaveRes = new TFrmSaveRes(*m_model, this);

    for (QMdiSubWindow* sub : m_fixed)
        sub->show();
}

void TFrmMain::connectCommands() {
    const MainActions& a = m_actions;
    connect(a.ItmNew, &QAction::triggered, this, &TFrmMain::ItmNewClick);
    connect(a.ItmOpen, &QAction::triggered, this, &TFrmMain::ItmOpenClick);
    connect(a.ItmMerge, &QAction::triggered, this, &TFrmMain::ItmMergeClick);
    connect(a.ItmSave, &QAction::triggered, this, &TFrmMain::ItmSaveClick);
    connect(a.ItmSaveAs, &QAction::triggered, this, &TFrmMain::ItmSaveAsClick);
    connect(a.ItmSaveRes, &QAction::triggered, this, &TFrmMain::ItmSaveResClick);
    connect(a.ItmExit, &QAction::triggered, this, &QWidget::close);

    connect(a.ItmCut, &QAction::triggered, this, [this] { editFocused(EditOperation::Cut); });
    connect(a.ItmCopy, &QAction::triggered, this, [this] { editFocused(EditOperation::Copy); });
    connect(a.ItmPaste, &QAction::triggered, this, [this] { editFocused(EditOperation::Paste); });
    connect(a.ItmSelectAll, &QAction::triggered, this,
            [this] { editFocused(EditOperation::SelectAll); });

    connect(a.ItmIn1D, &QAction::triggered, this, &TFrmMain::ItmIn1DClick);
    connect(a.ItmCorrelations, &QAction::triggered, m_frmCorrelations,
            &TFrmCorrelations::showCorrelations);
    connect(a.ItmOut2D, &QAction::triggered, this, [this] {
        // A new, empty 2D window with the default colouration and draw boxes.
        T2DWindowDesc window;
        window.colouration = m_settings.Graph2DColouration;
        window.drawLines = m_settings.Graph2DDrawLines;
        window.drawCircles = m_settings.Graph2DDrawCircles;
        window.drawDots = m_settings.Graph2DDrawDots;
        m_model->resultWindows.open(window);
    });
    m_actions.notYetAvailable.removeAll(a.ItmOut2D);
    a.ItmOut2D->setEnabled(true);
    const std::pair<QAction*, QToolBar*> toolbarItems[] = {{a.ItmTlbFile, m_tlbFile},
                                                           {a.ItmTlbEdit, m_tlbEdit},
                                                           {a.ItmTlbTransport, m_tlbTransport},
                                                           {a.ItmTlbIdent, m_tlbIdent}};
    for (const auto& [item, bar] : toolbarItems) {
        connect(item, &QAction::triggered, bar, &QToolBar::setVisible);
        connect(bar, &QToolBar::visibilityChanged, item, &QAction::setChecked);
    }

    connect(a.ItmCompile, &QAction::triggered, this, &TFrmMain::ItmCompileClick);
    connect(a.ItmRunStop, &QAction::triggered, this, &TFrmMain::ItmRunStopClick);
    connect(a.ItmReset, &QAction::triggered, this, &TFrmMain::ItmResetClick);
    connect(a.ItmEval, &QAction::triggered, this, &TFrmMain::ItmEvalClick);
    connect(a.ItmOptions, &QAction::triggered, this, &TFrmMain::ItmOptionsClick);
    connect(a.ItmSavePos, &QAction::triggered, this, &TFrmMain::ItmSavePosClick);

    connect(a.ItmEquations, &QAction::triggered, this, [this] { bringToFront(WinEquations); });
    connect(a.ItmOutEquations, &QAction::triggered, this,
            [this] { bringToFront(WinOutEquations); });
    connect(a.ItmVariables, &QAction::triggered, this, [this] { bringToFront(WinInputVars); });
    connect(a.ItmOutVars, &QAction::triggered, this, [this] { bringToFront(WinVarList); });
    connect(a.ItmCascade, &QAction::triggered, m_mdiArea, &QMdiArea::cascadeSubWindows);
    connect(a.ItmTile, &QAction::triggered, this, [this] { TileInside(m_mdiArea); });
    connect(a.ItmArrange, &QAction::triggered, this, &TFrmMain::ItmArrangeClick);
    connect(a.ItmHelp, &QAction::triggered, this, &TFrmMain::ItmHelpClick);
    connect(m_recent, &RecentFilesMenu::openRequested, this, &TFrmMain::openRecentProject);
    connect(m_recent, &RecentFilesMenu::openExampleRequested, this, &TFrmMain::openExample);
    connect(a.ItmAbout, &QAction::triggered, this, &TFrmMain::ItmAboutClick);

    connect(m_edtLastStep, &QSpinBox::valueChanged, this, [this](int steps) {
        if (!m_loading) m_model->setLastStep(steps);
    });
    connect(m_edtId, &QLineEdit::textEdited, this, [this](const QString& text) {
        m_model->identification = text.toLatin1().toStdString();
    });

    connect(m_frmVars, &TFrmVars::inspectRequested, m_frmDisInsp, &TFrmDisInsp::inspect);
    connect(m_frmVars, &TFrmVars::correlationsRequested, m_frmCorrelations,
            &TFrmCorrelations::showCorrelations);
    connect(m_frmOutEquations, &TFrmOutEquations::outputVariablesRequested, this,
            [this] { bringToFront(WinVarList); });
    connect(m_frmOptions, &TFrmOptions::autoSeedChanged, this, [this](bool autoSeed) {
        m_model->autoSeed = autoSeed;
        m_panels[2]->setText(TFrmOptions::seedPanelText(autoSeed));
    });
    connect(m_frmOptions, &TFrmOptions::pqLinesChanged, this,
            [this](int lines) { m_model->resultWindows.observer().pqLineCountChanged(lines); });
    connect(m_frmOptions, &TFrmOptions::settingsChanged, this, [this] {
        m_frmEquations->setCommentSeparator(m_settings.CommentSep);
        m_frmOutEquations->setCommentSeparator(m_settings.CommentSep);
        m_results->settingsChanged();
    });
}

template <class Command> void TFrmMain::guarded(Command&& command) {
    try {
        command();
    } catch (const ConversionError& error) {
        m_prompter.error(error.what());
    } catch (const std::exception& error) {
        m_prompter.error(error.what());
    }
}

void TFrmMain::editFocused(EditOperation operation) {
    QWidget* focus = QApplication::focusWidget();
    if (auto* line = qobject_cast<QLineEdit*>(focus)) {
        switch (operation) {
        case EditOperation::Cut:
            line->cut();
            break;
        case EditOperation::Copy:
            line->copy();
            break;
        case EditOperation::Paste:
            line->paste();
            break;
        case EditOperation::SelectAll:
            line->selectAll();
            break;
        }
        return;
    }
    auto* text = qobject_cast<QPlainTextEdit*>(focus);
    if (text == nullptr) text = m_frmEquations->editor();
    switch (operation) {
    case EditOperation::Cut:
        text->cut();
        break;
    case EditOperation::Copy:
        text->copy();
        break;
    case EditOperation::Paste:
        text->paste();
        break;
    case EditOperation::SelectAll:
        text->selectAll();
        break;
    }
}

void TFrmMain::bringToFront(FixedWindow which) {
    QMdiSubWindow* sub = m_fixed[which];
    if (sub->isMinimized()) sub->showNormal();
    sub->show();
    m_mdiArea->setActiveSubWindow(sub);
    sub->raise();
}

void TFrmMain::updateTitle() {
    m_unsaved->updateTitle();
}

void TFrmMain::projectNamed(bool success) {
    if (success && !m_commands.CurrentProjectFile().empty())
        m_recent->add(m_commands.CurrentProjectFile());
    updateTitle();
}

void TFrmMain::refreshWindowsFromModel() {
    m_loading = true;
    m_frmEquations->refreshFromModel();
    m_frmOutEquations->refreshFromModel();
    m_frmVars->refreshFromModel();
    m_frmOVars->refreshFromModel();
    m_edtLastStep->setValue(m_model->lastStep());
    m_edtId->setText(Latin1(m_model->identification));
    m_lblCurrentStep->setText(QString::number(m_model->stepCounter()));
    m_loading = false;
    updateResetEnabled();
}

void TFrmMain::ItmNewClick() {
    m_frmVars->commitPendingEdit();
    if (!m_unsaved->confirm()) return;
    guarded([this] { m_commands.New(); });
    refreshWindowsFromModel();
    updateTitle();
}

void TFrmMain::ItmOpenClick() {
    m_frmVars->commitPendingEdit();
    if (!m_unsaved->confirm()) return;
    bool opened = false;
    guarded([&] { opened = m_commands.Open(); });
    refreshWindowsFromModel();
    projectNamed(opened);
}

void TFrmMain::openRecentProject(const std::string& file) {
    m_frmVars->commitPendingEdit();
    if (!m_unsaved->confirm()) return;
    bool opened = false;
    guarded([&] { opened = m_commands.Open(file); });
    refreshWindowsFromModel();
    if (!opened && !QFileInfo::exists(QFile::decodeName(file.c_str()))) m_recent->remove(file);
    projectNamed(opened);
}

void TFrmMain::openExample() {
    const QString examples = FindExamplesFolder(QCoreApplication::applicationDirPath());
    if (examples.isEmpty()) {
        m_prompter.error("The examples folder was not found");
        return;
    }
    m_frmVars->commitPendingEdit();
    if (!m_unsaved->confirm()) return;
    bool opened = false;
    guarded([&] { opened = m_commands.OpenFrom(QFile::encodeName(examples).toStdString()); });
    refreshWindowsFromModel();
    projectNamed(opened);
}

void TFrmMain::ItmMergeClick() {
    guarded([this] { m_commands.Merge(); });
    refreshWindowsFromModel();
    updateTitle();
}

void TFrmMain::ItmSaveClick() {
    m_frmVars->commitPendingEdit();
    bool saved = false;
    guarded([&] { saved = m_commands.Save(); });
    projectNamed(saved);
}

void TFrmMain::ItmSaveAsClick() {
    m_frmVars->commitPendingEdit();
    bool saved = false;
    guarded([&] { saved = m_commands.SaveAs(); });
    projectNamed(saved);
}

void TFrmMain::openCommandLineProject() {
    const std::string argument = std::exchange(m_commandLineProject, {});
    if (argument.empty()) return;
    bool opened = false;
    guarded([&] {
        opened = m_commands.OpenCommandLineFile(
            argument, QFile::encodeName(QDir::currentPath()).toStdString());
    });
    refreshWindowsFromModel();
    projectNamed(opened);
}

void TFrmMain::ItmCompileClick() {
    guarded([this] { m_model->Compile(); });
    m_frmVars->refreshFromModel();
    m_frmOVars->refreshFromModel();
}

void TFrmMain::ItmRunStopClick() {
    if (!m_model->running() && m_mdiArea->activeSubWindow() == m_fixed[WinInputVars] &&
        !m_frmVars->commitPendingEdit())
        return;
    guarded([this] { m_model->RunStop(); });
    // A fresh run's compile may have added input rows and synchronised the outputs.
    m_frmVars->refreshFromModel();
    m_frmOVars->refreshFromModel();
}

void TFrmMain::ItmResetClick() {
    m_model->Reset();
    updateResetEnabled();
}

void TFrmMain::ItmEvalClick() {
    m_frmOutEquations->BtnStartClick();
}

void TFrmMain::ItmSaveResClick() {
    m_frmSaveRes->execute();
}

void TFrmMain::ItmOptionsClick() {
    m_frmOptions->exec();
}

void TFrmMain::ItmSavePosClick() {
    const std::string error = saveChildPlacements();
    if (error.empty())
        m_prompter.information("Windows position successfully saved.");
    else
        m_prompter.error(error);
}

void TFrmMain::ItmIn1DClick() {
    m_frmDisInsp->inspect(std::max(1, m_frmVars->currentRow()));
}

void TFrmMain::ItmHelpClick() {
    const QString help = FindHelpFile(QCoreApplication::applicationDirPath());
    if (help.isEmpty()) {
        m_prompter.error("Help file not found");
        return;
    }
    if (m_help == nullptr) m_help = new HelpWindow(this);
    if (!m_help->showManual(help)) {
        m_prompter.error("Help file " + QFile::encodeName(help).toStdString() + " cannot be read");
        return;
    }
    m_help->show();
    m_help->raise();
    m_help->activateWindow();
}

void TFrmMain::ItmAboutClick() {
    m_frmAbout->exec();
}

void TFrmMain::ItmArrangeClick() {
    // Minimised windows in a row along the bottom of the frame.
    int x = 0;
    const int bottom = m_mdiArea->viewport()->height();
    for (QMdiSubWindow* sub : m_mdiArea->subWindowList(QMdiArea::CreationOrder)) {
        if (!sub->isMinimized() || !sub->isVisible()) continue;
        sub->move(x, bottom - sub->height());
        x += sub->width();
    }
}

void TFrmMain::setRunningState(bool running) {
    const MainActions& a = m_actions;
    m_edtLastStep->setEnabled(!running);
    a.ItmRunStop->setIcon(running ? StopPicture() : RunPicture());
    a.ItmRunStop->setText(running ? QStringLiteral("&Stop") : QStringLiteral("&Run"));
    a.ItmRunStop->setToolTip(running ? QStringLiteral("Stop") : QStringLiteral("Run"));
    for (QMenu* menu : {a.BarFile, a.BarEdit, a.BarView, a.BarToolbars, a.BarTools}) {
        menu->menuAction()->setEnabled(!running);
        for (QAction* item : menu->actions())
            if (!item->isSeparator() && item->menu() == nullptr)
                item->setEnabled(!running && !a.notYetAvailable.contains(item));
    }
    a.ItmCompile->setEnabled(!running);
    a.ItmEval->setEnabled(!running);
    m_frmVars->setRunning(running);
    m_frmOVars->setRunning(running);
    // A style sheet, because styles paint labels in tool bars over their palette.
    m_lblCurrentStep->setStyleSheet(
        running ? QStringLiteral("QLabel { background: lime; }")
                : QStringLiteral("QLabel { background: palette(button); }"));
    m_frmOutEquations->setEvaluateEnabled(!running);
    updateResetEnabled();
}

void TFrmMain::updateResetEnabled() {
    m_actions.ItmReset->setEnabled(m_model->resultsExist() && !m_model->running());
}

void TFrmMain::stopRunAndWait() {
    if (m_model->running()) {
        m_model->requestStop();
        // The worker's last hand-overs need this thread: serve them while waiting.
        while (m_model->running()) {
            QEventLoop loop;
            m_runWait = &loop;
            loop.exec(QEventLoop::ExcludeUserInputEvents);
            m_runWait = nullptr;
        }
    }
    m_model->waitForRun();
}

void TFrmMain::closeEvent(QCloseEvent* event) {
    if (m_closing) {
        event->ignore();
        return;
    }
    m_frmVars->commitPendingEdit();
    if (!m_unsaved->confirm()) {
        event->ignore();
        return;
    }
    m_closing = true;
    stopRunAndWait();
    saveMainPlacement();
    m_closing = false;
    event->accept();
}

void TFrmMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (m_shown) return;
    m_shown = true;
    if (!m_commandLineProject.empty())
        QTimer::singleShot(0, this, &TFrmMain::openCommandLineProject);
}

bool TFrmMain::event(QEvent* event) {
    // Hints go to the first panel, so the panels themselves stay visible.
    if (event->type() == QEvent::StatusTip) {
        m_panels[0]->setText(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

bool TFrmMain::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Move || event->type() == QEvent::Resize) {
        for (std::size_t i = 0; i < m_fixed.size(); ++i) {
            QMdiSubWindow* sub = m_fixed[i];
            if (watched == sub &&
                !(sub->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized)))
                m_normalRects[i] = sub->geometry();
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TFrmMain::restorePlacements() {
    IniFile ini;
    ini.load(m_settingsFile);
    if (const auto placement = ReadPlacement(ini, MainSection))
        ApplyPlacement(this, *placement);
    else
        resize(1040, 880);
    const std::string toolbars = ini.readString(ToolbarSection, ToolbarKey, "");
    if (!toolbars.empty()) restoreState(QByteArray::fromHex(QByteArray::fromStdString(toolbars)));
    for (std::size_t i = 0; i < m_fixed.size(); ++i) {
        if (const auto placement = ReadPlacement(ini, FixedSections[i])) {
            ApplyPlacement(m_fixed[i], *placement);
            m_normalRects[i] = m_fixed[i]->geometry();
        }
    }
    const std::pair<QAction*, QToolBar*> items[] = {{m_actions.ItmTlbFile, m_tlbFile},
                                                    {m_actions.ItmTlbEdit, m_tlbEdit},
                                                    {m_actions.ItmTlbTransport, m_tlbTransport},
                                                    {m_actions.ItmTlbIdent, m_tlbIdent}};
    for (const auto& [item, bar] : items)
        item->setChecked(!bar->isHidden());
}

void TFrmMain::saveMainPlacement() {
    IniFile ini;
    ini.load(m_settingsFile);
    const QRect normal = normalGeometry().isValid() ? normalGeometry() : geometry();
    WritePlacement(ini, MainSection, PlacementOf(this, normal));
    ini.writeString(ToolbarSection, ToolbarKey, saveState().toHex().toStdString());
    // Nothing to tell at the end of the program when the file cannot be written.
    ini.save(m_settingsFile);
}

std::string TFrmMain::saveChildPlacements() {
    IniFile ini;
    ini.load(m_settingsFile);
    for (std::size_t i = 0; i < m_fixed.size(); ++i)
        WritePlacement(ini, FixedSections[i], PlacementOf(m_fixed[i], m_normalRects[i]));
    return ini.save(m_settingsFile);
}

TProjectLayout TFrmMain::collectLayout() {
    TProjectLayout layout;
    layout.equations = PlacementOf(m_fixed[WinEquations], m_normalRects[WinEquations]);
    layout.outEquations = PlacementOf(m_fixed[WinOutEquations], m_normalRects[WinOutEquations]);
    layout.inputVars = PlacementOf(m_fixed[WinInputVars], m_normalRects[WinInputVars]);
    layout.varList = PlacementOf(m_fixed[WinVarList], m_normalRects[WinVarList]);
    for (std::size_t k = 0; k < AllResultWindowKinds.size(); ++k)
        layout.results[k] = m_results->placements(AllResultWindowKinds[k]);
    layout.sensitivity = m_results->sensitivityPlacements();
    return layout;
}

void TFrmMain::applyLayout(const TProjectLayout& layout) {
    const std::pair<FixedWindow, const std::optional<TWindowPlacement>*> fixed[] = {
        {WinEquations, &layout.equations},
        {WinOutEquations, &layout.outEquations},
        {WinInputVars, &layout.inputVars},
        {WinVarList, &layout.varList}};
    for (const auto& [which, placement] : fixed) {
        if (!*placement) continue;
        ApplyPlacement(m_fixed[which], **placement);
        m_normalRects[which] = m_fixed[which]->geometry();
    }
    m_results->applyPlacements(layout);
}

void TFrmMain::showEquationError(const TEquError& error, bool outEquations) {
    if (outEquations)
        m_frmOutEquations->ShowOutEquationError(error);
    else
        m_frmEquations->ShowEquationError(error);
}

void TFrmMain::clearEquationStatus(bool outEquations) {
    if (outEquations)
        m_frmOutEquations->clearStatus();
    else
        m_frmEquations->clearStatus();
}

void TFrmMain::showInputRow(int row) {
    bringToFront(WinInputVars);
    QTableView* grid = m_frmVars->grid();
    if (grid != nullptr && grid->model() != nullptr && row >= 1)
        grid->setCurrentIndex(grid->model()->index(row - 1, 0));
}

void TFrmMain::runningChanged(bool running) {
    m_results->runningChanged(running);
    setRunningState(running);
    if (!running && m_runWait != nullptr) m_runWait->quit();
}

void TFrmMain::showStep(std::int32_t step) {
    m_stepGate.take();
    m_lblCurrentStep->setText(QString::number(step));
}

void TFrmMain::showStatus(const std::string& text) {
    m_panels[1]->setText(Latin1(text));
}

void TFrmMain::refillVariableBoxes(int mode) {
    m_results->refillVariableBoxes(mode);
}

void TFrmMain::refreshStatistics(std::int32_t step) {
    m_results->refreshStatistics(step);
}

void TFrmMain::refresh1D(std::int32_t step) {
    m_results->refresh1D(step);
}

void TFrmMain::refreshPQ(std::int32_t step) {
    m_results->refreshPQ(step);
}

bool TFrmMain::refreshWanted(RefreshKind kind) {
    switch (kind) {
    case RefreshKind::Step:
        return m_stepGate.open();
    case RefreshKind::Statistics:
        return m_results->refreshWanted(ResultWindowKind::Statistics);
    case RefreshKind::Probability:
        // The sensitivity windows refresh at most every second: a tenth of it is soon enough.
        return m_results->refreshWanted(ResultWindowKind::Probability);
    default:
        return m_results->refreshWanted(ResultWindowKind::OneD);
    }
}

void TFrmMain::outEquationsEvaluated() {
    m_results->outEquationsEvaluated();
}

void TFrmMain::finalRefresh() {
    m_results->finalRefresh();
}

void TFrmMain::resultsChanged(bool exist) {
    m_results->resultsChanged(exist);
    updateResetEnabled();
}

void TFrmMain::runEnded(RunOutcome /*outcome*/) {
    updateResetEnabled();
    if (m_runWait != nullptr) m_runWait->quit();
    emit runFinished();
}

} // namespace probex
