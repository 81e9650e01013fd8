#include "gui/results/ResultWindowFactory.h"

#include "gui/results/TFrmOut1D.h"
#include "gui/results/TFrmOut2D.h"
#include "gui/results/TFrmOutProb.h"
#include "gui/results/TFrmOutQuant.h"
#include "gui/results/TFrmOutStat.h"

namespace probex {

TFrmResult* CreateResultWindow(ProjectModel& model, ResultWindowKind kind, std::size_t index,
                               QWidget* parent) {
    switch (kind) {
    case ResultWindowKind::Statistics:
        return new TFrmOutStat(model, index, parent);

    case ResultWindowKind::OneD:
        return new TFrmOut1D(model, index, parent);

    case ResultWindowKind::TwoD:
        return new TFrmOut2D(model, index, parent);

    case ResultWindowKind::Probability:
        return new TFrmOutProb(model, index, parent);

    case ResultWindowKind::Quantile:
        return new TFrmOutQuant(model, index, parent);
    }
    return nullptr;
}

} // namespace probex
