#pragma once

#include "components/Prompter.h"
#include "engine/Expression.h"
#include "model/ProjectModel.h"

#include <atomic>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace probex {

/// The prompter of the Python module: it keeps every message for the caller, who turns errors
/// into exceptions and the rest into warnings once the Python interpreter may be used again.
/// Questions take their negative answer, as in the batch mode without --yes; no file is chosen.
/// A run's worker may call it, so it locks.
class CollectingPrompter : public Prompter {
public:
    struct Message {
        Kind kind = Kind::Error;
        std::string text;
    };

    Answer message(Kind kind, const std::string& text, Buttons buttons) override;
    std::optional<std::string> chooseFile(const FileRequest&) override { return std::nullopt; }

    /// The messages since the last take, oldest first; the list is emptied.
    std::vector<Message> take();

private:
    std::mutex m_mutex;
    std::vector<Message> m_messages;
};

/// What the model tells the windows, kept for the module: the first equation error and its
/// place, whether a run or evaluation is going on, and a count of the result sets discarded.
class ModelEvents : public ModelObserver {
public:
    struct EquationError {
        TEquError error;
        bool outEquations = false;
    };

    void showEquationError(const TEquError& error, bool outEquations) override;
    void resultsChanged(bool exist) override;
    void runEnded(RunOutcome outcome) override { m_outcome = outcome; }

    /// The first equation error since the last take.
    std::optional<EquationError> takeEquationError();
    /// Grows whenever results are discarded, so that a view of them can tell it is stale.
    std::uint64_t discards() const { return m_discards.load(); }
    std::optional<RunOutcome> outcome() const { return m_outcome; }
    void clearOutcome() { m_outcome.reset(); }

private:
    std::mutex m_mutex;
    std::optional<EquationError> m_error;
    std::atomic<std::uint64_t> m_discards{0};
    std::optional<RunOutcome> m_outcome;
};

} // namespace probex
