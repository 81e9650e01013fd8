#include "gui/simulation/TFrmOVars.h"

#include "gui/components/ColumnWidths.h"
#include "gui/components/GridCommands.h"
#include "gui/simulation/OutputTableModel.h"
#include "gui/simulation/PickListDelegate.h"
#include "model/ProjectModel.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace probex {

namespace {

QStringList activityWords() {
    QStringList words;
    for (Activity a :
         {Activity::Inactive, Activity::Statistics, Activity::Histogram, Activity::Log})
        words << QString::fromLatin1(ActivityWord(a));
    return words;
}

QAction* separator(QObject* parent) {
    auto* action = new QAction(parent);
    action->setSeparator(true);
    return action;
}

} // namespace

TFrmOVars::TFrmOVars(ProjectModel& model, QWidget* parent)
    : QWidget(parent), m_model(model), m_tableModel(new OutputTableModel(model.outputs(), this)),
      m_grid(new QTableView(this)), m_activityDelegate(new PickListDelegate(activityWords(), this)),
      m_yesNoDelegate(new PickListDelegate({"No", "Yes"}, this)) {
    setObjectName("TFrmOVars");
    setWindowTitle("Evaluated variables");

    m_grid->setObjectName("GrdOVars");
    m_grid->setModel(m_tableModel);
    m_grid->setItemDelegateForColumn(colActivity, m_activityDelegate);
    m_grid->setItemDelegateForColumn(colDiscrete, m_yesNoDelegate);
    m_grid->setItemDelegateForColumn(colRecalculate, m_yesNoDelegate);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                            QAbstractItemView::AnyKeyPressed);
    const int widths[OutputColumns] = {114, 80, 64, 80, 153};
    SetColumnWidths(m_grid, widths, {{}, activityWords(), {"No", "Yes"}, {"No", "Yes"}});
    m_grid->verticalHeader()->setDefaultSectionSize(
        std::max(16, m_grid->fontMetrics().height() + 4));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_grid);

    m_view = addMenuItem("ItmView", "&View variable", {});
    m_view->setEnabled(false);
    m_delVar = addMenuItem("ItmDelVar", "&Delete variable", QKeySequence(Qt::Key_Delete));
    m_delVars = addMenuItem("ItmDelVars", "Delete &all variables",
                            QKeySequence(Qt::SHIFT | Qt::Key_Delete));
    m_compact = addMenuItem("ItmCompact", "&Compact table", {});
    m_sort = addMenuItem("ItmSort", "&Sort variables", {});
    m_sort->setEnabled(false);
    m_grid->addAction(separator(this));
    m_allStatistics =
        addMenuItem("ItmAllStatistics", "All &statistics", QKeySequence(Qt::CTRL | Qt::Key_S));
    m_allHis = addMenuItem("ItmAllHis", "All &histograms", QKeySequence(Qt::CTRL | Qt::Key_H));
    m_allLogs = addMenuItem("ItmAllLogs", "All &logs", QKeySequence(Qt::CTRL | Qt::Key_L));
    m_allInactive =
        addMenuItem("ItmAllInactive", "All &inactive", QKeySequence(Qt::CTRL | Qt::Key_I));
    m_grid->addAction(separator(this));
    // The inputs' values per step, for an analysis after the run, even without a window
    // that asks for them; from the next fresh run on.
    QAction* keepInputs = addMenuItem("ItmKeepInputs", "Keep &input values", {});
    keepInputs->setCheckable(true);
    connect(keepInputs, &QAction::toggled, this,
            [this](bool on) { m_model.outputs().keepInputValues = on; });
    m_grid->setContextMenuPolicy(Qt::ActionsContextMenu);

    connect(m_view, &QAction::triggered, this, &TFrmOVars::ItmViewClick);
    connect(m_delVar, &QAction::triggered, this, &TFrmOVars::ItmDelVarClick);
    connect(m_delVars, &QAction::triggered, this, &TFrmOVars::ItmDelVarsClick);
    connect(m_compact, &QAction::triggered, this, &TFrmOVars::ItmCompactClick);
    connect(m_allStatistics, &QAction::triggered, this, &TFrmOVars::ItmAllStatisticsClick);
    connect(m_allHis, &QAction::triggered, this, &TFrmOVars::ItmAllHisClick);
    connect(m_allLogs, &QAction::triggered, this, &TFrmOVars::ItmAllLogsClick);
    connect(m_allInactive, &QAction::triggered, this, &TFrmOVars::ItmAllInactiveClick);
}

QAction* TFrmOVars::addMenuItem(const QString& name, const QString& caption,
                                const QKeySequence& key) {
    return AddGridCommand(m_grid, this, name, caption, key);
}

int TFrmOVars::currentRow() const {
    return CurrentTableRow(m_grid);
}

void TFrmOVars::refreshFromModel() {
    m_tableModel->refresh();
}

void TFrmOVars::setRunning(bool running) {
    m_grid->setEnabled(!running);
    for (QAction* action :
         {m_delVar, m_delVars, m_compact, m_allStatistics, m_allHis, m_allLogs, m_allInactive})
        action->setEnabled(!running);
}

void TFrmOVars::ItmViewClick() {
    if (const int row = currentRow(); row != 0 && !m_model.outputs().cell(row, colVariable).empty())
        emit viewRequested(row);
}

void TFrmOVars::ItmDelVarClick() {
    if (const int row = currentRow()) {
        m_model.outputs().DelVar(row);
        m_tableModel->refresh();
    }
}

void TFrmOVars::ItmDelVarsClick() {
    m_model.outputs().DelVars();
    m_tableModel->refresh();
}

void TFrmOVars::ItmCompactClick() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_model.outputs().Compact();
    QApplication::restoreOverrideCursor();
    m_tableModel->refresh();
}

void TFrmOVars::ItmAllStatisticsClick() {
    m_model.outputs().AllStatistics();
    m_tableModel->refresh();
}

void TFrmOVars::ItmAllHisClick() {
    m_model.outputs().AllHis();
    m_tableModel->refresh();
}

void TFrmOVars::ItmAllLogsClick() {
    m_model.outputs().AllLogs();
    m_tableModel->refresh();
}

void TFrmOVars::ItmAllInactiveClick() {
    m_model.outputs().AllInactive();
    m_tableModel->refresh();
}

} // namespace probex
