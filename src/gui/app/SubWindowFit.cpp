#include "gui/app/SubWindowFit.h"

#include <QEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace probex {

namespace {

/// Watches its sub-window. The fit waits for the event loop: a resize may be one step of a
/// change of state (minimising, maximising) that is not finished yet.
class ContentKeeper : public QObject {
public:
    explicit ContentKeeper(QMdiSubWindow* sub) : QObject(sub), m_sub(sub) {
        sub->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (watched == m_sub && !m_pending &&
            (type == QEvent::Resize || type == QEvent::LayoutRequest || type == QEvent::Show)) {
            m_pending = true;
            QTimer::singleShot(0, this, [this] {
                m_pending = false;
                FitToContent(m_sub);
            });
        }
        return false;
    }

private:
    QMdiSubWindow* m_sub;
    bool m_pending = false;
};

QMdiArea* AreaOf(const QMdiSubWindow* sub) {
    return sub->mdiArea();
}

bool Normal(const QMdiSubWindow* sub) {
    return sub->isVisible() && !sub->isMinimized() && !sub->isMaximized() && !sub->isShaded();
}

} // namespace

void KeepContentWhole(QMdiSubWindow* sub) {
    new ContentKeeper(sub);
}

void FitToContent(QMdiSubWindow* sub) {
    if (!Normal(sub)) return;
    const QSize needed = sub->size().expandedTo(sub->minimumSizeHint());
    if (needed == sub->size()) return;
    QRect rect(sub->pos(), needed);
    if (const QMdiArea* area = AreaOf(sub)) {
        const QRect room = area->viewport()->rect();
        rect.moveLeft(
            std::max(room.left(), std::min(rect.left(), room.right() + 1 - rect.width())));
        rect.moveTop(std::max(room.top(), std::min(rect.top(), room.bottom() + 1 - rect.height())));
    }
    sub->setGeometry(rect);
}

void TileInside(QMdiArea* area) {
    QList<QMdiSubWindow*> windows;
    for (QMdiSubWindow* sub : area->subWindowList(QMdiArea::CreationOrder))
        if (sub->isVisible() && !sub->isMinimized()) windows << sub;
    if (windows.isEmpty()) return;
    const auto n = static_cast<int>(windows.size());
    const int columns = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(n))));
    const int rows = (n + columns - 1) / columns;
    const QRect room = area->viewport()->rect();
    for (int i = 0; i < n; ++i) {
        QMdiSubWindow* sub = windows[i];
        if (sub->isMaximized()) sub->showNormal();
        const int column = i % columns;
        const int row = i / columns;
        // The last row's windows share its width.
        const int inRow = row == rows - 1 ? n - row * columns : columns;
        const int left = room.left() + column * room.width() / inRow;
        const int right = room.left() + (column + 1) * room.width() / inRow;
        const int top = room.top() + row * room.height() / rows;
        const int bottom = room.top() + (row + 1) * room.height() / rows;
        QRect cell(left, top, right - left, bottom - top);
        cell.setSize(cell.size().expandedTo(sub->minimumSizeHint()));
        cell.moveLeft(
            std::max(room.left(), std::min(cell.left(), room.right() + 1 - cell.width())));
        cell.moveTop(std::max(room.top(), std::min(cell.top(), room.bottom() + 1 - cell.height())));
        sub->setGeometry(cell);
    }
}

} // namespace probex
