#pragma once

#include <optional>
#include <string>

namespace probex {

/// How the core talks to the person at the keyboard. The desktop program shows message boxes
/// and file dialogs; the batch mode prints and takes documented defaults; tests script answers.
class Prompter {
public:
    enum class Kind { Warning, Error, Information, Confirmation };
    enum class Buttons { Ok, Cancel, YesNo, OkCancel, YesNoCancel, YesNoAll };
    enum class Answer { Ok, Cancel, Yes, No, All };

    /// A request for a file name: open or save, with the dialog's filter ("Distribution files
    /// (*.dis)|*.dis" style pairs), default extension without dot, and start directory.
    struct FileRequest {
        bool save = false;
        std::string title;
        std::string filter;
        std::string defaultExtension;
        std::string initialDirectory;
        std::string fileName;
    };

    virtual ~Prompter() = default;

    /// Shows a modal message and returns the button the person pressed.
    virtual Answer message(Kind kind, const std::string& text, Buttons buttons) = 0;

    /// Asks for a file name; nullopt when the person cancelled.
    virtual std::optional<std::string> chooseFile(const FileRequest& request) = 0;

    void error(const std::string& text, Buttons buttons = Buttons::Ok) {
        message(Kind::Error, text, buttons);
    }
    void warning(const std::string& text) { message(Kind::Warning, text, Buttons::Ok); }
    void information(const std::string& text) { message(Kind::Information, text, Buttons::Ok); }
    Answer confirm(const std::string& text, Buttons buttons) {
        return message(Kind::Confirmation, text, buttons);
    }
};

} // namespace probex
