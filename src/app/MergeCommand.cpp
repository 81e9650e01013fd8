#include "app/MergeCommand.h"

#include "simulation/PartialResult.h"
#include "simulation/PartialSet.h"
#include "simulation/StepReplay.h"

#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace probex {

namespace {

constexpr int ExitUsage = 2;

const char* const Usage =
    "usage: probex --merge FILE... [--results DIR] [--save-as FILE] [--report FILE.pdf] "
    "[--yes]\n";

} // namespace

int RunMergeCommand(int argc, const char* const* argv, std::ostream& out, std::ostream& err,
                    const ReportWriter& writeReport) {
    MergedRun run;
    std::vector<std::string> paths;
    for (int i = 0; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--results" || arg == "--save-as" || arg == "--report") {
            if (i + 1 >= argc || std::string(argv[i + 1]).empty()) {
                err << "error: " << arg << " needs a file or directory name\n" << Usage;
                return ExitUsage;
            }
            (arg == "--results"  ? run.resultsDir
             : arg == "--report" ? run.report
                                 : run.saveAs) = argv[++i];
        } else if (arg == "--yes") {
            run.yes = true;
        } else if (arg.size() > 1 && arg[0] == '-') {
            err << "error: unknown option " << arg << '\n' << Usage;
            return ExitUsage;
        } else {
            paths.push_back(arg);
        }
    }
    if (paths.empty()) {
        err << "error: no partial result to merge\n" << Usage;
        return ExitUsage;
    }

    std::vector<std::unique_ptr<TPartialReader>> readers;
    std::vector<const TPartialHeader*> headers;
    bool unreadable = false;
    for (const std::string& path : paths) {
        readers.push_back(std::make_unique<TPartialReader>());
        if (const std::string problem = readers.back()->open(path); !problem.empty()) {
            err << "error: " << path << ' ' << problem << '\n';
            unreadable = true;
        }
        headers.push_back(&readers.back()->header());
    }
    if (unreadable) return ExitUsage;
    std::vector<std::size_t> order;
    if (const std::vector<std::string> problems = CheckPartialSet(headers, paths, order);
        !problems.empty()) {
        for (const std::string& problem : problems)
            err << "error: " << problem << '\n';
        return ExitUsage;
    }

    std::vector<TPartialReader*> parts;
    std::vector<std::string> partPaths;
    for (const std::size_t i : order) {
        parts.push_back(readers[i].get());
        partPaths.push_back(paths[i]);
    }
    TStepReplay replay(std::move(parts), std::move(partPaths));
    run.header = headers[order.front()];
    run.replay = &replay;
    return RunMergedBatch(run, out, err, writeReport);
}

} // namespace probex
