#include "gui/simulation/OutputTableModel.h"

#include "simulation/OutputTable.h"

namespace probex {

OutputTableModel::OutputTableModel(TOutputTable& table, QObject* parent)
    : QAbstractTableModel(parent), m_table(table) {}

int OutputTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : OutputRows;
}

int OutputTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : OutputColumns;
}

QVariant OutputTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) return {};
    return QString::fromStdString(m_table.cell(index.row() + 1, index.column()));
}

bool OutputTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole) return false;
    const int row = index.row() + 1;
    std::string text = value.toString().toStdString();
    // An editor closed without a change is no edit and must not discard the results.
    if (text == m_table.cell(row, index.column())) return false;
    m_table.editCell(row, index.column(), std::move(text));
    // The edit rules may fill or reset the row's other cells.
    emit dataChanged(this->index(index.row(), 0), this->index(index.row(), OutputColumns - 1));
    return true;
}

QVariant OutputTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Vertical) return section + 1;
    if (section < 0 || section >= OutputColumns) return {};
    // Row 0 of the table holds the titles.
    return QString::fromStdString(m_table.cell(0, section));
}

Qt::ItemFlags OutputTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

void OutputTableModel::refresh() {
    emit dataChanged(index(0, 0), index(OutputRows - 1, OutputColumns - 1));
}

} // namespace probex
