#include "gui/simulation/PickListDelegate.h"

#include "gui/components/ColumnWidths.h"

#include <QComboBox>

#include <utility>

namespace probex {

PickListDelegate::PickListDelegate(QStringList items, QObject* parent)
    : QStyledItemDelegate(parent), m_items(std::move(items)) {}

QWidget* PickListDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& /*option*/,
                                        const QModelIndex& /*index*/) const {
    auto* combo = new QComboBox(parent);
    combo->addItems(m_items);
    FitDropDownToItems(combo);
    auto* self = const_cast<PickListDelegate*>(this);
    connect(combo, &QComboBox::activated, self, [self, combo](int) {
        emit self->commitData(combo);
        emit self->closeEditor(combo, QAbstractItemDelegate::NoHint);
    });
    return combo;
}

void PickListDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    // An empty cell (a variable the equations no longer define) selects no word.
    static_cast<QComboBox*>(editor)->setCurrentIndex(
        static_cast<int>(m_items.indexOf(index.data(Qt::EditRole).toString())));
}

void PickListDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                    const QModelIndex& index) const {
    auto* combo = static_cast<QComboBox*>(editor);
    if (combo->currentIndex() < 0) return;
    model->setData(index, combo->currentText(), Qt::EditRole);
}

} // namespace probex
