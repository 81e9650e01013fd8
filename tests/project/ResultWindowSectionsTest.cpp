#include "project/ResultWindowSections.h"

#include "ProjectFixture.h"
#include "project/ProjectReader.h"
#include "project/ProjectWriter.h"

namespace probex::test {
namespace {

/// Records the window events.
class WindowEvents : public ResultWindowsObserver {
public:
    std::vector<std::string> events;
    void windowOpened(ResultWindowKind kind, std::size_t index) override {
        events.push_back("open " + std::to_string(static_cast<int>(kind)) + ":" +
                         std::to_string(index));
    }
    void windowRaised(ResultWindowKind kind, std::size_t index) override {
        events.push_back("raise " + std::to_string(static_cast<int>(kind)) + ":" +
                         std::to_string(index));
    }
    void pqLineCountChanged(std::int32_t lines) override {
        events.push_back("lines " + std::to_string(lines));
    }
};

class ResultWindowSectionsTest : public ProjectFixture {
protected:
    ResultWindowSectionsTest() { model.resultWindows.setObserver(&events); }
    ReadResult read(const std::vector<std::string>& lines) {
        return ReadProjectText(model, Project(lines));
    }
    const std::string& activity(const char* name) {
        return model.outputs().cell(model.outputs().FindOutputRow(name), colActivity);
    }
    WindowEvents events;
};

TEST_F(ResultWindowSectionsTest, OneDMarks) {
    settings.PQKinds = {PQKind::P, PQKind::Q, PQKind::Q, PQKind::P};
    read({"[Out.1D]", "Variable=Y", "q2=3.5", "P3=0.05", "Q9=1", "Discrete=YES",
          "Recalculate=perhaps"});
    ASSERT_EQ(model.resultWindows.oneD.size(), 1u);
    const T1DWindowDesc& window = model.resultWindows.oneD[0];
    EXPECT_EQ(window.variable, "Y");
    EXPECT_EQ(window.markKinds, (std::array<bool, 4>{false, true, false, false}));
    EXPECT_EQ(window.markValues, (std::array<Extended, 4>{0.9L, 3.5L, 0.05L, 0.6L}));
    EXPECT_TRUE(window.discrete);
    EXPECT_EQ(window.recalculate, settings.Recalc1D);
    const TGrdOVarSup& record = model.outputs().record(1);
    EXPECT_EQ(record.markValues, window.markValues);
    EXPECT_EQ(activity("Y"), "Histogram");
    EXPECT_EQ(model.outputs().cell(1, colDiscrete), "Yes");
}

TEST_F(ResultWindowSectionsTest, ActivityIsRaisedNeverLowered) {
    read({"[Out.Variables]", "a;Log", "b;Inactive", "c;Statistics", "[Out.Statistics]",
          "Variable=a", "[Out.Statistics]", "Variable=b", "[Out.1D]", "Variable=c",
          "[Out.Quantiles]", "Variable=d", "[Out.2D]", "VariableH=b", "VariableV=e"});
    EXPECT_EQ(activity("a"), "Log");
    EXPECT_EQ(activity("c"), "Histogram");
    EXPECT_EQ(activity("d"), "Histogram");
    EXPECT_EQ(activity("b"), "Log");
    EXPECT_EQ(activity("e"), "Log");
    EXPECT_EQ(events.events, (std::vector<std::string>{"open 0:0", "open 0:1", "open 1:0",
                                                       "open 4:0", "open 2:0"}));
}

TEST_F(ResultWindowSectionsTest, SectionsSetOnlyWhatTheirWindowHas) {
    settings.Discrete1D = false;
    read({"[Out.Variables]", "a;Histogram;Yes;Yes", "[Out.Statistics]", "Variable=a", "Discrete=No",
          "Recalculate=No"});
    ASSERT_EQ(model.resultWindows.statistics.size(), 1u);
    EXPECT_EQ(model.outputs().cell(1, colDiscrete), "Yes");
    EXPECT_EQ(model.outputs().cell(1, colRecalculate), "Yes");
    EXPECT_EQ(activity("a"), "Histogram");
}

TEST_F(ResultWindowSectionsTest, ProbabilityAndQuantileLines) {
    settings.PQLines = 16;
    read({"[Out.Probabilities]", "Variable=y", "Q40=2.5", "Q300=1", "Q0=1", "P1=7",
          "[Out.Quantiles]", "Variable=y", "P1=0.95", "P2=1.5", "P3=-0.1"});
    EXPECT_EQ(settings.PQLines, 40);
    EXPECT_EQ(events.events, (std::vector<std::string>{"lines 40", "open 3:0", "open 4:0"}));
    const TGrdOVarSup& record = model.outputs().record(1);
    EXPECT_EQ(record.probValues[39], 2.5L);
    EXPECT_EQ(record.probValues[0], 0);
    EXPECT_EQ(model.resultWindows.probabilities[0].inputs[39], 2.5L);
    EXPECT_EQ(record.quantProbs[0], 0.95L);
    EXPECT_EQ(record.quantProbs[1], 0);
    EXPECT_EQ(record.quantProbs[2], 0);
}

TEST_F(ResultWindowSectionsTest, TwoDObjects) {
    std::vector<std::string> lines{"[Out.2D]",         "VariableH=a",       "VariableV=b",
                                   "Colouration=PROB", "DrawCircles=maybe", "DrawDots=yes"};
    for (int i = 0; i < 17; ++i)
        lines.push_back("Line=" + std::to_string(i) + ";2;3;4;SILVER");
    lines.insert(lines.end(), {"Circle=1;2;0.5;Pink", "Dot= 1 ; 2 ; 3 ; navy "});
    read(lines);
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{"Too many lines in 2D graph!"});
    ASSERT_EQ(model.resultWindows.twoD.size(), 1u);
    const T2DWindowDesc& window = model.resultWindows.twoD[0];
    EXPECT_EQ(window.colouration, 2);
    EXPECT_EQ(window.drawCircles, settings.Graph2DDrawCircles);
    EXPECT_TRUE(window.drawDots);
    const ObjectsRec& objects = model.resultWindows.objects.record(1);
    EXPECT_EQ(objects.LineCount, 16);
    EXPECT_EQ(objects.Lines[15], (LineRec{15, 2, 3, 4, 0xC0C0C0}));
    EXPECT_EQ(objects.Circles[0], (CircleRec{1, 2, 0.5, settings.Plot2DObjectsColor}));
    EXPECT_EQ(objects.Dots[0], (DotRec{1, 2, 3, 0x800000}));

