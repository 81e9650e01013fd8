#pragma once

#include <cstdint>
#include <string>

namespace probex {

/// The machine's physical memory in bytes; 0 when the system does not say.
std::uint64_t PhysicalMemoryBytes();

/// A size for people, in gigabytes with one decimal ("4.0 GB").
std::string GigabytesText(long double bytes);

} // namespace probex
