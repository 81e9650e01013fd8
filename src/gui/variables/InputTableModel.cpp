#include "gui/variables/InputTableModel.h"

#include "variables/InputTable.h"

namespace probex {

namespace {

const char* const ColumnTitles[TInputTable::ColumnCount] = {"Variable", "Type", "Parameters",
                                                            "Comment"};

InputColumn columnOf(const QModelIndex& index) {
    return static_cast<InputColumn>(index.column());
}

} // namespace

InputTableModel::InputTableModel(TInputTable& table, QObject* parent)
    : QAbstractTableModel(parent), m_table(table) {}

int InputTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : TInputTable::RowCount;
}

int InputTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : TInputTable::ColumnCount;
}

QVariant InputTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    // The Parameters cell is often wider than its column: its tooltip shows it whole.
    const bool tip = role == Qt::ToolTipRole && columnOf(index) == InputColumn::Parameters;
    if (role != Qt::DisplayRole && role != Qt::EditRole && !tip) return {};
    const std::string& text = m_table.cell(index.row() + 1, columnOf(index));
    if (tip && text.empty()) return {};
    return QString::fromStdString(text);
}

bool InputTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole) return false;
    const int row = index.row() + 1;
    const InputColumn column = columnOf(index);
    if (column == InputColumn::Parameters) return false;
    std::string text = value.toString().toStdString();
    // An editor closed without a change is no edit: committing it again would throw away a
    // loaded histogram or ask for a file once more. A type the record does not hold yet (a
    // cancelled file dialog) is the exception, so that it can be chosen again.
    const bool typeNotTaken =
        column == InputColumn::Type && !text.empty() && m_table.kind(row) == DistKind::dkUndefined;
    if (text == m_table.cell(row, column) && !typeNotTaken) return false;
    m_table.commitCell(row, column, std::move(text));
    refreshRow(row);
    return true;
}

QVariant InputTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Vertical) return section + 1;
    if (section < 0 || section >= TInputTable::ColumnCount) return {};
    return QString::fromLatin1(ColumnTitles[section]);
}

Qt::ItemFlags InputTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (columnOf(index) != InputColumn::Parameters) flags |= Qt::ItemIsEditable;
    return flags;
}

void InputTableModel::refresh() {
    emit dataChanged(index(0, 0), index(TInputTable::RowCount - 1, TInputTable::ColumnCount - 1));
}

void InputTableModel::refreshRow(int tableRow) {
    emit dataChanged(index(tableRow - 1, 0), index(tableRow - 1, TInputTable::ColumnCount - 1));
}

} // namespace probex
