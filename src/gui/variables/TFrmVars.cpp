#include "gui/variables/TFrmVars.h"

#include "gui/components/ColumnWidths.h"
#include "gui/components/GridCommands.h"
#include "gui/variables/InputTableModel.h"
#include "gui/variables/TFrmVarsDelegates.h"
#include "model/ProjectModel.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace probex {

TFrmVars::TFrmVars(ProjectModel& model, QWidget* parent)
    : QWidget(parent), m_model(model), m_tableModel(new InputTableModel(model.inputs(), this)),
      m_grid(new QTableView(this)), m_keyDelegate(new KeyNoteDelegate(this)),
      m_typeDelegate(new TypeDelegate(this)), m_parametersDelegate(new ParametersDelegate(this)) {
    setObjectName("TFrmVars");
    setWindowTitle("Input variables");

    m_grid->setObjectName("GrdVars");
    m_grid->setModel(m_tableModel);
    m_grid->setItemDelegate(m_keyDelegate);
    m_grid->setItemDelegateForColumn(static_cast<int>(InputColumn::Type), m_typeDelegate);
    m_grid->setItemDelegateForColumn(static_cast<int>(InputColumn::Parameters),
                                     m_parametersDelegate);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                            QAbstractItemView::AnyKeyPressed);
    const int widths[TInputTable::ColumnCount] = {114, 94, 146, 153};
    QStringList types;
    for (const char* type : TInputTable::typeItems())
        types << QString::fromLatin1(type);
    SetColumnWidths(m_grid, widths, {{}, types});
    // 16 pixels suit the small fonts of old desktops; larger fonts need their own height.
    m_grid->verticalHeader()->setDefaultSectionSize(
        std::max(16, m_grid->fontMetrics().height() + 4));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_grid);

    m_view = addMenuItem("ItmView", "View variable", {});
    m_correlations = addMenuItem("ItmCorrelations", "Correlations", {});
    m_sort = addMenuItem("ItmSort", "Sort variables", {});
    m_sort->setEnabled(false);
    m_compact = addMenuItem("ItmCompact", "Compact table", {});
    m_delVar = addMenuItem("ItmDelVar", "Delete variable", QKeySequence(Qt::Key_Delete));
    m_delVars =
        addMenuItem("ItmDelVars", "Delete all variables", QKeySequence(Qt::SHIFT | Qt::Key_Delete));
    m_grid->setContextMenuPolicy(Qt::ActionsContextMenu);

    connect(m_view, &QAction::triggered, this, &TFrmVars::ItmViewClick);
    connect(m_correlations, &QAction::triggered, this, &TFrmVars::correlationsRequested);
    connect(m_compact, &QAction::triggered, this, &TFrmVars::ItmCompactClick);
    connect(m_delVar, &QAction::triggered, this, &TFrmVars::ItmDelVarClick);
    connect(m_delVars, &QAction::triggered, this, &TFrmVars::ItmDelVarsClick);
    connect(m_parametersDelegate, &ParametersDelegate::buttonClicked, this,
            [this](int gridRow) { emit inspectRequested(gridRow + 1); });
    const auto noteEdit = [this](int column) {
        m_model.inputs().noteTextEdited(static_cast<InputColumn>(column));
    };
    connect(m_keyDelegate, &KeyNoteDelegate::textEdited, this, noteEdit);
    connect(m_typeDelegate, &KeyNoteDelegate::textEdited, this, noteEdit);
}

QAction* TFrmVars::addMenuItem(const QString& name, const QString& caption,
                               const QKeySequence& key) {
    return AddGridCommand(m_grid, this, name, caption, key);
}

int TFrmVars::currentRow() const {
    return CurrentTableRow(m_grid);
}

bool TFrmVars::commitPendingEdit() {
    const QModelIndex current = m_grid->currentIndex();
    if (current.isValid()) {
        // An open cell editor is the index widget of its cell.
        if (QWidget* editor = m_grid->indexWidget(current)) {
            QAbstractItemDelegate* delegate = m_grid->itemDelegateForIndex(current);
            emit delegate->commitData(editor);
            emit delegate->closeEditor(editor, QAbstractItemDelegate::NoHint);
        }
    }
    return m_model.inputs().EditAccepted();
}

void TFrmVars::refreshFromModel() {
    m_tableModel->refresh();
}

void TFrmVars::setRunning(bool running) {
    m_grid->setEnabled(!running);
    for (QAction* action : {m_view, m_correlations, m_compact, m_delVar, m_delVars})
        action->setEnabled(!running);
}

void TFrmVars::ItmViewClick() {
    if (const int row = currentRow()) emit inspectRequested(row);
}

void TFrmVars::ItmCompactClick() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_model.inputs().compact();
    QApplication::restoreOverrideCursor();
    m_tableModel->refresh();
}

void TFrmVars::ItmDelVarClick() {
    if (const int row = currentRow()) {
        m_model.inputs().ClearRow(row);
        m_tableModel->refreshRow(row);
    }
}

void TFrmVars::ItmDelVarsClick() {
    m_model.inputs().clearAllRows();
    m_tableModel->refresh();
}

} // namespace probex
