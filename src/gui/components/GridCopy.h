#pragma once

#include <QString>

class QAbstractItemView;

namespace probex {

/// The selected cells as tab-separated text, one line per row of the smallest rectangle that
/// holds the selection (cells outside the selection empty), each line ending with a newline:
/// what spreadsheets paste as rows and columns. Empty without a selection.
QString SelectionAsTabSeparated(const QAbstractItemView& view);

/// Puts the view's selection on the clipboard as tab-separated text; false when nothing is
/// selected.
bool CopySelectionAsTabSeparated(const QAbstractItemView& view);

} // namespace probex
