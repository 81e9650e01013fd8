#include "gui/components/ColumnWidths.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QHeaderView>
#include <QStyle>
#include <QTableView>

#include <algorithm>

namespace probex {

void SetColumnWidths(QTableView* grid, std::span<const int> widths,
                     const QList<QStringList>& pickLists) {
    const QFontMetrics metrics = grid->fontMetrics();
    // Room for a drop-down's arrow and frame around the word.
    const int dropDown = grid->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 16;
    for (int column = 0; column < static_cast<int>(widths.size()); ++column) {
        const QString title = grid->model()
                                  ? grid->model()->headerData(column, Qt::Horizontal).toString()
                                  : QString();
        int width = std::max(widths[static_cast<std::size_t>(column)],
                             grid->horizontalHeader()->fontMetrics().horizontalAdvance(title) +
                                 4 * grid->style()->pixelMetric(QStyle::PM_HeaderMargin));
        if (column < pickLists.size())
            for (const QString& word : pickLists[column])
                width = std::max(width, metrics.horizontalAdvance(word) + dropDown);
        grid->setColumnWidth(column, width);
    }
}

void FitDropDownToItems(QComboBox* combo) {
    int widest = 0;
    for (int i = 0; i < combo->count(); ++i)
        widest = std::max(widest, combo->fontMetrics().horizontalAdvance(combo->itemText(i)));
    const int extra = combo->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 24;
    combo->view()->setMinimumWidth(widest + extra);
}

} // namespace probex
