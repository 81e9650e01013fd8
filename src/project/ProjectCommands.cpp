#include "project/ProjectCommands.h"

#include "components/DialogFolder.h"
#include "components/Prompter.h"
#include "project/LayoutFile.h"
#include "project/ProjectDocument.h"
#include "project/ProjectWriter.h"
#include "settings/Settings.h"
#include "variables/DistributionFile.h"

#include <filesystem>

namespace probex {

namespace {

const char* const UntitledTitle = "Probex [Untitled]";

std::string TitleFor(const std::string& file) {
    return "Probex " + file;
}

bool IsFile(const std::string& path) {
    std::error_code ignored;
    return std::filesystem::is_regular_file(path, ignored);
}

std::string JoinPath(const std::string& directory, const std::string& name) {
    if (directory.empty()) return name;
    const char last = directory.back();
    return last == '/' || last == '\\' ? directory + name : directory + "/" + name;
}

} // namespace

ProjectCommands::ProjectCommands(ProjectDocument& model, LayoutKeeper* layout)
    : m_model(model), m_layout(layout), m_title(UntitledTitle) {
    markSaved();
}

const std::string& ProjectCommands::CurrentProjectFile() const {
    return m_model.currentProjectFile;
}

std::optional<std::string> ProjectCommands::chooseFile(bool save, const char* caption,
                                                       const std::string& folder) {
    Prompter::FileRequest request;
    request.save = save;
    request.title = caption;
    request.filter = "Probex files|*.pxw";
    request.defaultExtension = "pxw";
    const std::string& project = m_model.currentProjectFile;
    request.fileName = save && !project.empty() ? FileNamePart(project) : "*.pxw";
    request.initialDirectory =
        folder.empty() ? DialogStartFolder(project, m_model.settings().InputDirPath) : folder;
    return m_model.prompter().chooseFile(request);
}

bool ProjectCommands::Modified() {
    return ProjectText(m_model) != m_savedText;
}

void ProjectCommands::markSaved() {
    m_savedText = ProjectText(m_model);
}

bool ProjectCommands::ConfirmDiscardChanges() {
    if (!Modified()) return true;
    const std::string& file = m_model.currentProjectFile;
    const std::string question = "Save changes to " + (file.empty() ? "Untitled" : file) + "?";
    switch (m_model.prompter().confirm(question, Prompter::Buttons::YesNoCancel)) {
    case Prompter::Answer::Yes:
        return Save();
    case Prompter::Answer::No:
        return true;
    default:
        return false;
    }
}

void ProjectCommands::New() {
    m_model.resultWindows.closeAll();
    m_model.clearProject();
    m_model.currentProjectFile.clear();
    m_title = UntitledTitle;
    markSaved();
}

std::optional<ReadOutcome> ProjectCommands::readInto(const std::string& text,
                                                     const std::string& file) {
    const ReadResult result = ReadProjectText(m_model, text, ProjectDirectoryOf(file));
    if (result.fileVersion) m_fileVersion = result.fileVersion;
    if (result.outcome == ReadOutcome::Stopped) return std::nullopt;
    if (m_layout != nullptr && m_model.settings().SaveWinPos)
        ApplyLayoutFile(m_model, file, *m_layout);
    return result.outcome;
}

void ProjectCommands::afterReading() {
    if (!m_model.InvalidateResults()) m_model.resultWindows.observer().refillVariableBoxes(0);
}

bool ProjectCommands::OpenFrom(const std::string& folder) {
    const std::optional<std::string> file = chooseFile(false, "Open", folder);
    return file && Open(*file);
}

bool ProjectCommands::Open(std::optional<std::string> file) {
    if (!file) file = chooseFile(false, "Open");
    if (!file) return false;
    // Read before New: a file that cannot be read must not cost the open project.
    const std::optional<std::string> text =
        LoadProjectFile(*file, m_model.prompter(), m_model.settings().ListSep);
    if (!text) return false;
    New();
    const std::optional<ReadOutcome> outcome = readInto(*text, *file);
    if (!outcome) return false;
    afterReading();
    // A declined file was not read: naming the project after it would let Save overwrite it
    // with the little that was taken.
    if (*outcome == ReadOutcome::Declined) return false;
    m_title = TitleFor(*file);
    m_model.currentProjectFile = *file;
    markSaved();
    return true;
}

bool ProjectCommands::Merge(std::optional<std::string> file) {
    if (!file) file = chooseFile(false, "Merge");
    if (!file) return false;
    const std::optional<std::string> text =
        LoadProjectFile(*file, m_model.prompter(), m_model.settings().ListSep);
    if (!text) return false;
    const std::optional<ReadOutcome> outcome = readInto(*text, *file);
    if (!outcome) return false;
    if (*outcome != ReadOutcome::Declined) m_model.currentProjectFile = *file;
    afterReading();
    return *outcome != ReadOutcome::Declined;
}

bool ProjectCommands::Save() {
    if (m_model.currentProjectFile.empty()) return SaveAs();
    if (!WriteProject(m_model, m_model.currentProjectFile, m_layout)) return false;
    markSaved();
    return true;
}

bool ProjectCommands::SaveAs(std::optional<std::string> file) {
    if (!file) file = chooseFile(true, "Save As");
    if (!file || file->empty()) return false;
    if (FileNamePart(*file).find('.') == std::string::npos) *file += ".pxw";
    if (m_model.settings().InputOverwritePrompt && IsFile(*file)) {
        const auto answer = m_model.prompter().confirm(
            *file + " already exists.\nDo you want to replace it?", Prompter::Buttons::YesNo);
        if (answer != Prompter::Answer::Yes) return false;
    }
    if (!WriteProject(m_model, *file, m_layout)) return false;
    m_title = TitleFor(*file);
    m_model.currentProjectFile = *file;
    markSaved();
    return true;
}

bool ProjectCommands::OpenCommandLineFile(const std::string& argument,
                                          const std::string& currentDirectory) {
    std::string file = argument;
    if (FileNamePart(argument) == argument) {
        file = JoinPath(currentDirectory, argument);
        if (!IsFile(file)) file = JoinPath(m_model.settings().InputDirPath, argument);
    }
    if (!IsFile(file)) {
        m_model.prompter().error("File " + file + " not found");
        return false;
    }
    const ReadResult result = ReadProject(m_model, file, false);
    if (result.fileVersion) m_fileVersion = result.fileVersion;
    if (result.outcome != ReadOutcome::Completed) return false;
    m_title = TitleFor(file);
    m_model.currentProjectFile = file;
    markSaved();
    return true;
}

} // namespace probex
