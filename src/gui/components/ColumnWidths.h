#pragma once

#include <QList>
#include <QStringList>

#include <span>

class QComboBox;
class QTableView;

namespace probex {

/// Gives each column of the grid its classic width, or more where its title or a word of its
/// pick list (`pickLists[column]`, may be shorter than the columns) would be cut.
void SetColumnWidths(QTableView* grid, std::span<const int> widths,
                     const QList<QStringList>& pickLists = {});

/// Opens the drop-down list of the combo box wide enough for its longest item.
void FitDropDownToItems(QComboBox* combo);

} // namespace probex
