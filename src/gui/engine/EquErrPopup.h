#pragma once

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
};

} // namespace probex
