#include "project/SensitivitySections.h"

#include "ProjectFixture.h"
#include "project/ProjectReader.h"
#include "project/ProjectWriter.h"
#include "sensitivity/SensitivityText.h"

namespace probex::test {
namespace {

class SensitivitySectionsTest : public ProjectFixture {
protected:
    ReadResult read(const std::vector<std::string>& lines) {
        return ReadProjectText(model, Project(lines));
    }
};

TEST_F(SensitivitySectionsTest, WindowsComeBackWithTheSameBytes) {
    read(Split("[Out.Variables]|Z;Statistics;No;No;|[Out.Sensitivity]|Identification=what "
               "drives Z|Variable=z|Measure=rank correlation|[Out.Sensitivity]|Event=Yes|"
               "[Out.Sensitivity]|Variable=Z|Measure=Mean shift (sd)"));
    const auto& windows = model.resultWindows.sensitivity;
    ASSERT_EQ(windows.size(), 2u); // the third asked for Z again
    EXPECT_EQ(windows[0].variable, "z");
    EXPECT_EQ(windows[0].measure, static_cast<int>(SensitivityMeasure::MeanShift));
    EXPECT_TRUE(windows[1].event);
    // A sensitivity needs the value of every step.
    EXPECT_EQ(model.outputs().cell(model.outputs().FindOutputRow("Z"), colActivity), "Log");

    const std::string first = ProjectText(model);
    EXPECT_NE(first.find("\r\n[Out.Sensitivity]\r\nEvent=Yes\r\nMeasure=First order\r\n\r\n"),
              std::string::npos)
        << first;
    const TResultWindows before = model.resultWindows;
    model.resultWindows.closeAll();
    model.clearProject();
    ReadProjectText(model, first);
    EXPECT_TRUE(model.resultWindows.sameWindows(before));
    EXPECT_EQ(ProjectText(model), first);
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(SensitivitySectionsTest, WithoutWindowsNothingIsWrittenAndAnEmptyVariableIsReported) {
    read(Split("[Out.Variables]|Z;Log;No;No;"));
    EXPECT_EQ(ProjectText(model).find("Sensitivity"), std::string::npos);
    read(Split("[Out.Sensitivity]|Measure=First order"));
    EXPECT_TRUE(model.resultWindows.sensitivity.empty());
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{"Unable to find variable !"});
}

} // namespace
} // namespace probex::test
