#include "gui/components/WholeText.h"

#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionFrame>

namespace probex {

namespace {

/// QLineEdit keeps this many pixels between its contents rectangle and the text on each side.
constexpr int LineEditSideMargin = 2;

} // namespace

int FieldWidthFor(const QLineEdit* field, const QString& text) {
    const QMargins textMargins = field->textMargins();
    const QMargins contents = field->contentsMargins();
    // One pixel more for the caret of a field that has the focus.
    const int inner = field->fontMetrics().horizontalAdvance(text) + 2 * LineEditSideMargin +
                      textMargins.left() + textMargins.right() + contents.left() +
                      contents.right() + 1;
    QStyleOptionFrame option;
    option.initFrom(field);
    option.rect = field->rect();
    option.lineWidth = field->hasFrame() ? field->style()->pixelMetric(QStyle::PM_DefaultFrameWidth,
                                                                       &option, field)
                                         : 0;
    option.midLineWidth = 0;
    option.state |= QStyle::State_Sunken;
    if (field->isReadOnly()) option.state |= QStyle::State_ReadOnly;
    option.features = QStyleOptionFrame::None;
    const QSize contentsSize(inner, field->fontMetrics().height());
    return field->style()
        ->sizeFromContents(QStyle::CT_LineEdit, &option, contentsSize, field)
        .width();
}

void ReserveFieldWidth(QLineEdit* field, const QString& sample) {
    const int width = FieldWidthFor(field, sample);
    if (width > field->minimumWidth()) field->setMinimumWidth(width);
}

void ShowWholeText(QLineEdit* field, const QString& text) {
    // The refreshes of a run mostly bring the same text again.
    if (field->text() == text && field->cursorPosition() == 0) return;
    field->setText(text);
    // setText leaves the caret, and so the view, at the end.
    field->setCursorPosition(0);
    ReserveFieldWidth(field, text);
}

} // namespace probex
