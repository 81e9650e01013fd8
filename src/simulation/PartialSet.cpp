#include "simulation/PartialSet.h"

namespace probex {

namespace {

std::string Seeds(const TPartialHeader& h) {
    return std::to_string(h.seed1) + ", " + std::to_string(h.seed2);
}

/// How `h` differs from `first` so that they cannot be parts of one run; empty when it does not.
std::string Difference(const TPartialHeader& h, const std::string& path,
                       const TPartialHeader& first, const std::string& firstPath) {
    if (h.checksum != first.checksum)
        return path + " belongs to another project or other settings than " + firstPath;
    if (h.steps != first.steps)
        return path + " is part of a run of " + std::to_string(h.steps) + " steps, " + firstPath +
               " of " + std::to_string(first.steps);
    if (h.seed1 != first.seed1 || h.seed2 != first.seed2)
        return path + " was drawn from the seeds " + Seeds(h) + ", " + firstPath + " from " +
               Seeds(first);
    if (h.shardCount != first.shardCount)
        return path + " is one of " + std::to_string(h.shardCount) + " shards, " + firstPath +
               " one of " + std::to_string(first.shardCount);
    if (h.flags != first.flags || h.variables != first.variables)
        return path + " was run with other options than " + firstPath;
    return {};
}

} // namespace

std::vector<std::string> CheckPartialSet(const std::vector<const TPartialHeader*>& parts,
                                         const std::vector<std::string>& paths,
                                         std::vector<std::size_t>& order) {
    std::vector<std::string> problems;
    order.clear();
    if (parts.empty()) return {"no partial result to merge"};
    const TPartialHeader& first = *parts[0];
    std::vector<std::size_t> byShard(first.shardCount, parts.size());
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const TPartialHeader& h = *parts[i];
        if (std::string difference = Difference(h, paths[i], first, paths[0]);
            !difference.empty()) {
            problems.push_back(std::move(difference));
            continue;
        }
        std::size_t& seen = byShard[h.shard];
        if (seen != parts.size()) {
            problems.push_back(paths[seen] + " and " + paths[i] + " are both shard " +
                               std::to_string(h.shard) + " of " + std::to_string(h.shardCount));
            continue;
        }
        seen = i;
    }
    std::string missing;
    for (std::size_t k = 0; k < byShard.size(); ++k)
        if (byShard[k] == parts.size())
            missing += (missing.empty() ? "" : ", ") + std::to_string(k);
    if (!missing.empty()) {
        const bool one = missing.find(',') == std::string::npos;
        problems.push_back((one ? "shard " : "shards ") + missing + " of " +
                           std::to_string(first.shardCount) + (one ? " is" : " are") +
                           " missing: no part was given");
    }
    if (problems.empty()) order = byShard;
    return problems;
}

} // namespace probex
