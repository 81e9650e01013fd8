#include "gui/results/TFrmOutPQ.h"

#include "components/Prompter.h"
#include "gui/components/GridCommands.h"
#include "gui/components/GridCopy.h"
#include "gui/results/PQGridModel.h"
#include "gui/results/ResultFields.h"
#include "model/ProjectModel.h"
#include "settings/NumberText.h"
#include "settings/Settings.h"
#include "simulation/HisCompute.h"
#include "simulation/OutHis.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace probex {

namespace {

constexpr int MaxClientHeight = 500;
/// Around the text of a grid cell.
constexpr int CellPadding = 12;

int ClampLines(std::int32_t lines) {
    return std::clamp<int>(lines, 1, PQLineSlots);
}

const char* YesNo(bool flag) {
    return flag ? "Yes" : "No";
}

} // namespace

TFrmOutPQ::TFrmOutPQ(const PQWindowTraits& traits, ProjectModel& model, std::size_t index,
                     QWidget* parent)
    : TFrmResult(model, traits.kind, index, parent), m_traits(traits) {
    buildWindow();
    LineCountSet(m_model.settings().PQLines);
    loadDescription();
    resize(sizeHint());
}

void TFrmOutPQ::buildWindow() {
    setWindowTitle(QString::fromLatin1(m_traits.caption));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(3, 3, 3, 3);
    layout->setSpacing(3);

    auto* top = new QHBoxLayout;
    m_boxVariable = new QComboBox(this);
    m_boxVariable->setObjectName(QStringLiteral("BoxVariable"));
    m_boxVariable->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    m_boxVariable->setMinimumContentsLength(8);
    top->addWidget(m_boxVariable, 1);
    m_chBDisc = new QCheckBox(QStringLiteral("Discrete"), this);
    m_chBDisc->setObjectName(QStringLiteral("ChBDisc"));
    top->addWidget(m_chBDisc);
    layout->addLayout(top);

    m_edtCom = new QLineEdit(this);
    m_edtCom->setObjectName(QStringLiteral("EdtCom"));
    layout->addWidget(m_edtCom);

    m_gridModel = new PQGridModel(QString::fromLatin1(m_traits.inputTitle),
                                  QString::fromLatin1(m_traits.resultTitle), this);
    m_grid = new QTableView(this);
    m_grid->setObjectName(QLatin1String(m_traits.gridName));
    m_grid->setModel(m_gridModel);
    m_grid->verticalHeader()->hide();
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 4);
    m_grid->setSelectionMode(QAbstractItemView::ContiguousSelection);
    m_grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                            QAbstractItemView::AnyKeyPressed);
    // Wide enough for a value of the result format ("-12345.12345678").
    m_columnWidth =
        m_grid->fontMetrics().horizontalAdvance(QStringLiteral("-000000.00000000")) + CellPadding;
    m_grid->horizontalHeader()->setDefaultSectionSize(m_columnWidth);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(m_grid, 1);

    QAction* copy = AddGridCommand(m_grid, this, QStringLiteral("ItmCopy"), QStringLiteral("&Copy"),
                                   QKeySequence::Copy);
    connect(copy, &QAction::triggered, this, [this] { CopySelectionAsTabSeparated(*m_grid); });
    QAction* selectAll = AddGridCommand(m_grid, this, QStringLiteral("ItmSelectAll"),
                                        QStringLiteral("Select &all"), QKeySequence::SelectAll);
    connect(selectAll, &QAction::triggered, m_grid, &QTableView::selectAll);
    m_grid->setContextMenuPolicy(Qt::ActionsContextMenu);

    connect(m_boxVariable, &QComboBox::activated, this, [this] { BoxVariableChange(); });
    connect(m_chBDisc, &QCheckBox::clicked, this, &TFrmOutPQ::ChBDiscClick);
    connect(m_edtCom, &QLineEdit::textEdited, this, &TFrmOutPQ::EdtComChange);
    connect(m_gridModel, &PQGridModel::inputEdited, this, &TFrmOutPQ::GridUserChanged);
}

