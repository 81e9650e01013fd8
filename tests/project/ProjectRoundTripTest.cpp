#include "ProjectFixture.h"
#include "project/ProjectReader.h"
#include "project/ProjectWriter.h"

namespace probex::test {
namespace {

class ProjectRoundTripTest : public ProjectFixture {};

// Save, open, save: the second file is the first, byte for byte, and holds what the project
// read at first, whatever that reading met.
TEST_F(ProjectRoundTripTest, SaveOpenSaveIsAFixedPoint) {
    struct Case {
        const char* project; ///< the lines read at first
        const char* kept;    ///< lines both saves hold
        std::vector<std::string> messages = {};
    };
    const Case cases[] = {
        {"Identification=Beam; case=2|[Variables]|x;;;load; case=2|[Out.Statistics]|"
         "Identification=Safety margin; case 2|Variable=Z",
         "Identification=Beam; case=2|x;;;load; case=2|Identification=Safety margin; case 2"},
        {"[Out.2D]|VariableH=Z|VariableV=x|Line=0;1.7976931348623157E308;1;1;Lime",
         "Line=0.00000000;1.797693134E+308;1.00000000;1.00000000;Lime"},
        {"[Out.2D]|VariableH=Z|VariableV=x|Line=0;1e309;1;1;Lime|Dot=1;2;3;Red",
         "Dot=1.00000000;2.00000000;3.00000000;Red",
         {"Coordinate 1e309 is out of range in 2D graph!"}},
        {"[Out.1D]|Variable=Z|[Out.Probabilities]|Variable=Z|[Out.Variables]|Z;Log;Yes;Yes;",
         "Z;Log;Yes;Yes;"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.project);
        prompter.shown.clear();
        ProjectModel first(settings, prompter, direct);
        ReadProjectText(first, Project(Split(c.project)));
        EXPECT_EQ(prompter.texts(), c.messages);
        const std::string saved = ProjectText(first);

        prompter.shown.clear();
        ProjectModel second(settings, prompter, direct);
        EXPECT_EQ(ReadProjectText(second, saved).outcome, ReadOutcome::Completed);
        EXPECT_TRUE(prompter.shown.empty());
        EXPECT_EQ(ProjectText(second), saved);
        for (const std::string& line : Split(c.kept))
            EXPECT_NE(saved.find("\r\n" + line + "\r\n"), std::string::npos) << line;
    }
}

} // namespace
} // namespace probex::test
