#pragma once

#include "project/ProjectReader.h"

#include <optional>
#include <string>

namespace probex {

class LayoutKeeper;
class ProjectDocument;

/// The File menu's project commands: New, Open, Merge, Save, Save as, and the project file
/// named on the command line. Each command without a file name asks for one through the
/// prompter's file dialog.
class ProjectCommands {
public:
    /// `layout` (may be null) gives and takes the window placements of the layout file.
    explicit ProjectCommands(ProjectDocument& model, LayoutKeeper* layout = nullptr);

    void setLayoutKeeper(LayoutKeeper* layout) { m_layout = layout; }

    /// Closes every result window, empties the project; keeps the step count and the 2D
    /// overlay objects.
    void New();
    /// Open with the file dialog starting in `folder` (the examples, say).
    bool OpenFrom(const std::string& folder);
    /// New, then reads the file. False when nothing was opened (cancelled, unreadable,
    /// declined) or the reading stopped on a number.
    bool Open(std::optional<std::string> file = std::nullopt);
    /// Reads the file into the open project; the merged file becomes the one Save writes,
    /// the title stays.
    bool Merge(std::optional<std::string> file = std::nullopt);
    /// Save as when the project has no file yet.
    bool Save();
    /// A name without extension gets ".pxw". With `InputOverwritePrompt` on, replacing an
    /// existing file is asked first.
    bool SaveAs(std::optional<std::string> file = std::nullopt);
    /// The first command-line argument: a name with a directory part is read from there;
    /// a bare name from `currentDirectory`, else from `InputDirPath`.
    bool OpenCommandLineFile(const std::string& argument, const std::string& currentDirectory);

    /// The project differs from what was last opened, saved or started empty: its file text
    /// (texts, tables, out-equation settings, result windows) would change.
    bool Modified();
    /// Before the project is replaced or the program ends: when it is modified, asks
    /// "Save changes to FILE?" (Yes, No, Cancel). True when the work may go on: saved, or
    /// No; false for Cancel or a save that failed or was cancelled.
    bool ConfirmDiscardChanges();
    /// The present state counts as unmodified (the start of the program).
    void markSaved();

    const std::string& CurrentProjectFile() const;
    /// "Probex [Untitled]" or "Probex " + the project file name.
    const std::string& title() const { return m_title; }
    /// The "Version" of the last file read that had one.
    const std::optional<std::string>& fileVersion() const { return m_fileVersion; }

private:
    /// `folder` empty: the open project's folder, else `InputDirPath`, else home.
    std::optional<std::string> chooseFile(bool save, const char* caption,
                                          const std::string& folder = {});
    /// Reads into the open project; nullopt when nothing of the file was taken.
    std::optional<ReadOutcome> readInto(const std::string& text, const std::string& file);
    void afterReading();

    ProjectDocument& m_model;
    LayoutKeeper* m_layout;
    std::string m_title;
    std::optional<std::string> m_fileVersion;
    std::string m_savedText; ///< the project file text at the last open or save
};

} // namespace probex
