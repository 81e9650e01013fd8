#pragma once

#include "engine/Extended.h"

#include <QColor>
#include <QString>

#include <cstdint>
#include <string>

class QComboBox;
class QLineEdit;
class QWidget;

namespace probex {

class TOutputTable;
struct TSettings;

/// Empty or not-applicable value fields.
inline const QColor BlankFieldColor(0xC0, 0xC0, 0xC0);

/// A colour of the settings (0x00BBGGRR).
QColor SettingsColor(std::int32_t bgr);

/// A read-only field for one result value: its text can be selected and copied.
QLineEdit* MakeValueField(QWidget* parent, const char* name);

/// The value in the result number format on the settings' results colour.
void ShowValue(QLineEdit* field, Extended value, const TSettings& settings);
/// An empty field on silver.
void BlankValue(QLineEdit* field);
/// The field's background.
void SetFieldColor(QLineEdit* field, const QColor& color);

QString Latin1Text(const std::string& text);
std::string Latin1String(const QString& text);

// The variable chooser `BoxVariable` of a result window. None of these emits the box's
// change signals: the window decides what a choice made by the program shows.

/// The names of the output table's rows in row order: every named row, or with
/// `minimumLevel` >= 0 only those whose activity is at least that level; none chosen.
void FillVariableBox(QComboBox* box, const TOutputTable& outputs, int minimumLevel);
/// Fills the box anew keeping the chosen name; false when that name is no longer listed.
bool RefillVariableBox(QComboBox* box, const TOutputTable& outputs, int minimumLevel);
/// Chooses the name without the change signal; false when the box does not list it.
bool ChooseVariable(QComboBox* box, const QString& name, Qt::MatchFlags match = Qt::MatchExactly);
bool ChooseVariable(QComboBox* box, const std::string& name);

} // namespace probex
