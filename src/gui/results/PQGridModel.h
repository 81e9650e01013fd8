#pragma once

#include <QAbstractTableModel>
#include <QStringList>

namespace probex {

/// The two-column grid of a probability or quantile window: an input column a person edits
/// and a read-only result column, one line per slot shown. The cells hold the texts shown;
/// the window converts them and keeps the numbers in the variable's record.
class PQGridModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { InputColumn = 0, ResultColumn = 1 };

    PQGridModel(QString inputTitle, QString resultTitle, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    /// Gives the grid `lines` lines; new lines start blank, removed lines are forgotten.
    void setLineCount(int lines);
    int lineCount() const { return static_cast<int>(m_inputs.size()); }

    /// The text of line `line` (from 1) of a column, set without the edit signal.
    QString text(int line, Column column) const;
    void setText(int line, Column column, const QString& text);
    /// Blanks every cell of a column.
    void clearColumn(Column column);

signals:
    /// A person typed `text` into the input cell of `line` (from 1).
    void inputEdited(int line, const QString& text);

private:
    QStringList& cells(Column column) { return column == InputColumn ? m_inputs : m_results; }
    const QStringList& cells(Column column) const {
        return column == InputColumn ? m_inputs : m_results;
    }

    QString m_inputTitle;
    QString m_resultTitle;
    QStringList m_inputs;
    QStringList m_results;
};

} // namespace probex
