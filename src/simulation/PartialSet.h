#pragma once

#include "simulation/PartialResult.h"

#include <cstddef>
#include <string>
#include <vector>

namespace probex {

/// Checks that the parts belong to one run (one project with the same settings, steps, seeds,
/// shard count and recorded variables) and cover each of its steps once. Returns one line per
/// problem, each naming the files at fault (missing shards by their number); none when the
/// parts can be merged, `order` then holding their indices in step order.
std::vector<std::string> CheckPartialSet(const std::vector<const TPartialHeader*>& parts,
                                         const std::vector<std::string>& paths,
                                         std::vector<std::size_t>& order);

} // namespace probex
