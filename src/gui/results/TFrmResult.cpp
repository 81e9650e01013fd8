#include "gui/results/TFrmResult.h"

#include <QMdiSubWindow>

namespace probex {

void TFrmResult::setClientHeight(int height) {
    if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget())) {
        const int border = frame->height() - this->height();
        frame->resize(frame->width(), height + std::max(border, 0));
    }
    resize(width(), height);
}

} // namespace probex
