#pragma once

#include "components/Prompter.h"
#include "gui/engine/EquErrPopup.h"

#include <optional>
#include <string>

namespace probex {

/// The prompter the model talks through: passes every box to the program's prompter, except
/// an out-equation message the out-equations window has announced, which becomes the equation
/// error popup with its caption instead of a plain error box.
class EquErrPrompter : public Prompter, public EquErrPopup {
public:
    EquErrPrompter(Prompter& base, EquErrPopup* popup) : m_base(base), m_popup(popup) {}

    void setPopup(EquErrPopup* popup) { m_popup = popup; }
    Prompter& base() { return m_base; }

    /// The next error box with exactly this text shows as the popup under `caption`, with
    /// `shown` (the message with its culprit) instead of the text when given.
    void expectPopup(const std::string& caption, const std::string& message,
                     std::string shown = {}) {
        m_expected = Expected{caption, message, std::move(shown)};
    }

    void showPopup(const std::string& caption, const std::string& message) override {
        if (m_popup != nullptr)
            m_popup->showPopup(caption, message);
        else
            m_base.error(message);
    }

    void keepClearOf(std::function<QRect()> area) override {
        if (m_popup != nullptr) m_popup->keepClearOf(std::move(area));
    }

    Answer message(Kind kind, const std::string& text, Buttons buttons) override {
        std::optional<Expected> expected = std::move(m_expected);
        m_expected.reset();
        if (expected && kind == Kind::Error && text == expected->message) {
            showPopup(expected->caption, expected->shown.empty() ? text : expected->shown);
            return Answer::Ok;
        }
        return m_base.message(kind, text, buttons);
    }

    std::optional<std::string> chooseFile(const FileRequest& request) override {
        return m_base.chooseFile(request);
    }

private:
    struct Expected {
        std::string caption;
        std::string message;
        std::string shown;
    };

    Prompter& m_base;
    EquErrPopup* m_popup;
    std::optional<Expected> m_expected;
};

} // namespace probex
