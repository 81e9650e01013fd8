#pragma once

#include <QAbstractTableModel>

namespace probex {

class TOutputTable;

/// The output table as the grid sees it: 255 rows of five cells over the core table, which
/// stays the state. A person's edit goes through TOutputTable::editCell.
class OutputTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    OutputTableModel(TOutputTable& table, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    /// The table changed behind the grid's back.
    void refresh();

    TOutputTable& table() { return m_table; }

private:
    TOutputTable& m_table;
};

} // namespace probex
