#include "app/BatchPrompter.h"

#include <ostream>

namespace probex {

Prompter::Answer BatchPrompter::message(Kind kind, const std::string& text, Buttons buttons) {
    switch (kind) {
    case Kind::Error:
        ++m_errors;
        m_err << "error: ";
        break;
    case Kind::Warning:
        m_err << "warning: ";
        break;
    case Kind::Information:
        m_err << "information: ";
        break;
    case Kind::Confirmation:
        m_err << "question: ";
        break;
    }
    m_err << text << '\n';
    switch (buttons) {
    case Buttons::Ok:
        return Answer::Ok;
    case Buttons::Cancel:
        return Answer::Cancel;
    case Buttons::OkCancel:
        return m_answerYes ? Answer::Ok : Answer::Cancel;
    case Buttons::YesNo:
        return m_answerYes ? Answer::Yes : Answer::No;
    case Buttons::YesNoCancel:
        return m_answerYes ? Answer::Yes : Answer::Cancel;
    case Buttons::YesNoAll:
        return m_answerYes ? Answer::Yes : Answer::No;
    }
    return Answer::Cancel;
}

std::optional<std::string> BatchPrompter::chooseFile(const FileRequest&) {
    return std::nullopt;
}

} // namespace probex
