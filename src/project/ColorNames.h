#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace probex {

/// One of the 16 named colours; the value is 0x00BBGGRR.
struct TColorRec {
    std::int32_t Value;
    const char* Name;
};

/// "Black", "Maroon" ... "White", in the order names are looked up.
const std::array<TColorRec, 16>& ColorTable();

/// The name of the first entry with `value`; else the name of `defaultColor` (the setting
/// `Plot2DObjectsColor`); else "Black".
std::string ColorToName(std::int32_t value, std::int32_t defaultColor);

/// The value of the name (letter case ignored), or `defaultColor` when no name matches.
std::int32_t NameToColor(std::string_view name, std::int32_t defaultColor);

} // namespace probex
