#pragma once

#include "app/BatchCommand.h"

#include <iosfwd>

namespace probex {

/// `probex --merge FILE... [--results DIR] [--save-as FILE] [--report FILE.pdf] [--yes]`:
/// checks that the partial results written by `--batch ... --shard K/N --partial FILE` belong
/// to one run and cover each of its steps once, replays them in step order and prints, writes
/// and reports what `--batch` of that run in one process would have. Exit codes as `--batch`;
/// parts that are missing, duplicated, foreign, unreadable or damaged exit with 2.
int RunMergeCommand(int argc, const char* const* argv, std::ostream& out, std::ostream& err,
                    const ReportWriter& writeReport = {});

} // namespace probex
