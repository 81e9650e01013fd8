#pragma once

#include <QString>

class QLineEdit;

namespace probex {

/// Shows `text` from its first character, and widens the field's minimum so that all of it
/// shows: a number cut at its front reads as another number. The minimum never shrinks, so a
/// field refreshed during a run does not make its window jump.
void ShowWholeText(QLineEdit* field, const QString& text);

/// Widens the field's minimum to hold `sample`, so the window opens large enough for it.
void ReserveFieldWidth(QLineEdit* field, const QString& sample);

/// The width the field needs to show `text` whole, frame and margins included.
int FieldWidthFor(const QLineEdit* field, const QString& text);

} // namespace probex
