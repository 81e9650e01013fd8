#pragma once

#include "project/ResultWindows.h"
#include "variables/Correlations.h"

#include <cstdint>
#include <string>
#include <vector>

namespace probex {

class Prompter;
class TInputTable;
class TOutEquations;
class TOutputTable;
struct TSettings;

/// What the project files read and write: the model texts, the tables, the result windows and
/// the few commands a reading needs. The document model above implements it, so that the file
/// readers and writers stay below the model that drives them.
class ProjectDocument {
public:
    virtual ~ProjectDocument() = default;

    virtual TSettings& settings() = 0;
    virtual Prompter& prompter() = 0;
    virtual TInputTable& inputs() = 0;
    virtual TOutputTable& outputs() = 0;
    virtual TOutEquations& outEquations() = 0;

    virtual std::int32_t lastStep() const = 0;
    /// A change of the step count: clamped to its range; discards the results.
    virtual void setLastStep(std::int64_t steps) = 0;
    /// Discards the results; false when there were none.
    virtual bool InvalidateResults() = 0;
    /// New: empties the texts and both tables and discards the results.
    virtual void clearProject() = 0;

    /// The equations and out-equations texts, one string per line.
    std::vector<std::string> equations;
    std::vector<std::string> outEquationLines;
    std::string identification;
    std::string currentProjectFile;
    /// The open result windows and the 2D overlay objects.
    TResultWindows resultWindows;
    /// The rank correlations of pairs of inputs; a change must discard the results.
    TCorrelations correlations;
};

} // namespace probex
