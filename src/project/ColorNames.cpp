#include "project/ColorNames.h"

#include "project/ProjectLines.h"

namespace probex {

const std::array<TColorRec, 16>& ColorTable() {
    static const std::array<TColorRec, 16> table{{
        {0x000000, "Black"},
        {0x000080, "Maroon"},
        {0x008000, "Green"},
        {0x008080, "Olive"},
        {0x800000, "Navy"},
        {0x800080, "Purple"},
        {0x808000, "Teal"},
        {0x808080, "Gray"},
        {0xC0C0C0, "Silver"},
        {0x0000FF, "Red"},
        {0x00FF00, "Lime"},
        {0x00FFFF, "Yellow"},
        {0xFF0000, "Blue"},
        {0xFF00FF, "Fuchsia"},
        {0xFFFF00, "Aqua"},
        {0xFFFFFF, "White"},
    }};
    return table;
}

std::string ColorToName(std::int32_t value, std::int32_t defaultColor) {
    for (const TColorRec& entry : ColorTable())
        if (entry.Value == value) return entry.Name;
    for (const TColorRec& entry : ColorTable())
        if (entry.Value == defaultColor) return entry.Name;
    return "Black";
}

std::int32_t NameToColor(std::string_view name, std::int32_t defaultColor) {
    const std::string lower = LowerAscii(name);
    for (const TColorRec& entry : ColorTable())
        if (LowerAscii(entry.Name) == lower) return entry.Value;
    return defaultColor;
}

} // namespace probex
