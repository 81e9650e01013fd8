#pragma once

#include "model/ProjectModel.h"
#include "project/ProjectCommands.h"
#include "python/Messages.h"
#include "settings/Settings.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>

namespace probex {

/// An error the program would show in a box; the text is the program's message.
class ProgramError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// An equation that does not compile, or that failed while the run evaluated it.
class EquationFault : public ProgramError {
public:
    EquationFault(const ModelEvents::EquationError& error, bool duringRun);
    int line() const { return m_line; }
    int position() const { return m_position; }
    bool outEquations() const { return m_outEquations; }
    bool duringRun() const { return m_duringRun; }

private:
    int m_line;
    int m_position;
    bool m_outEquations;
    bool m_duringRun;
};

/// What a run of the Python module asks for besides the project.
struct RunRequest {
    std::optional<std::int64_t> steps;
    std::optional<std::int64_t> seed;
    std::optional<std::int32_t> threads;
    bool sensitivity = false;
};

/// One project of the Python module: its settings, the document model and the messages, and
/// the runs, started from the interpreter's thread and waited for with a poll that may stop them.
class ProjectSession {
public:
    /// The settings of `settingsFile`, or the program's defaults when none is named (a script's
    /// runs do not depend on what was last chosen in the window). Throws ProgramError for a file
    /// that is missing or cannot be read.
    explicit ProjectSession(const std::optional<std::string>& settingsFile);
    ProjectSession(const ProjectSession&) = delete;
    ProjectSession& operator=(const ProjectSession&) = delete;

    /// Reads a project file or a project text into the empty project; ProgramError when it is
    /// not a project or the reading stopped.
    void open(const std::string& path);
    void readText(const std::string& text);
    void save(const std::string& path);

    ProjectModel& model() { return m_model; }
    TSettings& settings() { return m_settings; }
    CollectingPrompter& prompter() { return m_prompter; }
    ModelEvents& events() { return m_events; }

    /// Compiles the equations and out equations; EquationFault for the first error.
    void compile();

    enum class RunEnd { Finished, Stopped };
    /// A fresh run of the project; `poll` is called about every 50 ms while it goes and stops
    /// it as Stop does when it returns true. Throws EquationFault or ProgramError when the run
    /// did not start, failed, or ran no step.
    RunEnd run(const RunRequest& request, const std::function<bool()>& poll);
    /// The Stop command, from any thread; a run about to start stops at once.
    void stop();
    bool busy() const { return m_busy; }

    /// Which run the results come from: grows with every run, so that the results of an
    /// earlier run are known to be gone.
    std::uint64_t runNumber() const { return m_runNumber; }
    /// The last run ended before its last step by Stop (or Ctrl+C), not by the stop rule.
    bool lastRunStopped() const { return m_lastRunStopped; }

private:
    void startRun(const RunRequest& request);
    [[noreturn]] void throwFailure(const char* fallback, bool duringRun);

    TSettings m_settings;
    CollectingPrompter m_prompter;
    DirectCall m_direct;
    ModelEvents m_events;
    ProjectModel m_model;
    ProjectCommands m_commands;
    std::mutex m_startMutex;   ///< the start of a run against a stop from another thread
    bool m_stopWanted = false; ///< guarded by m_startMutex
    bool m_started = false;    ///< guarded by m_startMutex: the worker may be asked to stop
    std::atomic<bool> m_busy{false};
    std::uint64_t m_runNumber = 0;
    bool m_lastRunStopped = false;
};

} // namespace probex
