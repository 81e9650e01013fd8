#include "components/MachineMemory.h"

#include <cstdio>
#include <unistd.h>

namespace probex {

std::uint64_t PhysicalMemoryBytes() {
    const long pages = ::sysconf(_SC_PHYS_PAGES);
    const long pageSize = ::sysconf(_SC_PAGESIZE);
    if (pages <= 0 || pageSize <= 0) return 0;
    return static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(pageSize);
}

std::string GigabytesText(long double bytes) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1Lf GB", bytes / 1e9L);
    return text;
}

} // namespace probex
