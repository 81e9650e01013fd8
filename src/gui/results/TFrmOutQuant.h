#pragma once

#include "gui/results/TFrmOutPQ.h"

namespace probex {

/// The quantile window: probabilities P typed in, the value below which each share lies shown.
class TFrmOutQuant : public TFrmOutPQ {
    Q_OBJECT

public:
    TFrmOutQuant(ProjectModel& model, std::size_t index, QWidget* parent = nullptr);

    void CalculateQs(int row) { CalculateResults(row); }
};

} // namespace probex
