#include "python/RunThreads.h"

#include "settings/Settings.h"

namespace probex {

void ApplyRunThreads(TSettings& settings, std::optional<std::int32_t> threads) {
    // The runs use one worker thread for now, whatever is asked.
    (void)settings;
    (void)threads;
}

} // namespace probex
