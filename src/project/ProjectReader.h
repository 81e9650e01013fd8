#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace probex {

class LayoutKeeper;
class ProjectDocument;
class Prompter;

/// How a reading ended.
enum class ReadOutcome {
    Completed, ///< the end of the file was reached
    Declined,  ///< the person declined to read a file of another version
    Stopped,   ///< a number did not convert; the message was shown, what came before stays
    NotOpened, ///< the file could not be read; the message was shown, nothing changed
};

struct ReadResult {
    ReadOutcome outcome = ReadOutcome::Completed;
    /// The last "Version" value read, nullopt when the file had none.
    std::optional<std::string> fileVersion;
};

/// Whether the text is a project file at all: it has a "[Main]" section with a "Version"
/// key. Every project written has one, and without one the reader would take nothing from
/// the file (an empty or binary file, or a text of another kind).
bool IsProjectText(std::string_view text, char listSeparator);

/// The bytes of a project file; nullopt after showing the system's message, or saying that
/// the file is no project (IsProjectText).
std::optional<std::string> LoadProjectFile(const std::string& path, Prompter& prompter,
                                           char listSeparator);

/// Reads a project text (CR LF, LF or CR lines) into the open project without clearing it:
/// equation lines are appended, table rows updated or added, keys set one by one, and each
/// result-window section opens a window. A distribution file not found in the distributions
/// directory is looked for in `projectDirectory` (where the project file lies), when given.
ReadResult ReadProjectText(ProjectDocument& model, std::string_view text,
                           const std::string& projectDirectory = "");

/// The folder a project file lies in; the current directory for a name without a folder.
std::string ProjectDirectoryOf(const std::string& projectFile);

/// Applies the layout file of `projectFile` through `layout` when the file exists.
void ApplyLayoutFile(ProjectDocument& model, const std::string& projectFile, LayoutKeeper& layout);

/// Reads the file; then, unless the reading stopped, applies the layout file when
/// `restoreLayout` is true, the setting `SaveWinPos` is on and `layout` is given.
ReadResult ReadProject(ProjectDocument& model, const std::string& path, bool restoreLayout,
                       LayoutKeeper* layout = nullptr);

} // namespace probex
