#pragma once

#include "results/ObjectRows.h"

#include <QDialog>

#include <array>
#include <cstdint>

class QComboBox;
class QLabel;
class QLineEdit;

namespace probex {

class Prompter;

/// The dialog that adds one line, circle or dot: its numbers in the variables' units (R of a
/// dot in pixels) and its colour.
class TFrm2DObjects : public QDialog {
    Q_OBJECT

public:
    TFrm2DObjects(Prompter& prompter, char decimalSep, QWidget* parent = nullptr);

    /// Sets the caption ("Line 3", "Circle3", "Dot3"), the fields of the kind, empty, and
    /// the colour box to `color`.
    void prepare(ObjectKind kind, int number, std::int32_t color);
    /// The entered numbers (X1, Y1, X2, Y2 or X, Y, R), valid after acceptance.
    const std::array<double, 4>& values() const { return m_values; }
    std::int32_t color() const;

    QLineEdit* field(int k) const { return m_edits[static_cast<std::size_t>(k)]; }
    QComboBox* colorBox() const { return m_colorBox; }

public slots:
    /// OK: every field must hold a number (an empty one reads as 0).
    void accept() override;

private:
    Prompter& m_prompter;
    char m_decimalSep;
    ObjectKind m_kind = ObjectKind::Line;
    std::array<QLabel*, 4> m_labels{};
    std::array<QLineEdit*, 4> m_edits{};
    QComboBox* m_colorBox;
    std::array<double, 4> m_values{};
};

/// The 16 colour names into a box, in table order.
void FillColorNames(QComboBox* box);

} // namespace probex
