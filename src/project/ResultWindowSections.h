#pragma once

#include "engine/Extended.h"
#include "project/ObjectsTable.h"
#include "project/ResultWindows.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace probex {

class ProjectDocument;
struct TSettings;

/// The keys of one result-window section, collected until the section ends.
struct PendingWindow {
    std::string variable;
    std::string variableH;
    std::string variableV;
    std::string identification;
    bool discrete = false;
    bool recalculate = false;
    std::int32_t colouration = 0;
    std::array<bool, 4> markKinds{}; ///< true: Q
    std::array<Extended, 4> markValues{};
    std::array<Extended, 256> probValues{};
    std::array<Extended, 256> quantProbs{};
    bool drawLines = false;
    bool drawCircles = false;
    bool drawDots = false;
    ObjectsRec objects; ///< the lines, circles and dots read; the names are not used
};

/// The defaults of a pending window, from the settings in force.
void ResetPendingWindow(PendingWindow& pending, const TSettings& settings);

/// One key-value line of a result-window section. Throws ConversionError for a number or a
/// mark index that does not convert ("probe=1" in a 1D section: "'robe' is not a valid
/// integer value"). May raise `PQLines`.
void ReadWindowSectionLine(ProjectDocument& model, ResultWindowKind kind, PendingWindow& pending,
                           std::string_view line);

/// Ends a section: finds or adds the variable(s) in the output table, sets the row(s), opens
/// the window and resets the pending window. False when no window could be opened (the
/// message has been shown).
bool FinishWindowSection(ProjectDocument& model, ResultWindowKind kind, PendingWindow& pending);

/// The sections of every open result window, kind by kind in list order, each followed by an
/// empty line; lines end with CR LF.
std::string ResultWindowSectionsText(ProjectDocument& model);

} // namespace probex
