#include "project/ProjectReader.h"

#include "ProjectFixture.h"
#include "project/ProjectWriter.h"

#include <filesystem>

namespace probex::test {
namespace {

using Kind = Prompter::Kind;
using Answer = Prompter::Answer;

class ProjectReaderTest : public ProjectFixture {
protected:
    ReadResult read(const std::string& text) { return ReadProjectText(model, text); }
    const std::string& in(int row, InputColumn column) { return model.inputs().cell(row, column); }
    const std::string& out(int row, int column) { return model.outputs().cell(row, column); }
};

TEST_F(ProjectReaderTest, VersionGate) {
    struct Case {
        const char* version;
        const char* question; // empty: read without asking
    };
    const std::string other = "Input file for Probex version ";
    const Case cases[] = {
        {"2.5", ""},    {"2", ""},  {"2.0", ""},    {"2.10", ""},    {"2.5.1", ""},
        {"2.6", "2.6"}, {"3", "3"}, {"1.0", "1.0"}, {"", "unknown"},
    };
    for (const Case& c : cases) {
        for (const Answer answer : {Answer::Yes, Answer::No}) {
            SCOPED_TRACE(std::string(c.version) + (answer == Answer::Yes ? " yes" : " no"));
            model.equations.clear();
            prompter.shown.clear();
            const bool asks = *c.question != 0;
            if (asks) prompter.answers.push_back(answer);
            const ReadResult result = read(
                Lines({"[Main]", std::string("Version=") + c.version, "[Equations]", "y = 1"}));
            EXPECT_EQ(result.fileVersion, c.version);
            if (!asks) {
                EXPECT_TRUE(prompter.shown.empty());
                EXPECT_EQ(model.equations.size(), 1u);
                break;
            }
            ASSERT_EQ(prompter.shown.size(), 1u);
            EXPECT_EQ(prompter.shown[0].kind, Kind::Warning);
            EXPECT_EQ(prompter.shown[0].buttons, Prompter::Buttons::YesNo);
            EXPECT_EQ(prompter.shown[0].text,
                      std::string(c.question) == "unknown"
                          ? "Input file for unknown version of Probex!  Read anyway?"
                          : other + c.version + " !  Read anyway ?");
            EXPECT_EQ(result.outcome,
                      answer == Answer::Yes ? ReadOutcome::Completed : ReadOutcome::Declined);
            EXPECT_EQ(model.equations.size(), answer == Answer::Yes ? 1u : 0u);
        }
    }
}

TEST_F(ProjectReaderTest, AnyLineEndReads) {
    for (const char* end : {"\r\n", "\n", "\r"}) {
        SCOPED_TRACE(std::string(end) == "\r" ? "CR" : "LF");
        model.clearProject();
        std::string text;
        for (const char* line :
             {"[Main]", "Version=2.5", "Steps=77", "[Equations]", "y = a", "a = 1"})
            text += std::string(line) + end;
        EXPECT_EQ(read(text).outcome, ReadOutcome::Completed);
        EXPECT_EQ(model.equations, (std::vector<std::string>{"y = a", "a = 1"}));
        EXPECT_EQ(model.lastStep(), 77);
        EXPECT_TRUE(prompter.shown.empty());
    }
}

TEST_F(ProjectReaderTest, SectionsAndKeyValueLines) {
    // Without a version only [Main] is read, and nothing is asked.
    read(Lines({"[Main]", "Identification=first", "Steps=7", "[Equations]", "a = 1"}));
    EXPECT_EQ(model.identification, "first");
    EXPECT_EQ(model.lastStep(), 7);
    EXPECT_TRUE(model.equations.empty());
    EXPECT_TRUE(prompter.shown.empty());

    read(Lines(Split("  [main]|Steps=9|[Main] first|Version=2|  STEPS = 100 |Identification=a=b|"
                     "Seed1=5|[Equations]|   y = x + 1   |||\tz = 2|[Out.Equations]|y > 1|x[Main]|"
                     "[My Out.1D]|[Nothing]|lost = 1|[Equations]|[x = 1|w = 3")));
    // "[x = 1" is a header of no section: the lines after it are lost until the next one.
    EXPECT_EQ(model.lastStep(), 100);
    EXPECT_EQ(model.identification, "a=b");
    EXPECT_EQ(model.equations, (std::vector<std::string>{"y = x + 1", "\tz = 2"}));
    EXPECT_EQ(model.outEquationLines, (std::vector<std::string>{"y > 1", "x[Main]"}));
    // "[My Out.1D]" opened a 1D section that names no variable.
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{"Unable to find variable !"});

