#pragma once

#include "components/Prompter.h"

#include <iosfwd>

namespace probex {

/// The prompter of the command line: messages go to the error stream prefixed by their kind;
/// a question takes its negative answer, or its positive one when told to answer yes; no file
/// is ever chosen.
class BatchPrompter : public Prompter {
public:
    BatchPrompter(std::ostream& err, bool answerYes) : m_err(err), m_answerYes(answerYes) {}

    Answer message(Kind kind, const std::string& text, Buttons buttons) override;
    std::optional<std::string> chooseFile(const FileRequest& request) override;

    int errorCount() const { return m_errors; }
    /// Changes how questions are answered from now on.
    void setAnswerYes(bool yes) { m_answerYes = yes; }

private:
    std::ostream& m_err;
    bool m_answerYes;
    int m_errors = 0;
};

} // namespace probex
