#include "ProcessRun.h"

#include <fcntl.h>
#include <sched.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <stdexcept>

extern char** environ;

namespace probex::bench {

namespace {

/// Pins the calling thread, and so the processes it starts, to one core while it lives.
class PinnedThread {
public:
    explicit PinnedThread(bool pin)
        : m_pinned(pin && sched_getaffinity(0, sizeof m_old, &m_old) == 0) {
        if (!m_pinned) return;
        int core = 0;
        while (core < CPU_SETSIZE && !CPU_ISSET(core, &m_old))
            ++core;
        cpu_set_t one;
        CPU_ZERO(&one);
        CPU_SET(core, &one);
        m_pinned = sched_setaffinity(0, sizeof one, &one) == 0;
    }
    ~PinnedThread() {
        if (m_pinned) sched_setaffinity(0, sizeof m_old, &m_old);
    }
    PinnedThread(const PinnedThread&) = delete;
    PinnedThread& operator=(const PinnedThread&) = delete;

private:
    cpu_set_t m_old{};
    bool m_pinned;
};

} // namespace

ProcessFigures RunProcess(const std::string& program, const std::vector<std::string>& arguments,
                          const ProcessOptions& options) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) throw std::runtime_error("no pipe");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& a : arguments)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    std::vector<char*> environment(
        environ, environ + [] {
            std::size_t n = 0;
            while (environ[n] != nullptr)
                ++n;
            return n;
        }());
    for (const std::string& e : options.environment)
        environment.push_back(const_cast<char*>(e.c_str()));
    environment.push_back(nullptr);
    pid_t pid = 0;
    int spawned = 0;
    {
        const PinnedThread pinned(options.pinned);
        spawned =
            posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environment.data());
    }
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    std::string output;
    char buffer[4096];
    for (ssize_t n; (n = read(pipeEnds[0], buffer, sizeof buffer)) > 0;)
        output.append(buffer, static_cast<std::size_t>(n));
    close(pipeEnds[0]);
    if (spawned != 0) throw std::runtime_error("cannot start " + program);
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error(program + " failed: " + output);
    const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec * 1e-6; };
    ProcessFigures figures;
    figures.cpuSeconds = seconds(usage.ru_utime) + seconds(usage.ru_stime);
    const std::size_t line = output.find(options.probabilityKey);
    if (line == std::string::npos) throw std::runtime_error("no probability: " + output);
    figures.probability =
        std::strtold(output.c_str() + line + options.probabilityKey.size(), nullptr);
    return figures;
}

} // namespace probex::bench
