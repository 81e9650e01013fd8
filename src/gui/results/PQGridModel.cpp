#include "gui/results/PQGridModel.h"

#include "gui/results/ResultFields.h"

#include <QBrush>

#include <utility>

namespace probex {

PQGridModel::PQGridModel(QString inputTitle, QString resultTitle, QObject* parent)
    : QAbstractTableModel(parent), m_inputTitle(std::move(inputTitle)),
      m_resultTitle(std::move(resultTitle)) {}

int PQGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : lineCount();
}

int PQGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 2;
}

QVariant PQGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const auto column = static_cast<Column>(index.column());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return cells(column).at(index.row());
    case Qt::BackgroundRole:
        // Results are read-only and shown on grey, as the fixed cells of a grid are.
        return column == ResultColumn ? QVariant(QBrush(BlankFieldColor)) : QVariant();
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    default:
        return {};
    }
}

bool PQGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole || index.column() != InputColumn) return false;
    const QString text = value.toString();
    m_inputs[index.row()] = text;
    emit dataChanged(index, index);
    emit inputEdited(index.row() + 1, text);
    return true;
}

QVariant PQGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Vertical) return section + 1;
    return section == InputColumn ? m_inputTitle : m_resultTitle;
}

Qt::ItemFlags PQGridModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    const Qt::ItemFlags shown = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    return index.column() == InputColumn ? shown | Qt::ItemIsEditable : shown;
}

void PQGridModel::setLineCount(int lines) {
    const int old = lineCount();
    if (lines > old) {
        beginInsertRows({}, old, lines - 1);
        for (int i = old; i < lines; ++i) {
            m_inputs.append(QString());
            m_results.append(QString());
        }
        endInsertRows();
    } else if (lines < old) {
        beginRemoveRows({}, lines, old - 1);
        m_inputs.resize(lines);
        m_results.resize(lines);
        endRemoveRows();
    }
}

QString PQGridModel::text(int line, Column column) const {
    return cells(column).value(line - 1);
}

void PQGridModel::setText(int line, Column column, const QString& text) {
    // A refresh during a run repaints only the lines whose text changed.
    if (line < 1 || line > lineCount() || cells(column)[line - 1] == text) return;
    cells(column)[line - 1] = text;
    const QModelIndex cell = index(line - 1, column);
    emit dataChanged(cell, cell);
}

void PQGridModel::clearColumn(Column column) {
    for (QString& cell : cells(column))
        cell.clear();
    if (lineCount() > 0) emit dataChanged(index(0, column), index(lineCount() - 1, column));
}

} // namespace probex
