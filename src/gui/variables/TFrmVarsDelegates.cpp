#include "gui/variables/TFrmVarsDelegates.h"

#include "gui/components/ColumnWidths.h"
#include "variables/InputTable.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <utility>

namespace probex {

namespace {

/// Opens its list like any drop-down and remembers that it did, so that a word picked from
/// the list can be told from one reached with the arrow keys.
class TypeComboBox : public QComboBox {
public:
    using QComboBox::QComboBox;
    void showPopup() override {
        // Opening the list takes the focus from the typed text, whose editing then ends
        // and activates the item it matches: that is no pick.
        m_opening = true;
        QComboBox::showPopup();
        m_opening = false;
        m_listShown = true;
    }
    bool takeListShown() { return !m_opening && std::exchange(m_listShown, false); }

private:
    bool m_listShown = false;
    bool m_opening = false;
};

} // namespace

QWidget* KeyNoteDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                       const QModelIndex& index) const {
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (auto* edit = qobject_cast<QLineEdit*>(editor)) watchEdits(edit, index.column());
    return editor;
}

void KeyNoteDelegate::watchEdits(QLineEdit* edit, int column) const {
    // textEdited comes from the person only: filling the editor from the cell is no edit.
    auto* self = const_cast<KeyNoteDelegate*>(this);
    connect(edit, &QLineEdit::textEdited, self, [self, column] { emit self->textEdited(column); });
}

QWidget* TypeDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& /*option*/,
                                    const QModelIndex& index) const {
    auto* combo = new TypeComboBox(parent);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setMaxVisibleItems(10);
    for (const char* item : TInputTable::typeItems())
        combo->addItem(QString::fromLatin1(item));
    FitDropDownToItems(combo);
    // A picked word is what the person typed: no completion of the typed text to an item.
    combo->setCompleter(nullptr);
    watchEdits(combo->lineEdit(), index.column());
    auto* self = const_cast<TypeDelegate*>(this);
    connect(combo, &QComboBox::activated, self, [self, combo](int) {
        if (!combo->takeListShown()) return;
        emit self->commitData(combo);
        emit self->closeEditor(combo, QAbstractItemDelegate::NoHint);
    });
    return combo;
}

void TypeDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    auto* combo = static_cast<QComboBox*>(editor);
    combo->setCurrentIndex(-1);
    combo->setEditText(index.data(Qt::EditRole).toString());
}

void TypeDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                const QModelIndex& index) const {
    model->setData(index, static_cast<QComboBox*>(editor)->currentText(), Qt::EditRole);
}

QRect ParametersDelegate::buttonRect(const QRect& cell) {
    const int width = std::min(cell.height() + 2, cell.width());
    return {cell.right() - width + 1, cell.top(), width, cell.height()};
}

void ParametersDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
    QStyleOptionViewItem text = option;
    text.rect.setRight(buttonRect(option.rect).left() - 1);
    QStyledItemDelegate::paint(painter, text, index);

    QStyleOptionButton button;
    button.rect = buttonRect(option.rect);
    button.text = QStringLiteral("...");
    button.state = option.state & QStyle::State_Enabled;
    button.fontMetrics = option.fontMetrics;
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_PushButton, &button, painter, widget);
}

bool ParametersDelegate::editorEvent(QEvent* event, QAbstractItemModel* model,
                                     const QStyleOptionViewItem& option, const QModelIndex& index) {
    if (event->type() == QEvent::MouseButtonRelease) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton &&
            buttonRect(option.rect).contains(mouse->position().toPoint())) {
            emit buttonClicked(index.row());
            return true;
        }
    }
    return QStyledItemDelegate::editorEvent(event, model, option, index);
}

} // namespace probex
