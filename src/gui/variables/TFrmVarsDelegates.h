#pragma once

#include <QStyledItemDelegate>

class QLineEdit;

namespace probex {

/// Every editable cell of `GrdVars`: reports an editor whose text the person changed, since
/// that changes the model in any cell but a comment. Keys that change nothing (Escape, Enter,
/// the arrows) are no change.
class KeyNoteDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;

signals:
    void textEdited(int column);

protected:
    /// Reports the edits of the line edit that an editor types into.
    void watchEdits(QLineEdit* edit, int column) const;
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
