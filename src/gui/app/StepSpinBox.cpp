#include "gui/app/StepSpinBox.h"

#include <algorithm>
#include <optional>

namespace probex {

namespace {

/// Digits only, at most 18 of them so the number fits; nullopt otherwise.
std::optional<qlonglong> Digits(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty() || trimmed.size() > 18) return std::nullopt;
    for (const QChar c : trimmed)
        if (!c.isDigit()) return std::nullopt;
    return trimmed.toLongLong();
}

} // namespace

StepSpinBox::StepSpinBox(QWidget* parent) : QSpinBox(parent) {
    setRange(0, Maximum);
    setValue(1000);
    setAccelerated(true);
    setKeyboardTracking(false);
}

QValidator::State StepSpinBox::validate(QString& input, int& /*pos*/) const {
    if (input.trimmed().isEmpty()) return QValidator::Intermediate;
    return Digits(input) ? QValidator::Acceptable : QValidator::Invalid;
}

int StepSpinBox::valueFromText(const QString& text) const {
    const std::optional<qlonglong> value = Digits(text);
    return value ? static_cast<int>(std::min<qlonglong>(*value, Maximum)) : minimum();
}

void StepSpinBox::fixup(QString& input) const {
    input = QString::number(valueFromText(input));
}

} // namespace probex
