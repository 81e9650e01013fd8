#pragma once

#include <QIcon>

namespace probex {

/// The pictures of the toolbar buttons that have no picture of their own.
enum class ToolbarPicture { New, Open, Save, Print, Cut, Copy, Paste, Reset };

/// The icon theme's picture for the button where the platform has one, else our own drawing.
QIcon ToolbarIcon(ToolbarPicture picture);

/// The program's own icon (the one installed for the desktop), drawn for the window frame.
QIcon ProgramIcon();

} // namespace probex
