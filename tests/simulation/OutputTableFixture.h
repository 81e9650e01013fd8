#pragma once

#include "engine/EquationSet.h"
#include "settings/Settings.h"
#include "simulation/OutputTable.h"
#include "support/ScriptedPrompter.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace probex::test {

/// The equation lines parsed and compiled; both steps must succeed.
inline std::unique_ptr<tDecodedEquations> Compiled(const std::vector<std::string>& lines) {
    auto recs = std::make_unique<tEquRecs>();
    auto set = std::make_unique<tDecodedEquations>();
    TEquError error;
    std::uint8_t relation = 0;
    ParseEquationLines(lines, false, *recs, error, relation);
    EXPECT_EQ(error.Code, 0);
    ClearDecoded(*set);
    CompileEquations(*recs, *set, error);
    EXPECT_EQ(error.Code, 0);
    return set;
}

/// An output table on default settings that counts how often its results were discarded.
struct OutputTableFixture {
    TSettings settings;
    ScriptedPrompter prompter;
    int invalidated = 0;
    TOutputTable table{settings, prompter, [this] { ++invalidated; }};

    /// Synchronises with the compiled lines and sets the activities of rows 1, 2, ...
    std::unique_ptr<tDecodedEquations> sync(const std::vector<std::string>& lines,
                                            const std::vector<std::string>& activities = {}) {
        auto set = Compiled(lines);
        EXPECT_TRUE(table.SyncOutputVariables(*set));
        for (std::size_t i = 0; i < activities.size(); ++i)
            table.setCell(static_cast<int>(i) + 1, colActivity, activities[i]);
        return set;
    }
};

} // namespace probex::test
