#include "python/Messages.h"

#include <utility>

namespace probex {

Prompter::Answer CollectingPrompter::message(Kind kind, const std::string& text, Buttons buttons) {
    {
        const std::lock_guard lock(m_mutex);
        m_messages.push_back({kind, text});
    }
    switch (buttons) {
    case Buttons::Ok:
        return Answer::Ok;
    case Buttons::Cancel:
    case Buttons::OkCancel:
        return Answer::Cancel;
    case Buttons::YesNo:
    case Buttons::YesNoCancel:
    case Buttons::YesNoAll:
        return Answer::No;
    }
    return Answer::Cancel;
}

std::vector<CollectingPrompter::Message> CollectingPrompter::take() {
    const std::lock_guard lock(m_mutex);
    return std::exchange(m_messages, {});
}

void ModelEvents::showEquationError(const TEquError& error, bool outEquations) {
    const std::lock_guard lock(m_mutex);
    if (!m_error) m_error = EquationError{error, outEquations};
}

void ModelEvents::resultsChanged(bool exist) {
    if (!exist) ++m_discards;
}

std::optional<ModelEvents::EquationError> ModelEvents::takeEquationError() {
    const std::lock_guard lock(m_mutex);
    return std::exchange(m_error, std::nullopt);
}

} // namespace probex
