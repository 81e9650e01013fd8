#pragma once

#include <QStringList>

class QCheckBox;
class QGroupBox;

namespace probex {

/// The graph nodes of a variable in the Save graphs and Print trees, in drawing order:
/// histogram, distribution function, quantile function.
const QStringList& GraphNodeCaptions();

/// A group of check boxes, one per caption, all ticked, as the two tree dialogs show them.
QGroupBox* CheckBoxGroup(const QString& title, const QStringList& captions);

/// The box of the group with that caption, or nullptr.
QCheckBox* CheckBoxIn(const QGroupBox* group, const QString& caption);

} // namespace probex
