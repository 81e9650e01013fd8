#include "gui/components/GridCopy.h"

#include <QAbstractItemView>
#include <QClipboard>
#include <QGuiApplication>
#include <QItemSelectionModel>

#include <algorithm>
#include <climits>

namespace probex {

QString SelectionAsTabSeparated(const QAbstractItemView& view) {
    const QItemSelectionModel* selection = view.selectionModel();
    if (selection == nullptr) return {};
    const QModelIndexList cells = selection->selectedIndexes();
    if (cells.isEmpty()) return {};
    int top = INT_MAX, bottom = -1, left = INT_MAX, right = -1;
    for (const QModelIndex& cell : cells) {
        top = std::min(top, cell.row());
        bottom = std::max(bottom, cell.row());
        left = std::min(left, cell.column());
        right = std::max(right, cell.column());
    }
    QString text;
    for (int row = top; row <= bottom; ++row) {
        for (int column = left; column <= right; ++column) {
            if (column > left) text += QLatin1Char('\t');
            const QModelIndex cell = view.model()->index(row, column);
            if (selection->isSelected(cell)) text += cell.data().toString();
        }
        text += QLatin1Char('\n');
    }
    return text;
}

bool CopySelectionAsTabSeparated(const QAbstractItemView& view) {
    const QString text = SelectionAsTabSeparated(view);
    if (text.isEmpty()) return false;
    QGuiApplication::clipboard()->setText(text);
    return true;
}

} // namespace probex
