#include "python/ProjectSession.h"

#include "model/ResultWindowOpening.h"
#include "project/ProjectReader.h"
#include "project/ProjectWriter.h"
#include "python/RunThreads.h"
#include "settings/IniFile.h"
#include "variables/Random.h"

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <thread>

namespace probex {

namespace {

std::string FolderOf(const std::string& file) {
    std::string folder = std::filesystem::absolute(file).parent_path().string();
    return folder.ends_with('/') ? folder : folder + '/';
}

std::string CurrentFolder() {
    std::error_code ec;
    const std::string folder = std::filesystem::current_path(ec).string();
    return ec ? std::string("./") : folder + '/';
}

TSettings SettingsFrom(const std::optional<std::string>& file) {
    TSettings settings = MakeDefaultSettings(file ? FolderOf(*file) : CurrentFolder());
    if (!file) return settings;
    if (!std::filesystem::exists(*file)) throw ProgramError("settings file not found: " + *file);
    // A settings file named but unreadable would quietly run with other settings.
    if (std::string problem; !IniFile().load(*file, &problem) && !problem.empty())
        throw ProgramError(problem);
    std::string separatorWarning;
    const std::string problem = LoadSettings(*file, settings, &separatorWarning);
    if (!problem.empty()) throw ProgramError(problem);
    if (!separatorWarning.empty()) throw ProgramError(separatorWarning);
    return settings;
}

/// Puts back what a run changes in the settings for its seed and threads.
class SettingsRestorer {
public:
    explicit SettingsRestorer(TSettings& settings) : m_settings(settings), m_saved(settings) {}
    ~SettingsRestorer() { m_settings = m_saved; }
    SettingsRestorer(const SettingsRestorer&) = delete;
    SettingsRestorer& operator=(const SettingsRestorer&) = delete;

private:
    TSettings& m_settings;
    TSettings m_saved;
};

} // namespace

EquationFault::EquationFault(const ModelEvents::EquationError& error, bool duringRun)
    : ProgramError(ErrorText(error.error.Code)), m_line(error.error.Line + 1),
      m_position(error.error.Pos), m_outEquations(error.outEquations), m_duringRun(duringRun) {}

ProjectSession::ProjectSession(const std::optional<std::string>& settingsFile)
    : m_settings(SettingsFrom(settingsFile)), m_model(m_settings, m_prompter, m_direct),
      m_commands(m_model) {
    m_model.setObserver(&m_events);
    m_commands.New();
}

void ProjectSession::open(const std::string& path) {
    const ReadResult read = ReadProject(m_model, path, false);
    if (read.outcome != ReadOutcome::Completed)
        throwFailure(("the project " + path + " could not be read").c_str(), false);
    m_model.currentProjectFile = path;
}

void ProjectSession::readText(const std::string& text) {
    if (!IsProjectText(text, m_settings.ListSep))
        throw ProgramError("the text is no project: it has no [Main] section with a Version key");
    if (ReadProjectText(m_model, text, CurrentFolder()).outcome != ReadOutcome::Completed)
        throwFailure("the project text could not be read", false);
}

void ProjectSession::save(const std::string& path) {
    if (!WriteProject(m_model, path)) throwFailure("the project was not saved", false);
    m_model.currentProjectFile = path;
}

void ProjectSession::compile() {
    m_events.takeEquationError();
    m_prompter.take();
    if (!m_model.Compile()) throwFailure("the model does not compile", false);
}

void ProjectSession::throwFailure(const char* fallback, bool duringRun) {
    if (const auto error = m_events.takeEquationError()) throw EquationFault(*error, duringRun);
    std::string text;
    for (const CollectingPrompter::Message& message : m_prompter.take())
        text += (text.empty() ? "" : "\n") + message.text;
    throw ProgramError(text.empty() ? std::string(fallback) : text);
}

void ProjectSession::startRun(const RunRequest& request) {
    if (request.steps) m_model.setLastStep(*request.steps);
    m_model.InvalidateResults(); // always a fresh run, never a continued one
    m_model.outputs().keepInputValues = request.sensitivity;
    if (request.seed) {
        // As --seed: Seed 1 of the generator the settings choose, "Parallel" or else "Simple".
        m_model.autoSeed = false;
        if (m_settings.Generator != GeneratorParallel) m_settings.Generator = GeneratorSimple;
        m_settings.Seed1 = static_cast<std::int32_t>(*request.seed);
    } else {
        m_model.autoSeed = true;
    }
    ApplyRunThreads(m_settings, request.threads);
    m_events.takeEquationError();
    m_events.clearOutcome();
    m_prompter.take();
    ++m_runNumber;
    m_lastRunStopped = false;
    const std::lock_guard lock(m_startMutex);
    if (m_model.RunStop() != ProjectModel::RunCommand::Started)
        throwFailure("the run did not start", false);
    m_started = true;
    if (m_stopWanted) m_model.requestStop();
    m_stopWanted = false;
}

ProjectSession::RunEnd ProjectSession::run(const RunRequest& request,
                                           const std::function<bool()>& poll) {
    if (m_busy.exchange(true)) throw ProgramError("the project is running");
    // However the run ends, a stop asked for it does not reach the next one.
    struct Idle {
        ProjectSession& session;
        ~Idle() {
            const std::lock_guard lock(session.m_startMutex);
            session.m_stopWanted = false;
            session.m_started = false;
            session.m_busy = false;
        }
    } idle{*this};
    SettingsRestorer restorer(m_settings);
    startRun(request);

    // The wait for the run (and the evaluation that may follow it) has a thread of its own,
    // so that the caller can poll for a stop meanwhile.
    std::mutex mutex;
    std::condition_variable ended;
    bool done = false;
    std::thread waiter([&] {
        m_model.waitForRun();
        const std::lock_guard lock(mutex);
        done = true;
        ended.notify_one();
    });
    bool stopped = false;
    {
        std::unique_lock lock(mutex);
        while (!ended.wait_for(lock, std::chrono::milliseconds(50), [&] { return done; })) {
            if (stopped) continue;
            lock.unlock();
            if (poll()) {
                stopped = true;
                stop();
            }
            lock.lock();
        }
    }
    waiter.join();

    if (const auto error = m_events.takeEquationError()) throw EquationFault(*error, true);
    if (!m_events.outcome()) throwFailure("the run failed", true);
    if (m_model.stepCounter() == 0) throw ProgramError("no step was run, so there are no results");
    // What the 1D windows do at the end of a run, so that the results equal the window's.
    FinalOneDHistograms(m_model);
    m_lastRunStopped = stopped || m_events.outcome() == RunOutcome::Stopped;
    return m_lastRunStopped ? RunEnd::Stopped : RunEnd::Finished;
}

void ProjectSession::stop() {
    const std::lock_guard lock(m_startMutex);
    if (!m_busy) return;
    if (m_started)
        m_model.requestStop();
    else
        m_stopWanted = true;
}

} // namespace probex