QSize TFrmOutPQ::sizeHint() const {
    const int columns = m_grid->columnWidth(0) + m_grid->columnWidth(1);
    const int gridRows = m_gridModel->lineCount() + 1; // with the title row
    const int height = (m_grid->verticalHeader()->defaultSectionSize() + 2) * gridRows + 57;
    // A grid cut off by the height limit needs room for its scroll bar.
    const int scrollBar =
        height > MaxClientHeight ? m_grid->verticalScrollBar()->sizeHint().width() : 0;
    return {columns + 6 + 2 * m_grid->frameWidth() + scrollBar, std::min(height, MaxClientHeight)};
}

TPQWindowDesc* TFrmOutPQ::description() {
    auto& list = m_model.resultWindows.*m_traits.list;
    return index() < list.size() ? &list[index()] : nullptr;
}

int TFrmOutPQ::shownRow() const {
    return m_shown.empty() ? 0 : m_model.outputs().FindOutputRow(m_shown);
}

TOutHis* TFrmOutPQ::histogramOf(int row) const {
    if (row == 0) return nullptr;
    TOutputTable& outputs = m_model.outputs();
    const std::int32_t i = outputs.FindActiveIndex(row);
    if (i == 0) return nullptr;
    TOutHis* his = outputs.runTable().item(i).His.get();
    return his != nullptr && !his->counts.empty() ? his : nullptr;
}

bool TFrmOutPQ::runTableExists() const {
    return m_model.outputs().runTable().count() > 0;
}

QString TFrmOutPQ::formatted(Extended value) const {
    return QString::fromStdString(FormatResultValue(value, m_model.settings().DecimalSep));
}

QString TFrmOutPQ::variableName() const {
    return Latin1Text(m_shown);
}

void TFrmOutPQ::BoxVariableFill(int mode) {
    FillVariableBox(m_boxVariable, m_model.outputs(),
                    mode == 1 ? static_cast<int>(Activity::Histogram) : -1);
    const QSignalBlocker quiet(m_boxVariable);
    m_boxVariable->setCurrentIndex(m_boxVariable->findText(variableName()));
}

bool TFrmOutPQ::BoxVariableRefill(int mode) {
    BoxVariableFill(mode);
    if (m_shown.empty() || m_boxVariable->currentIndex() >= 0) return true;
    emit closeRequested();
    return false;
}

void TFrmOutPQ::BoxVariableSet(const QString& name) {
    // Variable names ignore case, as everywhere in the model.
    if (ChooseVariable(m_boxVariable, name, Qt::MatchFixedString)) BoxVariableChange();
}

void TFrmOutPQ::BoxVariableChange() {
    const std::string name = Latin1String(m_boxVariable->currentText());
    TOutputTable& outputs = m_model.outputs();
    const int row = name.empty() ? 0 : outputs.FindOutputRow(name);
    if (row == 0) return;
    m_shown = outputs.cell(row, colVariable);
    if (TPQWindowDesc* desc = description()) desc->variable = m_shown;
    // Never two windows of a kind for one variable: the one chosen here takes it over. The
    // other's description leaves the list, which may move this one.
    emit variableChosen();

    if (!runTableExists() &&
        ActivityLevel(outputs.cell(row, colActivity)) < static_cast<int>(Activity::Histogram)) {
        outputs.setCell(row, colActivity, ActivityWord(Activity::Histogram));
        emit outputTableChanged();
    }
    showVariable(row);
    if (TOutHis* his = histogramOf(row)) {
        if (his->rangeSet && his->level != 3) HisCompute(*his, 3, true);
        // Results that match the histogram now, not those of an earlier computation.
        CalculateResults(row);
        RFill(row);
    }
    if (TPQWindowDesc* desc = description()) {
        desc->discrete = m_chBDisc->isChecked();
        desc->identification = Latin1String(m_edtCom->text());
        const auto& inputs = outputs.record(row).*m_traits.inputs;
        desc->inputs.assign(inputs.begin(), inputs.end());
    }
}

/// Caption, switch, comment and inputs of a chosen row.
void TFrmOutPQ::showVariable(int row) {
    const TOutputTable& outputs = m_model.outputs();
    setWindowTitle(QString::fromLatin1(m_traits.caption) + QLatin1Char(' ') + variableName());
    m_chBDisc->setChecked(outputs.cell(row, colDiscrete) == "Yes");
    m_edtCom->setText(
        Latin1Text(outputs.record(row).windowIds[static_cast<std::size_t>(m_traits.commentSlot)]));
    VFill(row);
    m_gridModel->clearColumn(PQGridModel::ResultColumn);
}

