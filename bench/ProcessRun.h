#pragma once

// A program run as a process of its own, timed from its start to its exit. (Its peak memory
// cannot be read here: Linux keeps a process's peak across exec, so a child of this large
// process reports ours. /usr/bin/time -v on the command line tells it.)

#include "engine/Extended.h"

#include <string>
#include <vector>

namespace probex::bench {

struct ProcessFigures {
    double cpuSeconds = 0;    ///< user and system time of the process
    Extended probability = 0; ///< read from its "Probability: " line
};

/// How a process is started and where its probability stands in its output.
struct ProcessOptions {
    std::vector<std::string> environment; ///< "NAME=value" added to this process's environment
    bool pinned = false;                  ///< on one core, the first this process may use
    std::string probabilityKey = "Probability: ";
};

/// Runs program with arguments, waits for it and reads its output; throws when it fails.
ProcessFigures RunProcess(const std::string& program, const std::vector<std::string>& arguments,
                          const ProcessOptions& options = {});

} // namespace probex::bench
