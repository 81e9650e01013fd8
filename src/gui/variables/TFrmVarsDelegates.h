#pragma once

#include <QStyledItemDelegate>

namespace probex {

/// Every editable cell of `GrdVars`: reports the keys typed into an editor, since typing
/// into any cell but a comment changes the model.
class KeyNoteDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;

signals:
    void keyTyped(int column);

protected:
    /// Marks an editor, or the part of it that takes the keys, with the cell's column.
    void watchKeys(QWidget* widget, int column, bool editor) const;
    bool eventFilter(QObject* watched, QEvent* event) override;
};

/// The "Type" cell: an editable drop-down of the seven type words. A word picked from the
/// open list commits at once, so "Saved Distribution" asks for its file straight away;
/// typed text commits on Enter or when the cell is left.
class TypeDelegate : public KeyNoteDelegate {
    Q_OBJECT

public:
    using KeyNoteDelegate::KeyNoteDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;
};

/// The read-only "Parameters" cell with its ellipsis button, which asks for the inspector.
class ParametersDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override;

    /// Where the button sits in a cell.
    static QRect buttonRect(const QRect& cell);

signals:
    void buttonClicked(int gridRow);
};

} // namespace probex