void TFrmOutPQ::VFill(int row) {
    const auto& inputs = m_model.outputs().record(row).*m_traits.inputs;
    for (int line = 1; line <= m_gridModel->lineCount(); ++line)
        m_gridModel->setText(line, PQGridModel::InputColumn,
                             formatted(inputs[static_cast<std::size_t>(line - 1)]));
    fitColumns();
}

void TFrmOutPQ::RFill(int row) {
    const auto& results = m_model.outputs().record(row).*m_traits.results;
    for (int line = 1; line <= m_gridModel->lineCount(); ++line)
        m_gridModel->setText(line, PQGridModel::ResultColumn,
                             formatted(results[static_cast<std::size_t>(line - 1)]));
    fitColumns();
}

void TFrmOutPQ::fitColumns() {
    // An elided number reads as another number.
    const QFontMetrics metrics = m_grid->fontMetrics();
    int total = 0;
    for (const PQGridModel::Column column : {PQGridModel::InputColumn, PQGridModel::ResultColumn}) {
        int needed = m_columnWidth;
        for (int line = 1; line <= m_gridModel->lineCount(); ++line)
            needed = std::max(needed, metrics.horizontalAdvance(m_gridModel->text(line, column)) +
                                          CellPadding);
        // The result column stretches to the grid's width.
        if (column == PQGridModel::InputColumn && needed > m_grid->columnWidth(column))
            m_grid->setColumnWidth(column, needed);
        total += needed;
    }
    if (total <= 2 * m_columnWidth) return;
    const int width =
        total + 2 * m_grid->frameWidth() + m_grid->verticalScrollBar()->sizeHint().width();
    if (width > m_grid->minimumWidth()) m_grid->setMinimumWidth(width);
}

void TFrmOutPQ::CalculateResults(int row) {
    TOutHis* his = histogramOf(row);
    if (his == nullptr) return;
    TGrdOVarSup& record = m_model.outputs().record(row);
    auto& results = record.*m_traits.results;
    const auto& inputs = record.*m_traits.inputs;
    const auto lines = static_cast<std::size_t>(ClampLines(m_model.settings().PQLines));
    // A histogram without a range (a constant) answers too, as the result files do: its
    // value as every quantile, 0 or 1 as a probability.
    if (his->level == 0) HisCompute(*his, 1, true);
    for (std::size_t i = 0; i < lines; ++i)
        results[i] = m_traits.compute(*his, inputs[i]);
}

void TFrmOutPQ::LineCountSet(int lines) {
    lines = ClampLines(lines);
    const int old = m_gridModel->lineCount();
    m_gridModel->setLineCount(lines);
    const int row = shownRow();
    for (int line = old + 1; line <= lines; ++line) {
        const auto slot = static_cast<std::size_t>(line - 1);
        if (row == 0) {
            m_gridModel->setText(line, PQGridModel::InputColumn, QStringLiteral("0.0"));
            continue;
        }
        TGrdOVarSup& record = m_model.outputs().record(row);
        m_gridModel->setText(line, PQGridModel::InputColumn,
                             formatted((record.*m_traits.inputs)[slot]));
        TOutHis* his = histogramOf(row);
        if (his == nullptr) continue;
        if (his->level == 0) HisCompute(*his, 1, true);
        const Extended result = m_traits.compute(*his, (record.*m_traits.inputs)[slot]);
        (record.*m_traits.results)[slot] = result;
        m_gridModel->setText(line, PQGridModel::ResultColumn, formatted(result));
    }
    fitColumns();
    updateGeometry();
}

void TFrmOutPQ::FormClear() {
    m_gridModel->clearColumn(PQGridModel::ResultColumn);
}

