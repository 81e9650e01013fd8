#pragma once

#include <QStringList>
#include <QStyledItemDelegate>

namespace probex {

/// A cell limited to a fixed list of words ("Inactive" .. "Log", "No"/"Yes"): a drop-down
/// that cannot be typed into. A word picked from it commits at once.
class PickListDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    PickListDelegate(QStringList items, QObject* parent = nullptr);

    const QStringList& items() const { return m_items; }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;

private:
    QStringList m_items;
};

} // namespace probex
