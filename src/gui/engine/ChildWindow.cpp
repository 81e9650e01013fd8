#include "gui/engine/ChildWindow.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QWidget>

namespace probex {

void BringChildToFront(QWidget* content) {
    if (content == nullptr) return;
    QWidget* window = content;
    for (QWidget* w = content; w != nullptr; w = w->parentWidget()) {
        if (qobject_cast<QMdiSubWindow*>(w) != nullptr || w->isWindow()) {
            window = w;
            break;
        }
    }
    if (window->isMinimized()) window->showNormal();
    window->show();
    if (auto* sub = qobject_cast<QMdiSubWindow*>(window); sub && sub->mdiArea())
        sub->mdiArea()->setActiveSubWindow(sub);
    window->raise();
    if (window->isWindow()) window->activateWindow();
}

} // namespace probex