    read(Project({"Steps=1500000000", "Identification=x;y"}));
    EXPECT_EQ(model.lastStep(), 999999999);
    EXPECT_EQ(model.identification, "x;y");
}

TEST_F(ProjectReaderTest, InputVariableLines) {
    settings.RewriteIDs = true;
    std::filesystem::create_directories(settings.DistDirPath);
    WriteBytes(settings.DistDirPath + "/Beam.DIS",
               "[Description]\r\nIdentification=Beam load\r\nType=Discrete\r\nForm=Frequency\r\n"
               "[Parameters]\r\nMin=0\r\nMax=3\r\n[Bins]\r\n1\r\n2\r\n3\r\n");
    WriteBytes(settings.DistDirPath + "/bad.dis", "[Description]\r\nType=Nonsense\r\n");
    struct Case {
        const char* line;
        const char* name; // the row looked at
        DistKind kind;
        const char* type;
        const char* parameters;
        const char* comment;
        const char* messages; // "|" between two
    };
    using D = DistKind;
    const char* const pi = "Value=Pi (3.141592...)";
    const char* const beam = "Min=0.00000000 Max=3.00000000";
    const char* const undef = "SavedDistribution";
    const char* const normal = "Min=-3.00000000 Max=3.00000000 Mean=1.00000000 StDev=1.00000000";
    const char* const uniform =
        "Min=0.00000000 Max=1.00000000 Mean=0.50000000 StDev=2.886751346E-01";
    const std::string uLine = std::string("u;Uniform;") + uniform;
    const Case cases[] = {
        {"c1;Constant;Value=PI", "c1", D::dkConstant, "Constant", pi, "", ""},
        {"c2;constant;value=2.5;  two ", "c2", D::dkConstant, "Constant", "Value=2.5", "two", ""},
        {"c3;Constant;Value=abc", "c3", D::dkConstant, "Constant", "Value=0.0", "",
         "Invalid value: abc"},
        {"c4;Constant;Size=3", "c4", D::dkConstant, "Constant", "Value=0", "",
         "Unsupported parameter: size for variable c4"},
        {"s;Step number;whatever", "s", D::dkStepNumber, "Step number", "No parameter", "", ""},
        {"n;Normal;mean=1  stdev=2", "n", D::dkNormal, "Normal", normal, "", ""},
        {uLine.c_str(), "u", D::dkUniform, "Uniform", uniform, "", ""},
        {"u2;Uniform;min=0 max=1 mean=0.6 stdev=0.28867513", "u2", D::dkUniform, "Uniform", uniform,
         "", "Unsupported parameter: mean for variable u2"},
        {"e;Exponential;min=x max=5", "e", D::dkExponential, "Exponential",
         "Min=0.00000000 Max=5.00000000 Mean=1.00000000 StDev=1.00000000", "", "Invalid value: x"},
        {"h;C:\\Data\\Beam.DIS;;mine", "h", D::dkDiscrete, "beam.dis", beam, "mine", ""},
        {"h2;Beam.dis", "h2", D::dkDiscrete, "beam.dis", beam, "Beam load", ""},
        {"m;Missing.DIS;;not applied", "m", D::dkUndefined, undef, "", "",
         "File missing.dis not found!"},
        {"b;bad.dis", "b", D::dkUndefined, undef, "", "",
         "Distribution not defined!|Error in file bad.dis !"},
        {"c1;;;kept", "c1", D::dkConstant, "Constant", pi, "kept", ""},
        {"  \xc4rger ;;;\xe9t\xe9", "\xc4rger ", D::dkUndefined, "", "", "\xe9t\xe9", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        prompter.shown.clear();
        read(Project({"[Variables]", c.line}));
        const int row = model.inputs().FindVarRow(c.name);
        ASSERT_GT(row, 0);
        EXPECT_EQ(model.inputs().kind(row), c.kind);
        EXPECT_EQ(in(row, InputColumn::Type), c.type);
        EXPECT_EQ(in(row, InputColumn::Parameters), c.parameters);
        EXPECT_EQ(in(row, InputColumn::Comment), c.comment);
        EXPECT_EQ(prompter.texts(), *c.messages ? Split(c.messages) : std::vector<std::string>{});
    }
    EXPECT_EQ(model.inputs().record(model.inputs().FindVarRow("c2")).Loc, 2.5L);
    EXPECT_EQ(model.inputs().record(model.inputs().FindVarRow("n")).StDev,
              1.0L); // after the empty token

    settings.IgnoreUnsupParams = true;
    prompter.shown.clear();
    read(Project({"[Variables]", "u;Uniform;Min=0 Max=2 Mean=1"}));
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(ProjectReaderTest, CommentRewriteIsAskedWhenSettingsSaySo) {
    settings.RewriteIDs = false;
    read(Project({"[Variables]", "x;;;first"}));
    prompter.answers = {Answer::Cancel, Answer::Ok};
    read(Project({"[Variables]", "x;;;second", "x;;;third"}));
    EXPECT_EQ(in(1, InputColumn::Comment), "third");
    EXPECT_EQ(prompter.texts(),
              (std::vector<std::string>{"Rewrite comment field for variable x ?",
                                        "Rewrite comment field for variable x ?"}));
}

TEST_F(ProjectReaderTest, TooManyVariables) {
    std::vector<std::string> lines{"[Variables]", "[Out.Variables]"};
    for (int i = 1; i <= 256; ++i) {
        lines.insert(lines.begin() + 1, "v" + std::to_string(i) + ";Step number");
        lines.push_back("o" + std::to_string(i));
    }
    read(Project(lines));
    EXPECT_EQ(prompter.texts(),
              (std::vector<std::string>{"Too many variables!", "Can't allocate variable o256 !"}));
    EXPECT_EQ(in(255, InputColumn::Variable), "v2"); // lines were in reverse order
    EXPECT_EQ(out(255, colVariable), "o255");
}

TEST_F(ProjectReaderTest, OutputVariableLines) {
    settings.Discrete1D = true;
    read(Project({"[Out.Variables]", "Y;LOG;maybe;yes;my note", " z ;strange;NO;x; A  b ", ";Log",
                  "y;statistics;;;"}));
    const auto outRow = [this](int row) {
        std::vector<std::string> cells;
        for (int column = 0; column < OutputColumns; ++column)
            cells.push_back(out(row, column));
        return cells;
    };
    EXPECT_EQ(outRow(1), Split("Y|Statistics|Yes|No|"));
    EXPECT_EQ(outRow(2), Split("z|Inactive|No|No| A  b"));
    EXPECT_EQ(out(3, colVariable), "");
    EXPECT_EQ(model.outputs().record(2).markValues, settings.PQValues);
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(ProjectReaderTest, OutEvaluationKeys) {
    read(Project({"[Out.Evaluation]", "Evaluate=PARAMETER", "Parameter=Load", "Min=1", "Max=2.5",
                  "Probability=0.9", "MaxIteration=7", "MaxDifference=0.001", "Unknown=1"}));
    const TOutEvalSettings& eval = model.outEquations().evalSettings();
    EXPECT_EQ(eval.Mode, OutEvalMode::Parameter);
    EXPECT_EQ(eval.ParName, "Load");
    EXPECT_EQ(eval.ParMin, 1);
    EXPECT_EQ(eval.ParMax, 2.5L);
    EXPECT_EQ(eval.Target, 0.9L);
    EXPECT_EQ(eval.MaxIter, 7);
    EXPECT_EQ(eval.MaxDiff, 0.001L);
    read(Project({"[Out.Evaluation]", "Evaluate=probability", "MaxDiff=0.00200000"}));
    EXPECT_EQ(eval.Mode, OutEvalMode::Probability);
    EXPECT_EQ(eval.MaxDiff, 0.002L);
    read(Project({"[Out.Evaluation]", "Evaluate=Inactive"}));
    EXPECT_EQ(eval.Mode, OutEvalMode::Inactive);
}

TEST_F(ProjectReaderTest, ConversionErrorsStopTheReading) {
    struct Case {
        std::vector<std::string> lines;
        const char* message;
    };
    const Case cases[] = {
        {{"[Main]", "Version=2.x"}, "'x' is not a valid integer value"},
        {{"[Main]", "Version=2."}, "'' is not a valid integer value"},
        {{"[Main]", "Version=2", "[Out.Evaluation]", "MaxIteration=1.5"},
         "'1.5' is not a valid integer value"},
        {{"[Main]", "Version=2", "[Out.Evaluation]", "Min=1,5"},
         "'1,5' is not a valid floating point value"},
        {{"[Main]", "Version=2", "[Out.1D]", "Variable=y", "probe=1"},
         "'robe' is not a valid integer value"},
        {{"[Main]", "Version=2", "[Out.2D]", "VariableH=a", "VariableV=b", "Circle=1;2;r"},
         "'r' is not a valid floating point value"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        std::vector<std::string> lines = c.lines;
        lines.insert(lines.end(), {"[Equations]", "after = 1"});
        model.equations.clear();
        model.resultWindows.closeAll();
        prompter.shown.clear();
        EXPECT_EQ(read(Lines(lines)).outcome, ReadOutcome::Stopped);
        EXPECT_EQ(prompter.texts(), std::vector<std::string>{c.message});
        EXPECT_TRUE(model.equations.empty());
        EXPECT_EQ(model.resultWindows.count(ResultWindowKind::OneD) +
                      model.resultWindows.count(ResultWindowKind::TwoD),
                  0u);
    }
    EXPECT_EQ(model.outputs().FindOutputRow("a"), 0); // the 2D window was never finished
}

TEST_F(ProjectReaderTest, MergeAppendsAndUpdates) {
    read(Project({"Identification=first", "[Equations]", "y = a + b", "[Variables]",
                  "a;Constant;Value=1;keep", "b;Step number", "[Out.Variables]", "y;Log;No;No;",
                  "[Out.Statistics]", "Variable=y"}));
    read(Project({"Steps=5", "[Equations]", "z = y", "[Variables]", "A;;;", "c;Constant;Value=3",
                  "B;Constant;Value=2", "[Out.Variables]", "z;Histogram", "[Out.Statistics]",
                  "Variable=Y", "Identification=again", "[Out.Statistics]", "Variable=z"}));
    EXPECT_EQ(model.identification, "first");
    EXPECT_EQ(model.lastStep(), 5);
    EXPECT_EQ(model.equations, (std::vector<std::string>{"y = a + b", "z = y"}));
    EXPECT_EQ(in(1, InputColumn::Parameters), "Value=1");
    EXPECT_EQ(in(1, InputColumn::Comment), "keep");
    EXPECT_EQ(in(2, InputColumn::Type), "Constant");
    EXPECT_EQ(in(3, InputColumn::Variable), "c");
    EXPECT_EQ(out(2, colActivity), "Histogram");
    ASSERT_EQ(model.resultWindows.statistics.size(), 2u);
    EXPECT_EQ(model.resultWindows.statistics[0].identification, "again");
    EXPECT_EQ(model.outputs().record(1).windowIds[owStatistics], "again");
}

TEST_F(ProjectReaderTest, OnlyATextWithAVersionInMainIsAProject) {
    const struct {
        std::string text;
        bool project;
    } cases[] = {
        {"[Main]\r\nVersion=2.5\r\n", true},
        {"  [Main] \nIdentification=x\n VERSION = 2 \n", true},
        {"[Main]\rVersion=2.0\r", true},
        {"[Main]\nVersion=\n", true}, // an unknown version is asked about, not refused
        {"[Main]\nVersion;2.5\n", true},
        {"[Out.Main]\nVersion=2.5\n", true},
        {"", false},
        {"\r\n  \r\n", false},
        {"root:x:0:0:root:/root:/bin/bash\nVersion=1\n", false},
        {std::string("\x7f"
                     "ELF\x02\x01\x01\0\0\0[Main",
                     15),
         false},
        {"[Main]\nIdentification=x\nSteps=10\n", false},
        {"[Equations]\nVersion=2.5\n[Main]\n", false},
        {"[Main]\n[Variables]\nVersion=2.5\n", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(IsProjectText(c.text, ';'), c.project);
    }

    const std::string passwd = dir.path("passwd");
    WriteBytes(passwd, "root:x:0:0:root:/root:/bin/bash\n");
    model.equations = {"y = 1"};
    EXPECT_EQ(ReadProject(model, passwd, false).outcome, ReadOutcome::NotOpened);
    EXPECT_EQ(prompter.texts(),
              std::vector<std::string>{"File \"" + passwd + "\" is not a Probex project"});
    EXPECT_EQ(model.equations, std::vector<std::string>{"y = 1"});
}

TEST_F(ProjectReaderTest, UnreadableFileChangesNothing) {
    const std::string missing = dir.path("none.pxw");
    EXPECT_EQ(ReadProject(model, missing, false).outcome, ReadOutcome::NotOpened);
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{"Cannot open file \"" + missing +
                                                         "\": No such file or directory"});
}

} // namespace
} // namespace probex::test
