#include "ProjectFixture.h"
#include "project/ProjectReader.h"
#include "project/ProjectWriter.h"

#include <functional>
#include <limits>

namespace probex::test {
namespace {

class ProjectRoundTripTest : public ProjectFixture {};

// Save, open, save: the second file is the first, byte for byte, and the texts come back
// whole, whatever the project held or the first reading met.
TEST_F(ProjectRoundTripTest, SaveOpenSaveIsAFixedPoint) {
    struct Case {
        const char* name;
        std::function<void(ProjectModel&)> build;
        std::vector<std::string> messages; ///< shown while building
    };
    const Case cases[] = {
        {"texts holding the list separator and \"=\"",
         [](ProjectModel& m) {
             m.identification = "Beam; case=2";
             ASSERT_TRUE(m.inputs().AddInputVariable("x"));
             m.inputs().setCellText(1, InputColumn::Comment, "load; case=2");
             ASSERT_EQ(m.outputs().AddOutputVariable("Z", true), 1);
             m.outputs().setCell(1, colActivity, "Statistics");
             m.outputs().setCell(1, colComment, "margin; a=b");
             m.resultWindows.statistics.push_back({"Z", "Safety margin; case 2"});
         },
         {}},
        {"a coordinate at the largest double",
         [](ProjectModel& m) {
             for (const char* name : {"Z", "x"})
                 m.outputs().setCell(m.outputs().AddOutputVariable(name, true), colActivity, "Log");
             m.resultWindows.twoD.push_back({"Z", "x", "", 0, true, false, false});
             TObjectsTable& table = m.resultWindows.objects;
             ObjectsRec& objects = table.record(table.ObtainObjectsRec("Z", "x"));
             objects.LineCount = 1;
             const double largest = std::numeric_limits<double>::max();
             objects.Lines[0] = {0, largest, -largest, 1, 0x00FF00};
         },
         {}},
        {"a coordinate beyond the doubles",
         [this](ProjectModel& m) {
             ReadProjectText(m, Project(Split("[Out.2D]|VariableH=Z|VariableV=x|"
                                              "Line=0;1e309;1;1;Lime|Dot=1;2;3;Red")));
         },
         {"Coordinate 1e309 is out of range in 2D graph!"}},
        {"[Out.Variables] after the result windows",
         [this](ProjectModel& m) {
             ReadProjectText(m, Project(Split("[Out.1D]|Variable=Z|[Out.Probabilities]|Variable=Z|"
                                              "[Out.Variables]|Z;Log;Yes;Yes;")));
         },
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        prompter.shown.clear();
        ProjectModel first(settings, prompter, direct);
        c.build(first);
        EXPECT_EQ(prompter.texts(), c.messages);
        const std::string saved = ProjectText(first);

        prompter.shown.clear();
        ProjectModel second(settings, prompter, direct);
        EXPECT_EQ(ReadProjectText(second, saved).outcome, ReadOutcome::Completed);
        EXPECT_TRUE(prompter.shown.empty());
        EXPECT_EQ(ProjectText(second), saved);
        EXPECT_EQ(second.identification, first.identification);
        EXPECT_EQ(second.inputs().cell(1, InputColumn::Comment),
                  first.inputs().cell(1, InputColumn::Comment));
        EXPECT_EQ(second.outputs().cell(1, colComment), first.outputs().cell(1, colComment));
    }
}

} // namespace
} // namespace probex::test
