#include "app/CommandLine.h"

#include <cstdlib>
#include <ostream>
#include <string>

#ifndef PROBEX_VERSION
#define PROBEX_VERSION "unknown"
#endif

namespace probex {

const char* const ProgramUsage =
    "usage: probex [--settings FILE] [PROJECT.pxw]\n"
    "       probex --batch PROJECT.pxw [--steps N] [--seed N] [--results DIR]\n"
    "              [--generator simple|parallel] [--threads N] [--settings FILE]\n"
    "              [--save-as FILE]\n"
    "              [--target-cov PERCENT] [--report FILE.pdf] [--sensitivity] [--yes]\n"
    "              [--method montecarlo|form|sorm|is|subset] [--shard K/N --partial FILE]\n"
    "       probex --merge FILE... [--results DIR] [--save-as FILE] [--report FILE.pdf] [--yes]\n"
    "       probex --eval \"EXPR\" [NAME=VALUE ...]\n"
    "       probex --help | --version\n"
    "\n"
    "Without --batch or --eval, opens the desktop program, with the project if one is named.\n"
    "  --settings FILE  read and write the settings in FILE instead of Probex.ini\n"
    "  --batch          run the project to its last step without windows and print the\n"
    "                   statistics of its output variables\n"
    "  --steps N        run N steps instead of the project's step count\n"
    "  --seed N         start the random numbers from the seed N (Seed 1 of the generator\n"
    "                   the settings choose)\n"
    "  --generator simple|parallel  draw with the \"Simple\" or the \"Parallel\" generator\n"
    "  --threads N      run on N threads with the \"Parallel\" generator (0: every core);\n"
    "                   the results do not depend on N\n"
    "  --results DIR    write the result files into DIR\n"
    "  --save-as FILE   save the project into FILE after the run\n"
    "  --target-cov PERCENT  stop the run once the probability's coefficient of variation\n"
    "                   falls to PERCENT\n"
    "  --report FILE.pdf  write the report of the project and its results as a PDF file\n"
    "  --sensitivity    print how much each sampled input drives every logged output\n"
    "  --yes            answer Yes where the program would ask\n"
    "  --method M       compute the probability with M instead of the project's method:\n"
    "                   montecarlo (the count over the run), form, sorm, is (importance\n"
    "                   sampling) or subset (subset simulation)\n"
    "  --shard K/N      run only the K-th of N ranges of the run's blocks of 4096 steps\n"
    "                   (0 <= K < N) with the \"Parallel\" generator; needs --seed\n"
    "  --partial FILE   where --shard writes its steps' values for --merge\n"
    "  --merge FILE...  merge the partial results of every shard of a run and print, write\n"
    "                   and report what the run in one process would have\n"
    "  --eval           evaluate one expression with the given values and print it\n"
    "  --help           print this text and exit\n"
    "  --version        print the version and exit\n"
    "\n"
    "Exit codes: 0 success, 1 the model or its run failed, 2 usage or file errors.\n";

namespace {

constexpr int ExitUsage = 2;

bool Present(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

} // namespace

std::optional<int> HandleGeneralOptions(int argc, const char* const* argv, std::ostream& out,
                                        std::ostream& err) {
    for (int i = 0; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            out << ProgramUsage;
            return 0;
        }
        if (arg == "--version") {
            out << "probex " << PROBEX_VERSION << '\n';
            return 0;
        }
        if (arg == "--settings") {
            if (i + 1 >= argc) {
                err << "error: --settings needs a file name\n" << ProgramUsage;
                return ExitUsage;
            }
            ++i;
            continue;
        }
        // Qt's own options start with one dash (-style, -platform): left to Qt.
        if (arg.size() > 2 && arg.compare(0, 2, "--") == 0) {
            err << "error: unknown option " << arg << '\n' << ProgramUsage;
            return ExitUsage;
        }
    }
    return std::nullopt;
}

bool DisplayAvailable() {
    return Present("DISPLAY") || Present("WAYLAND_DISPLAY") || Present("QT_QPA_PLATFORM");
}

int ReportNoDisplay(std::ostream& err) {
    err << "probex: no display to open the window on (DISPLAY is not set).\n"
           "To run a project without windows use: probex --batch PROJECT.pxw\n"
           "See probex --help for every mode.\n";
    return ExitUsage;
}

} // namespace probex
