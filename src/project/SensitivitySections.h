#pragma once

#include "project/ResultWindows.h"

#include <string>
#include <string_view>

namespace probex {

class ProjectDocument;

/// "[Out.Sensitivity]": the section of a sensitivity window. Written only for open windows,
/// so a project without one reads and writes as it always did.
inline constexpr const char* SensitivitySectionHeader = "[Out.Sensitivity]";

/// One key-value line of the section: "Identification", "Variable", "Event" (Yes: the out
/// equations' event), "Measure" (the name of the charted measure). Other keys are ignored.
void ReadSensitivitySectionLine(ProjectDocument& model, TSensWindowDesc& pending,
                                std::string_view line);

/// Ends the section: the variable gets the activity "Log" (a sensitivity needs its value at
/// every step) and the window opens. False, after "Unable to find variable ...!", when the
/// variable is empty or not in the output table and cannot be added. The pending window is
/// reset either way.
bool FinishSensitivitySection(ProjectDocument& model, TSensWindowDesc& pending);

/// The sections of the open sensitivity windows, lines ending with CR LF.
std::string SensitivitySectionsText(const TResultWindows& windows);

} // namespace probex