    // A pair of a variable with itself opens the window but keeps no objects; a second
    // section for a known pair replaces its objects.
    prompter.shown.clear();
    read({"[Out.2D]", "VariableH=a", "VariableV=A", "Line=1;1;1;1;Red", "[Out.2D]", "VariableH=A",
          "VariableV=B", "Dot=9;9;9;Red"});
    EXPECT_EQ(model.resultWindows.twoD.size(), 3u);
    EXPECT_EQ(model.resultWindows.objects.count(), 1);
    EXPECT_EQ(objects.LineCount, 0);
    EXPECT_EQ(objects.DotCount, 1);
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(ResultWindowSectionsTest, FinishingFailures) {
    std::vector<std::string> full{"[Out.Variables]"};
    for (int i = 1; i <= OutputRows; ++i)
        full.push_back("v" + std::to_string(i));
    read(full);
    struct Case {
        std::vector<std::string> lines;
        std::vector<std::string> messages;
    };
    const Case cases[] = {
        {{"[Out.Statistics]", "Identification=x"}, {"Unable to find variable !"}},
        {{"[Out.1D]", "Variable=new"}, {"Unable to add variable new!"}},
        {{"[Out.2D]", "VariableH=v1", "VariableV=other"}, {"Unable to add variable other!"}},
        {{"[Out.2D]", "VariableV=v2"}, {"Unable to find variable !"}},
        {{"[Out.Probabilities]", "[Out.Quantiles]", "Variable=V3"}, {"Unable to find variable !"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.messages[0]);
        prompter.shown.clear();
        read(c.lines);
        EXPECT_EQ(prompter.texts(), c.messages);
    }
    EXPECT_EQ(model.resultWindows.count(ResultWindowKind::Quantile), 1u);
    EXPECT_EQ(model.resultWindows.count(ResultWindowKind::Statistics) +
                  model.resultWindows.count(ResultWindowKind::OneD) +
                  model.resultWindows.count(ResultWindowKind::TwoD),
              0u);
    // The failed 2D section had already made its horizontal variable logged.
    EXPECT_EQ(activity("v1"), "Log");
}

TEST_F(ResultWindowSectionsTest, OneWindowPerVariableAndKind) {
    read({"[Out.1D]", "Variable=y", "Q1=1", "[Out.1D]", "Variable=Y", "Identification=two", "Q1=2",
          "[Out.2D]", "VariableH=y", "VariableV=z", "[Out.2D]", "VariableH=y", "VariableV=z"});
    EXPECT_EQ(events.events,
              (std::vector<std::string>{"open 1:0", "raise 1:0", "open 2:0", "open 2:1"}));
    EXPECT_EQ(model.resultWindows.oneD[0].identification, "two");
    EXPECT_EQ(model.resultWindows.oneD[0].markValues[0], 2);
}

TEST_F(ResultWindowSectionsTest, WindowsComeBackFromTheirSections) {
    read(Split("[Out.Statistics]|Variable=s|Identification=\xb5 stat|[Out.1D]|Variable=s|P1=0.1|"
               "Q2=-4|[Out.2D]|VariableH=s|VariableV=t|Colouration=Freq|DrawLines=Yes|"
               "DrawCircles=Yes|Line=1;2;3;4;Teal|Circle=5;6;7;Aqua|[Out.2D]|VariableH=s|"
               // A pair without objects keeps its circle and dot boxes too.
               "VariableV=S|DrawCircles=Yes|DrawDots=Yes|[Out.Probabilities]|"
               "Variable=t|Q3=1e3|[Out.Quantiles]|Variable=s|P2=0.25"));
    const std::string first = ProjectText(model);
    const TResultWindows before = model.resultWindows;
    model.resultWindows.closeAll();
    model.clearProject();
    ReadProjectText(model, first);
    EXPECT_TRUE(model.resultWindows.sameWindows(before));
    EXPECT_EQ(model.resultWindows.objects, before.objects);
    EXPECT_EQ(ProjectText(model), first);
    EXPECT_TRUE(prompter.shown.empty());
}

} // namespace
} // namespace probex::test
