#pragma once

#include <QAction>
#include <QKeySequence>
#include <QTableView>

namespace probex {

/// A pop-up command of a grid window. Its keys act where the grid has the focus, so Del in a
/// cell being edited stays the editor's.
inline QAction* AddGridCommand(QTableView* grid, QObject* owner, const QString& name,
                               const QString& caption, const QKeySequence& key) {
    auto* action = new QAction(caption, owner);
    action->setObjectName(name);
    action->setShortcut(key);
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    grid->addAction(action);
    return action;
}

/// The table row (from 1) of the grid's current cell, 0 when there is none.
inline int CurrentTableRow(const QTableView* grid) {
    const QModelIndex current = grid->currentIndex();
    return current.isValid() ? current.row() + 1 : 0;
}

} // namespace probex
