#pragma once

#include "project/ResultWindows.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace probex {

class IniFile;

/// A child window's placement as the windowing system records it.
struct TWindowPlacement {
    std::int32_t Flags = 0;
    std::int32_t ShowCmd = 1; ///< normal, minimised or maximised, in the system's numbering
    std::int32_t PixelsPerInch = 96;
    std::array<std::int32_t, 4> MinMaxPos{}; ///< minimised x, y; maximised x, y
    std::array<std::int32_t, 4> NormPos{};   ///< normal rectangle left, top, right, bottom

    bool operator==(const TWindowPlacement&) const = default;
};

/// The placements of one project's child windows; a missing entry leaves its window where
/// it is.
struct TProjectLayout {
    std::optional<TWindowPlacement> equations;    ///< section "Equations"
    std::optional<TWindowPlacement> outEquations; ///< "OutEquations"
    std::optional<TWindowPlacement> inputVars;    ///< "Input vars"
    std::optional<TWindowPlacement> varList;      ///< "Var list"
    /// Per kind (in `AllResultWindowKinds` order), window n of the list at element n-1.
    std::array<std::vector<std::optional<TWindowPlacement>>, 5> results;
    /// The sensitivity windows in the same way, sections "OutSens_n".
    std::vector<std::optional<TWindowPlacement>> sensitivity;

    bool operator==(const TProjectLayout&) const = default;
};

/// What the windows give and take: their placements now, and placements to restore. Both
/// are called on the main thread.
class LayoutKeeper {
public:
    virtual ~LayoutKeeper() = default;
    virtual TProjectLayout collectLayout() = 0;
    /// Called once the windows made by a reading exist on screen (pending events processed
    /// first). Statistics and 1D windows take the position only; the others (sensitivity
    /// windows too) the whole placement.
    virtual void applyLayout(const TProjectLayout& layout) = 0;
};

/// The project file name with ".ini" in place of its extension ("C:\Work\beam.pxw" gives
/// "C:\Work\beam.ini"); a name without extension gets ".ini" appended.
std::string LayoutFileName(std::string_view projectFile);

/// "OutStat_", "Out1D_", "Out2D_", "OutProb_" or "OutQuant_" followed by n.
std::string LayoutSectionName(ResultWindowKind kind, std::size_t n);

/// The five placement keys of a section; nullopt when the section is missing or its
/// "NormPos" does not hold four integers. Other unreadable keys take their defaults.
std::optional<TWindowPlacement> ReadPlacement(const IniFile& file, std::string_view section);
void WritePlacement(IniFile& file, std::string_view section, const TWindowPlacement& placement);

/// Puts the placements into `file`: the four fixed windows' sections, then the numbered
/// result window sections, the sensitivity windows' last. Numbered sections of windows no longer
/// open are removed; every other section and key stays.
void PutLayout(IniFile& file, const TProjectLayout& layout);

/// The text of a new layout file.
std::string LayoutFileText(const TProjectLayout& layout);

/// Updates the layout file (PutLayout), creating it when missing. A file that exists but
/// cannot be read is left alone. Returns the error text, empty on success.
std::string WriteLayoutFile(const std::string& path, const TProjectLayout& layout);

/// Reads the layout file for `counts` open windows of each kind and `sensitivityCount`
/// sensitivity windows; nullopt when the file does not exist.
std::optional<TProjectLayout> ReadLayoutFile(const std::string& path,
                                             const std::array<std::size_t, 5>& counts,
                                             std::size_t sensitivityCount = 0);

} // namespace probex