void TFrmOutPQ::GridUserChanged(int line, const QString& text) {
    const auto slot = static_cast<std::size_t>(line - 1);
    Extended value = 0;
    if (!TryStrToExtended(Latin1String(text), m_model.settings().DecimalSep, value)) {
        value = 0;
        m_model.prompter().error(Latin1String(text) + " is not a valid number!");
        m_gridModel->setText(line, PQGridModel::InputColumn, QStringLiteral("0.0"));
    }
    if (TPQWindowDesc* desc = description(); desc != nullptr && slot < desc->inputs.size())
        desc->inputs[slot] = value;
    const int row = shownRow();
    if (row == 0) return;
    TGrdOVarSup& record = m_model.outputs().record(row);
    (record.*m_traits.inputs)[slot] = value;
    if (TOutHis* his = histogramOf(row)) {
        const Extended result = m_traits.compute(*his, value);
        (record.*m_traits.results)[slot] = result;
        m_gridModel->setText(line, PQGridModel::ResultColumn, formatted(result));
    }
    fitColumns();
}

void TFrmOutPQ::ChBDiscClick(bool checked) {
    if (TPQWindowDesc* desc = description()) desc->discrete = checked;
    const int row = shownRow();
    if (row == 0) return;
    followDiscrete(checked);
    // The edit rules set the histogram's flag and tell the other windows of the variable.
    m_model.outputs().editCell(row, colDiscrete, YesNo(checked));
}

void TFrmOutPQ::outputRowChanged(int row) {
    if (row == 0 || row != shownRow()) return;
    const bool discrete = m_model.outputs().cell(row, colDiscrete) == "Yes";
    if (discrete != m_chBDisc->isChecked()) followDiscrete(discrete);
}

void TFrmOutPQ::followDiscrete(bool discrete) {
    m_chBDisc->setChecked(discrete);
    if (TPQWindowDesc* desc = description()) desc->discrete = discrete;
    const int row = shownRow();
    TOutHis* his = histogramOf(row);
    if (his == nullptr) return;
    his->discrete = discrete;
    CalculateResults(row);
    RFill(row);
}

void TFrmOutPQ::EdtComChange(const QString& text) {
    const std::string comment = Latin1String(text);
    if (TPQWindowDesc* desc = description()) desc->identification = comment;
    if (const int row = shownRow(); row != 0)
        m_model.outputs().record(row).windowIds[static_cast<std::size_t>(m_traits.commentSlot)] =
            comment;
}

void TFrmOutPQ::loadDescription() {
    TPQWindowDesc* desc = description();
    if (desc == nullptr) return;
    const TOutputTable& outputs = m_model.outputs();
    BoxVariableFill(runTableExists() ? 1 : 0);
    const int row = desc->variable.empty() ? 0 : outputs.FindOutputRow(desc->variable);
    if (row == 0) {
        m_chBDisc->setChecked(desc->discrete);
        m_edtCom->setText(Latin1Text(desc->identification));
        return;
    }
    // The inputs, comment and switch belong to the variable: a project file's reader has put
    // them into its row, and a window opened again for it must not wipe them.
    const QString name = Latin1Text(outputs.cell(row, colVariable));
    // Not listed under the present results: shown all the same until the next refill.
    if (m_boxVariable->findText(name) < 0) m_boxVariable->addItem(name);
    BoxVariableSet(name);
}

void TFrmOutPQ::refillVariableBoxes(int mode) {
    BoxVariableRefill(mode);
}

void TFrmOutPQ::refreshDuringRun(std::int32_t) {
    const int row = shownRow();
    if (histogramOf(row) == nullptr) return;
    CalculateResults(row);
    RFill(row);
}

void TFrmOutPQ::finalRefresh() {
    refreshDuringRun(0);
}

void TFrmOutPQ::clearResults() {
    FormClear();
}

void TFrmOutPQ::setRunning(bool running) {
    for (QWidget* input : {static_cast<QWidget*>(m_boxVariable), static_cast<QWidget*>(m_chBDisc),
                           static_cast<QWidget*>(m_grid)})
        input->setEnabled(!running);
}

void TFrmOutPQ::settingsChanged() {
    LineCountSet(m_model.settings().PQLines);
    // The decimal separator may have changed.
    const int row = shownRow();
    if (row == 0) return;
    VFill(row);
    if (histogramOf(row) != nullptr) RFill(row);
}

} // namespace probex
