#pragma once

#include <QSpinBox>

namespace probex {

/// The step count box: whole numbers 0..999999999. A typed number above the maximum is
/// taken and limited to it rather than refused digit by digit.
class StepSpinBox : public QSpinBox {
    Q_OBJECT

public:
    static constexpr int Maximum = 999999999;

    explicit StepSpinBox(QWidget* parent = nullptr);

protected:
    QValidator::State validate(QString& input, int& pos) const override;
    int valueFromText(const QString& text) const override;
    void fixup(QString& input) const override;
};

} // namespace probex
