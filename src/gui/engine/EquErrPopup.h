#pragma once

#include <QRect>

#include <functional>
#include <string>

namespace probex {

/// Where an equation error's popup goes: the modal `TFrmEquErr` in the program, a recorder in
/// the widget tests.
class EquErrPopup {
public:
    virtual ~EquErrPopup() = default;
    /// Shows the message under the caption ("Equations error", "Out equations error") and
    /// returns when the popup has closed.
    virtual void showPopup(const std::string& caption, const std::string& message) = 0;
    /// The next popup stands clear of this place on the screen (the line of the error's
    /// caret), asked for when it shows, after the windows have taken their places.
    virtual void keepClearOf(std::function<QRect()> area) { (void)area; }
};

} // namespace probex
