#include "project/ProjectWriter.h"

#include "ProjectFixture.h"
#include "project/ProjectReader.h"

#include <filesystem>

namespace probex::test {
namespace {

class ProjectWriterTest : public ProjectFixture {};

TEST_F(ProjectWriterTest, WritesEverySectionInOrder) {
    model.identification = "Beam \xe9tude";
    model.setLastStep(500);
    model.equations = {"y = x + 1", "", "  z = y*2"};
    TInputTable& inputs = model.inputs();
    ASSERT_TRUE(inputs.AddInputVariable("x"));
    inputs.setCellText(1, InputColumn::Type, "Normal");
    inputs.setCellText(1, InputColumn::Parameters, "Min=0.00000000 Max=1.00000000");
    inputs.setCellText(3, InputColumn::Comment, "orphan");
    model.outEquationLines = {"y > 2"};
    TOutEvalSettings& eval = model.outEquations().evalSettings();
    eval.Mode = OutEvalMode::Parameter;
    eval.ParName = "x";
    eval.ParMax = -12;
    ASSERT_EQ(model.outputs().AddOutputVariable("y", true), 1);
    model.outputs().setCell(1, colComment, "c=1");
    settings.PQLines = 2;
    TResultWindows& windows = model.resultWindows;
    windows.statistics.push_back({"y", ""});
    windows.oneD.push_back(
        {"y", "one", true, false, {true, false, true, false}, {1, 0.5L, 2, 0.25L}});
    windows.twoD.push_back({"y", "x", "", 1, true, false, true});
    windows.twoD.push_back({"y", "y", "same", 2, false, true, true});
    ObjectsRec& objects = windows.objects.record(windows.objects.ObtainObjectsRec("y", "x"));
    objects.LineCount = 1;
    objects.Lines[0] = {1, 2, 3, 4, 0xC0C0C0};
    objects.DotCount = 1;
    objects.Dots[0] = {0.5, -0.5, 3, 0x123456};
    TPQWindowDesc probabilities{"y", "", false, std::vector<Extended>(256)};
    probabilities.inputs[0] = 1.5L;
    windows.probabilities.push_back(probabilities);
    windows.quantiles.push_back({"y", "q", true, std::vector<Extended>(256, 0.5L)});

    EXPECT_EQ(
        ProjectText(model),
        Lines(Split(
            "[Main]|Version=2.5|Identification=Beam \xe9tude|Steps=500||[Equations]|y = x + 1||"
            "  z = y*2||[Variables]|x;Normal;Min=0.00000000 Max=1.00000000;|;;;orphan||"
            "[Out.Equations]|y > 2||[Out.Evaluation]|Evaluate=Parameter|Parameter=x|"
            "Min=0.00000000|Max=-12.00000000|Probability=0.50000000|MaxIteration=50|"
            "MaxDiff=0.00100000||[Out.Variables]|y;Inactive;No;No;c=1||[Out.Statistics]|"
            "Variable=y||[Out.1D]|Identification=one|Variable=y|Discrete=Yes|Recalculate=No|"
            "Q1=1.00000000|P2=0.50000000|Q3=2.00000000|P4=0.25000000||[Out.2D]|VariableH=y|"
            "VariableV=x|Colouration=Freq|DrawLines=Yes|"
            "Line=1.00000000;2.00000000;3.00000000;4.00000000;Silver|DrawCircles=No|DrawDots=Yes|"
            "Dot=0.50000000;-0.50000000;3.00000000;Lime||[Out.2D]|Identification=same|"
            "VariableH=y|VariableV=y|Colouration=Prob|DrawLines=No|DrawCircles=Yes|DrawDots=Yes||"
            "[Out.Probabilities]|"
            "Variable=y|Discrete=No|Q1=1.50000000|Q2=0.00000000||[Out.Quantiles]|"
            "Identification=q|Variable=y|Discrete=Yes|P1=0.50000000|P2=0.50000000|")));
}

TEST_F(ProjectWriterTest, ReadAndSavedProjectKeepsEveryNumber) {
    settings.IgnoreUnsupParams = true; // the saved Uniform line carries Mean and StDev
    ReadProjectText(model,
                    Project(Split("[Variables]|x;Normal;Min=-1 Max=1 Mean=0.000000012 "
                                  "StDev=0.000000003|u;Uniform;Min=0.3333333333 Max=2.5|"
                                  "[Out.Evaluation]|Min=1E-9|Max=0.1234567891|"
                                  "Probability=0.00000000015|MaxDiff=0.000000001|"
                                  "[Out.1D]|Variable=y|P1=1.5E-9|Q2=0.1234567891|"
                                  "[Out.2D]|VariableH=y|VariableV=x|Line=1E-9;2;3;4;Red|"
                                  "Dot=0.5;2.5E-12;1;Red|[Out.Probabilities]|Variable=y|"
                                  "Q1=4.2E-10|[Out.Quantiles]|Variable=y|P1=0.000000001234")));
    ASSERT_TRUE(prompter.shown.empty());
    const std::string saved = ProjectText(model);
    ProjectModel copy(settings, prompter, direct);
    ReadProjectText(copy, saved);
    EXPECT_TRUE(prompter.shown.empty());
    for (const int row : {1, 2}) {
        const TIis& a = model.inputs().record(row);
        const TIis& b = copy.inputs().record(row);
        EXPECT_EQ(std::vector<Extended>({a.Min, a.Max, a.Mean, a.StDev}),
                  std::vector<Extended>({b.Min, b.Max, b.Mean, b.StDev}));
    }
    EXPECT_EQ(copy.inputs().record(1).StDev, 0.000000003L);
    const TOutEvalSettings& a = model.outEquations().evalSettings();
    const TOutEvalSettings& b = copy.outEquations().evalSettings();
    EXPECT_EQ(std::vector<Extended>({a.ParMin, a.ParMax, a.Target, a.MaxDiff}),
              std::vector<Extended>({b.ParMin, b.ParMax, b.Target, b.MaxDiff}));
    EXPECT_TRUE(copy.resultWindows.sameWindows(model.resultWindows));
    EXPECT_EQ(copy.resultWindows.objects, model.resultWindows.objects);
    EXPECT_EQ(ProjectText(copy), saved);
}

TEST_F(ProjectWriterTest, EveryDistributionKindReadsAndWritesBackTheSameBytes) {
    const std::string variables =
        "[Variables]|g;Gumbel;Min=-10.00000000 Max=300.00000000 Mean=100.00000000 "
        "StDev=20.00000000;floods|h;GumbelMin;Min=-300.00000000 Max=10.00000000 "
        "Mean=-100.00000000 StDev=20.00000000;|w;Weibull;Min=0.00000000 Max=10.00000000 "
        "Mean=2.00000000 StDev=1.00000000;|a;Gamma;Min=0.00000000 Max=10.00000000 "
        "Mean=2.00000000 StDev=1.00000000;|b;Beta;Min=1.00000000 Max=3.00000000 "
        "Mean=2.50000000 StDev=0.25000000;|t;Triangular;Min=0.00000000 Max=3.00000000 "
        "Mode=1.00000000;|p;PERT;Min=1.00000000 Max=7.00000000 Mode=2.50000000;|";
    ReadProjectText(model, Project(Split(variables)));
    EXPECT_TRUE(prompter.shown.empty());
    const DistKind kinds[] = {DistKind::dkGumbel, DistKind::dkGumbelMin, DistKind::dkWeibull,
                              DistKind::dkGamma,  DistKind::dkBeta,      DistKind::dkTriangular,
                              DistKind::dkPert};
    for (int row = 1; row <= 7; ++row)
        EXPECT_EQ(model.inputs().kind(row), kinds[row - 1]) << row;
    EXPECT_EQ(model.inputs().record(7).Mode, 2.5L);
    EXPECT_NEAR(model.inputs().record(7).Mean, 3, 1e-15L) << "(1 + 4·2.5 + 7)/6";
    const std::string saved = ProjectText(model);
    EXPECT_NE(saved.find(Lines(Split(variables))), std::string::npos) << saved;
    ProjectModel copy(settings, prompter, direct);
    ReadProjectText(copy, saved);
    EXPECT_TRUE(prompter.shown.empty());
    EXPECT_EQ(ProjectText(copy), saved);
}

TEST_F(ProjectWriterTest, StopRuleKeysReadWithoutMessageAndWriteBackTheSameBytes) {
    TOutEvalSettings& eval = model.outEquations().evalSettings();
    eval.Mode = OutEvalMode::Probability;
    eval.StopRule = true;
    eval.TargetCoV = 2.5L;
    eval.MinSteps = 20000;
    const std::string text = ProjectText(model);
    EXPECT_NE(text.find("MaxDiff=0.00100000\r\nStopRule=Yes\r\nTargetCoV=2.50000000\r\n"
                        "MinSteps=20000\r\n\r\n[Out.Variables]"),
              std::string::npos)
        << text;

    ProjectModel again(settings, prompter, direct);
    EXPECT_EQ(ReadProjectText(again, text, dir.dir()).outcome, ReadOutcome::Completed);
    EXPECT_TRUE(prompter.shown.empty());
    const TOutEvalSettings& read = again.outEquations().evalSettings();
    EXPECT_TRUE(read.StopRule);
    EXPECT_EQ(read.TargetCoV, 2.5L);
    EXPECT_EQ(read.MinSteps, 20000);
    EXPECT_EQ(ProjectText(again), text);
}

TEST_F(ProjectWriterTest, MethodKeysOfEachMethodReadBackToTheSameBytes) {
    for (ReliabilityMethod method :
         {ReliabilityMethod::Form, ReliabilityMethod::Sorm, ReliabilityMethod::ImportanceSampling,
          ReliabilityMethod::SubsetSimulation}) {
        SCOPED_TRACE(MethodWord(method));
        TOutEvalSettings& eval = model.outEquations().evalSettings();
        eval.Mode = OutEvalMode::Probability;
        eval.Reliability = {method, 40, 3, 5000, 4000, 12};
        const std::string text = ProjectText(model);
        EXPECT_NE(text.find("MaxDiff=0.00100000\r\nMethod=" + std::string(MethodWord(method)) +
                            "\r\nFormIterations=40\r\nFormStarts=3\r\nISSamples=5000\r\n"
                            "SubsetSamples=4000\r\nSubsetLevels=12\r\n\r\n"),
                  std::string::npos)
            << text;
        ProjectModel again(settings, prompter, direct);
        EXPECT_EQ(ReadProjectText(again, text, dir.dir()).outcome, ReadOutcome::Completed);
        EXPECT_TRUE(prompter.shown.empty());
        EXPECT_EQ(again.outEquations().evalSettings().Reliability, eval.Reliability);
        EXPECT_EQ(ProjectText(again), text);
    }
    // Monte Carlo with its default settings writes no method key.
    model.outEquations().evalSettings().Reliability = {};
    EXPECT_EQ(ProjectText(model).find("Method="), std::string::npos);
}

TEST_F(ProjectWriterTest, FailedSaveKeepsTheOldFileAndReportsTheSystemMessage) {
    const std::string path = dir.path("beam.pxw");
    WriteBytes(path, "old contents");
    std::filesystem::create_directory(dir.path("blocked.pxw"));
    struct Case {
        std::string path;
        std::string fragment;
    };
    const Case cases[] = {
        {dir.path("blocked.pxw"), "Is a directory"},
        {dir.path("missing/beam.pxw"), "No such file or directory"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        prompter.shown.clear();
        EXPECT_FALSE(WriteProject(model, c.path));
        ASSERT_EQ(prompter.shown.size(), 1u);
        EXPECT_EQ(prompter.shown[0].kind, Prompter::Kind::Error);
        EXPECT_NE(prompter.shown[0].text.find(c.path), std::string::npos);
        EXPECT_NE(prompter.shown[0].text.find(c.fragment), std::string::npos);
    }
    EXPECT_TRUE(std::filesystem::is_directory(dir.path("blocked.pxw")));
    EXPECT_EQ(ReadBytes(path), "old contents");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.dir()),
                            std::filesystem::directory_iterator()),
              2); // no temporary file left behind
    EXPECT_TRUE(WriteProject(model, path));
    EXPECT_EQ(ReadBytes(path), ProjectText(model));
}

} // namespace
} // namespace probex::test
