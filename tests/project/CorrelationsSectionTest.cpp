#include "project/CorrelationsSection.h"

#include "ProjectFixture.h"
#include "project/ProjectReader.h"
#include "project/ProjectWriter.h"

namespace probex::test {
namespace {

class CorrelationsSectionTest : public ProjectFixture {
protected:
    /// A project with the inputs fy, W and L, then the [Correlations] lines.
    static std::string WithCorrelations(const std::string& lines) {
        return Project(Split("[Variables]|fy;Normal;mean=300 stdev=30 min=0 max=1000|"
                             "W;Normal;mean=1.5 stdev=0.1 min=1 max=2|L;Constant;Value=5|"
                             "[Correlations]|" +
                             lines));
    }
};

TEST_F(CorrelationsSectionTest, EachBadLineGetsItsMessageAndIsSkipped) {
    struct Case {
        const char* line;
        const char* message; // empty: read without a message
    };
    const Case cases[] = {
        {"fy;w;0.5", ""},
        {"fy ; W ; -0.25 ", ""},
        {"fy;X;0.5", "Unknown variable X in correlations!"},
        {";W;0.5", "Unknown variable  in correlations!"},
        {"W;w;0.5", "Variable W correlated with itself!"},
        {"fy;W;abc", "Invalid value: abc"},
        {"fy;W;", "Invalid value: "},
        {"fy;W;1", "Correlation of fy and W out of range (-1, 1): 1"},
        {"fy;W;-1.5", "Correlation of fy and W out of range (-1, 1): -1.5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        model.clearProject();
        prompter.shown.clear();
        ASSERT_EQ(ReadProjectText(model, WithCorrelations(c.line)).outcome, ReadOutcome::Completed);
        if (*c.message == 0) {
            EXPECT_TRUE(prompter.shown.empty());
            ASSERT_EQ(model.correlations.pairs().size(), 1U);
            EXPECT_EQ(model.correlations.pairs()[0].name2, "W"); // the table's spelling
        } else {
            ASSERT_EQ(prompter.shown.size(), 1U);
            EXPECT_EQ(prompter.shown[0].text, c.message);
            EXPECT_EQ(prompter.shown[0].kind, Prompter::Kind::Error);
            EXPECT_TRUE(model.correlations.empty());
        }
    }
}

TEST_F(CorrelationsSectionTest, APairGivenTwiceKeepsTheFirst) {
    ReadProjectText(model, WithCorrelations("fy;W;0.5|W;FY;0.25"));
    ASSERT_EQ(prompter.texts(), std::vector<std::string>{"Correlation of W and fy given twice!"});
    EXPECT_EQ(model.correlations.value("fy", "W"), 0.5L);
}

TEST_F(CorrelationsSectionTest, MergingAProjectUpdatesItsPairs) {
    ReadProjectText(model, WithCorrelations("fy;W;0.5"));
    ReadProjectText(model, Project(Split("[Correlations]|W;fy;-0.125")));
    EXPECT_TRUE(prompter.shown.empty());
    EXPECT_EQ(model.correlations.value("fy", "W"), -0.125L);
}

TEST_F(CorrelationsSectionTest, SavedAndReadBackToTheSameBytes) {
    ReadProjectText(model, WithCorrelations("fy;W;0.4825837395|L;fy;-0.3"));
    const std::string saved = ProjectText(model);
    EXPECT_NE(saved.find("[Variables]"), std::string::npos);
    EXPECT_NE(saved.find("\r\n\r\n[Correlations]\r\nfy;W;0.4825837395\r\nL;fy;-0.3\r\n\r\n"
                         "[Out.Equations]"),
              std::string::npos);
    model.clearProject();
    ReadProjectText(model, saved);
    EXPECT_EQ(ProjectText(model), saved);
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{});
}

TEST_F(CorrelationsSectionTest, NoSectionWithoutPairs) {
    ReadProjectText(model, WithCorrelations("fy;W;0"));
    EXPECT_EQ(ProjectText(model).find("Correlations"), std::string::npos);
}

} // namespace
} // namespace probex::test
