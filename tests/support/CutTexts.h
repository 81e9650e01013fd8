#pragma once

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QStringList>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QToolButton>

namespace probex::test {

/// The texts of a window's visible labels, buttons and fields that do not show whole, each as
/// "name: text"; a read-only field must also show its text from the start.
inline QStringList CutTexts(const QWidget* window) {
    QStringList cut;
    const auto shown = [window](const QWidget* w) { return w->isVisibleTo(window); };
    const auto name = [](const QWidget* w, const QString& text) {
        return w->objectName() + QStringLiteral(": ") + text;
    };
    for (const QLabel* label : window->findChildren<QLabel*>())
        if (shown(label) && !label->text().isEmpty() && !label->wordWrap() &&
            label->sizePolicy().horizontalPolicy() != QSizePolicy::Ignored &&
            label->width() < label->minimumSizeHint().width())
            cut << name(label, label->text());
    for (const QAbstractButton* button : window->findChildren<QAbstractButton*>())
        if (shown(button) && !button->text().isEmpty() &&
            !qobject_cast<const QToolButton*>(button) &&
            button->width() < button->sizeHint().width())
            cut << name(button, button->text());
    for (const QLineEdit* field : window->findChildren<QLineEdit*>()) {
        if (!shown(field) || field->text().isEmpty()) continue;
        QStyleOptionFrame option;
        option.initFrom(field);
        option.rect = field->rect();
        option.lineWidth =
            field->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, field);
        option.state |= QStyle::State_Sunken;
        const QRect room =
            field->style()->subElementRect(QStyle::SE_LineEditContents, &option, field);
        // QLineEdit keeps two pixels free on either side of the text.
        if (room.width() - 4 < field->fontMetrics().horizontalAdvance(field->text()) ||
            (field->isReadOnly() && field->cursorPosition() != 0))
            cut << name(field, field->text());
    }
    return cut;
}

} // namespace probex::test
