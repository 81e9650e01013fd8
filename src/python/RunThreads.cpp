#include "python/RunThreads.h"

#include "settings/Settings.h"

namespace probex {

void ApplyRunThreads(TSettings& settings, std::optional<std::int32_t> threads) {
    // Threads matter only to runs with the "Parallel" generator; the figures never depend
    // on them.
    if (threads) settings.Threads = *threads;
}

} // namespace probex
