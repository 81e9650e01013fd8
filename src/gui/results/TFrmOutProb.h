#pragma once

#include "gui/results/TFrmOutPQ.h"

namespace probex {

/// The probability window: values Q typed in, the probability of not exceeding each shown.
class TFrmOutProb : public TFrmOutPQ {
    Q_OBJECT

public:
    TFrmOutProb(ProjectModel& model, std::size_t index, QWidget* parent = nullptr);

    void CalculatePs(int row) { CalculateResults(row); }
};

} // namespace probex
