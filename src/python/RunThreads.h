#pragma once

#include <cstdint>
#include <optional>

namespace probex {

struct TSettings;

/// The number of threads a run of the Python module asks for: none keeps what the settings say,
/// 0 lets the run choose. The one place where the argument reaches the settings.
void ApplyRunThreads(TSettings& settings, std::optional<std::int32_t> threads);

} // namespace probex
