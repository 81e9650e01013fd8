#pragma once

class QWidget;

namespace probex {

/// Restores the child window holding `content` if it is minimised, shows it and makes it the
/// active window of its frame (or raises the top-level window it is).
void BringChildToFront(QWidget* content);

} // namespace probex
