#pragma once

#include "reliability/ReliabilitySettings.h"

#include <QGroupBox>

class QComboBox;
class QLineEdit;

namespace probex {

/// The "Method" choice of the out equations' probability and the settings of each method;
/// edits go straight into the settings they were made from.
class TMethodBox : public QGroupBox {
    Q_OBJECT

public:
    TMethodBox(TReliabilitySettings& settings, QWidget* parent = nullptr);

    /// Shows the stored method and settings (after New, Open, Merge).
    void refresh();
    QComboBox* methodBox() const { return m_method; }

signals:
    /// The person chose another method.
    void methodChanged();

private:
    void store();
    void enableFields();

    TReliabilitySettings& m_settings;
    QComboBox* m_method;
    QLineEdit* m_formIterations;
    QLineEdit* m_formStarts;
    QLineEdit* m_isSamples;
    QLineEdit* m_subsetSamples;
    QLineEdit* m_subsetLevels;
    bool m_loading = false;
};

} // namespace probex
