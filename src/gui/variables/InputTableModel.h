#pragma once

#include <QAbstractTableModel>

namespace probex {

class TInputTable;

/// The input table as the grid sees it: 255 rows of four cells. The core table stays the
/// state; a person's edit goes through its commit rules, and readers of the table never see
/// a copy.
class InputTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    InputTableModel(TInputTable& table, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    /// Commits the text through TInputTable::commitCell, which shows any message.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    /// The table changed behind the grid's back (compilation, a project read, a command).
    void refresh();
    /// One grid row changed (a commit may rewrite every cell of its row).
    void refreshRow(int tableRow);

    TInputTable& table() { return m_table; }

private:
    TInputTable& m_table;
};

} // namespace probex
