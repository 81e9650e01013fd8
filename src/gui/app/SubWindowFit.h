#pragma once

class QMdiArea;
class QMdiSubWindow;

namespace probex {

/// Keeps the sub-window at least as large as its content needs, whatever sizes it: a default
/// or stored placement, a tiling, or content that has grown (a longer number in a field).
/// Squeezed below that, Qt lays the widgets over each other and cuts their texts. A window
/// that grows moves back into the area where it can.
void KeepContentWhole(QMdiSubWindow* sub);

/// Grows a normal sub-window to its content's minimum size, inside the area where it can.
void FitToContent(QMdiSubWindow* sub);

/// Tiles the area's normal windows in a grid inside the area as it is; a window whose content
/// needs more than its cell keeps its size and overlaps its neighbours (Qt's own tiling
/// enlarges the main window instead, past the screen).
void TileInside(QMdiArea* area);

} // namespace probex
