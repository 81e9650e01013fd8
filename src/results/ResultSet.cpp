#include "results/ResultSet.h"

#include "results/OwnFiles.h"
#include "settings/FileAccess.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace probex {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view PartialHeader =
    "These result files hold the results of a run that was interrupted:\r\n";

std::string NameOf(const std::string& path) {
    return fs::path(path).filename().string();
}

/// The partial files named in the folder's list, less those written now, plus these when
/// they are partial; the list is removed once it names none. Empty, or the error text.
std::string UpdatePartialList(const std::string& directory, const std::vector<std::string>& written,
                              const std::string& note) {
    const std::string path = directory + PartialResultsFileName;
    std::string text;
    std::string kept(PartialHeader);
    std::error_code ignored;
    if (fs::exists(path, ignored) && ReadWholeFile(path, text).empty() &&
        text.starts_with(PartialHeader)) {
        for (std::size_t at = PartialHeader.size(); at < text.size();) {
            std::size_t end = text.find("\r\n", at);
            if (end == std::string::npos) end = text.size();
            const std::string line = text.substr(at, end - at);
            at = end + 2;
            const std::string name = line.substr(0, line.find('\t'));
            bool rewritten = false;
            for (const std::string& file : written)
                rewritten = rewritten || NameOf(file) == name;
            if (!name.empty() && !rewritten) kept += line + "\r\n";
        }
    } else if (note.empty()) {
        return {};
    }
    if (!note.empty())
        for (const std::string& file : written)
            kept += NameOf(file) + "\t" + note + "\r\n";
    if (kept.size() == PartialHeader.size()) {
        fs::remove(path, ignored);
        return {};
    }
    return WriteFileAtomically(path, kept);
}

class Staging {
public:
    explicit Staging(const std::string& directory) {
        std::string pattern = directory + ".incomplete-results-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr) {
            m_error = "Cannot write the results to \"" + directory + "\": " + std::strerror(errno);
            return;
        }
        m_path = pattern + "/";
    }
    ~Staging() {
        std::error_code ignored;
        if (!m_path.empty()) fs::remove_all(m_path, ignored);
    }
    const std::string& path() const { return m_path; }
    const std::string& error() const { return m_error; }

private:
    std::string m_path;
    std::string m_error;
};

} // namespace

ResultSetOutcome SaveResultSet(TOutputTable& outputs, const TSettings& settings, Prompter& prompter,
                               std::span<const ResultEntry> entries,
                               const SaveResultsOptions& options, const ResultSetOptions& set) {
    std::string directory = options.directory.empty() ? "./" : options.directory;
    if (directory.back() != '/') directory += '/';
    std::error_code made;
    fs::create_directories(directory, made);
    const Staging staging(directory);
    if (!staging.error().empty()) {
        prompter.error(staging.error());
        return ResultSetOutcome::Failed;
    }
    SaveResultsOptions staged = options;
    staged.directory = staging.path();
    staged.prompts = false;
    const SaveResultsReport report = SaveResults(outputs, settings, prompter, entries, staged);
    if (report.interrupted) return ResultSetOutcome::Interrupted;
    if (!report.ok) return ResultSetOutcome::Failed;

    if (set.mayReplace) {
        std::error_code ignored;
        for (const std::string& file : report.files) {
            const std::string target = directory + NameOf(file);
            if (fs::is_regular_file(target, ignored) &&
                !IsResultFileText(target, FileStart(target)) && !set.mayReplace(target))
                return ResultSetOutcome::Declined;
        }
        const std::string list = directory + PartialResultsFileName;
        if (!set.partialNote.empty() && fs::is_regular_file(list, ignored) &&
            !FileStart(list).starts_with(PartialHeader) && !set.mayReplace(list))
            return ResultSetOutcome::Declined;
    }
    // From here on the files go in whatever comes: a move takes no time.
    for (const std::string& file : report.files) {
        if (const std::string error = MoveFileOver(file, directory + NameOf(file));
            !error.empty()) {
            prompter.error(error);
            return ResultSetOutcome::Failed;
        }
    }
    if (const std::string error = UpdatePartialList(directory, report.files, set.partialNote);
        !error.empty()) {
        prompter.error(error);
        return ResultSetOutcome::Failed;
    }
    return ResultSetOutcome::Written;
}

} // namespace probex
