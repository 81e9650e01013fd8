#include "project/ProjectCommands.h"

#include "ProjectFixture.h"
#include "project/ProjectWriter.h"

#include <filesystem>

namespace probex::test {
namespace {

using Answer = Prompter::Answer;

class ProjectCommandsTest : public ProjectFixture {
protected:
    ProjectCommandsTest() : commands(model) {
        std::filesystem::create_directories(settings.InputDirPath);
        std::filesystem::create_directories(settings.DistDirPath);
        WriteBytes(settings.DistDirPath + "/Load.dis",
                   "[Description]\r\nIdentification=Measured \xb5m\r\nType=Continuous\r\n"
                   "Form=Frequency\r\n[Parameters]\r\nMin=0\r\nMax=4\r\n[Bins]\r\n1\r\n3\r\n2\r\n");
    }

    /// A project with every kind of content, names and comments above ASCII included.
    std::string richProject() const {
        return Project(
            Split("Identification=Tr\xe4ger \xfc"
                  "ber Fluss|Steps=2500|[Equations]|"
                  "y = a + b*h + \xe4 ; note|z = y*s|[Variables]|a;Constant;Value=e|"
                  "b;Normal;Min=-1 Max=5 Mean=2 StDev=1.5;\xe9t\xe9|h;C:\\Data\\LOAD.DIS|"
                  "s;Step number|\xe4;Lognormal;Min=0 Max=10 Mean=1 StDev=0.5|"
                  "u;Uniform;Min=1 Max=3|[Out.Equations]|y > 3|[Out.Evaluation]|"
                  "Evaluate=Probability|Parameter=a|Max=4|[Out.Variables]|y;Log;Yes;No;\xa7 1|"
                  "z;Histogram;No;Yes;|[Out.1D]|Variable=y|P1=0.95|[Out.2D]|VariableH=y|"
                  "VariableV=z|DrawLines=Yes|Line=0;0;1;1;Red|[Out.Quantiles]|Variable=z|"
                  "P1=0.5"));
    }

    ProjectCommands commands;
};

TEST_F(ProjectCommandsTest, SaveOpenSaveGivesTheSameBytes) {
    const auto inputCells = [this] {
        std::vector<std::string> cells;
        for (int row = 1; row <= 7; ++row)
            for (int column = 0; column < 4; ++column)
                cells.push_back(model.inputs().cell(row, static_cast<InputColumn>(column)));
        return cells;
    };
    ReadProjectText(model, richProject());
    const std::vector<std::string> inputs = inputCells();
    EXPECT_EQ(model.inputs().cell(3, InputColumn::Type), "load.dis");
    EXPECT_EQ(model.inputs().cell(3, InputColumn::Comment), "Measured \xb5m");
    const TResultWindows windows = model.resultWindows;
    const std::string first = dir.path("first.pxw");
    const std::string second = dir.path("second.pxw");
    ASSERT_TRUE(commands.SaveAs(first));

    settings.IgnoreUnsupParams = true; // the Uniform line carries Mean and StDev
    ASSERT_TRUE(commands.Open(first));
    EXPECT_EQ(commands.title(), "Probex " + first);
    EXPECT_EQ(inputCells(), inputs);
    EXPECT_EQ(model.identification, "Tr\xe4ger \xfc"
                                    "ber Fluss");
    EXPECT_EQ(model.outputs().cell(1, colComment), "\xa7 1");
    EXPECT_TRUE(model.resultWindows.sameWindows(windows));
    ASSERT_TRUE(commands.SaveAs(second));
    EXPECT_EQ(ReadBytes(first), ReadBytes(second));
    EXPECT_EQ(model.lastStep(), 2500);
}

TEST_F(ProjectCommandsTest, NewKeepsStepsAndOverlayObjects) {
    ReadProjectText(model, richProject());
    commands.New();
    EXPECT_EQ(commands.title(), "Probex [Untitled]");
    EXPECT_EQ(commands.CurrentProjectFile(), "");
    EXPECT_EQ(model.lastStep(), 2500);
    EXPECT_EQ(model.resultWindows.objects.count(), 1);
    EXPECT_EQ(model.resultWindows.count(ResultWindowKind::TwoD), 0u);
    EXPECT_TRUE(model.equations.empty());
    EXPECT_EQ(model.inputs().FirstEmptyRow(), 1);
    EXPECT_EQ(model.outputs().FindOutputRow("y"), 0);
    EXPECT_EQ(ProjectText(model).find("[Out.2D]"), std::string::npos);
}

TEST_F(ProjectCommandsTest, DialogsAndTitles) {
    const std::string a = dir.path("a.pxw");
    const std::string b = dir.path("b.pxw");
    WriteBytes(a, Project({"[Equations]", "y = 1"}));
    WriteBytes(b, Project({"[Equations]", "z = 2"}));
    prompter.files = {a, b, std::nullopt};
    ASSERT_TRUE(commands.Open());
    ASSERT_TRUE(commands.Merge());
    EXPECT_FALSE(commands.Open());
    ASSERT_EQ(prompter.fileRequests.size(), 3u);
    const Prompter::FileRequest& request = prompter.fileRequests[0];
    EXPECT_FALSE(request.save);
    EXPECT_EQ(request.filter, "Probex files|*.pxw");
    EXPECT_EQ(request.defaultExtension, "pxw");
    EXPECT_EQ(request.initialDirectory, settings.InputDirPath);
    EXPECT_EQ(commands.title(), "Probex " + a);
    EXPECT_EQ(commands.CurrentProjectFile(), b);
    EXPECT_EQ(model.equations, (std::vector<std::string>{"y = 1", "z = 2"}));
    ASSERT_TRUE(commands.Save());
    EXPECT_NE(ReadBytes(b).find("y = 1\r\nz = 2\r\n"), std::string::npos);
    EXPECT_EQ(commands.fileVersion(), "2.5");
}

TEST_F(ProjectCommandsTest, DialogsStartInAFolderThatExistsAndSaveAsProposesTheName) {
    const std::string home = dir.path("home");
    std::filesystem::create_directory(home);
    ::setenv("HOME", home.c_str(), 1);
    const std::string project = dir.path("sub/beam.pxw");
    std::filesystem::create_directory(dir.path("sub"));
    WriteBytes(project, Project({"[Equations]", "y = 1"}));
    const std::string inputs = settings.InputDirPath;

    prompter.files = {std::nullopt, project, std::nullopt, std::nullopt, std::nullopt};
    EXPECT_FALSE(commands.SaveAs()); // untitled: the default folder, no name proposed
    ASSERT_TRUE(commands.Open());
    EXPECT_FALSE(commands.SaveAs()); // the project's folder and name
    ASSERT_TRUE(model.inputs().AddInputVariable("h"));
    model.inputs().commitCell(model.inputs().FindVarRow("h"), InputColumn::Type, "load");
    settings.InputDirPath = dir.path("gone");
    commands.New();
    EXPECT_FALSE(commands.Merge()); // no project, no default folder: home
    ASSERT_EQ(prompter.fileRequests.size(), 5u);
    const std::pair<std::string, std::string> expected[] = {{inputs, "*.pxw"},
                                                            {inputs, "*.pxw"},
                                                            {dir.path("sub/"), "beam.pxw"},
                                                            {dir.path("sub/"), "*.dis"},
                                                            {home, "*.pxw"}};
    for (std::size_t i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(prompter.fileRequests[i].initialDirectory, expected[i].first);
        EXPECT_EQ(prompter.fileRequests[i].fileName, expected[i].second);
    }
}

TEST_F(ProjectCommandsTest, UnsavedChangesAreAskedAboutWithEachAnswer) {
    const std::string file = dir.path("kept.pxw");
    EXPECT_FALSE(commands.Modified());
    EXPECT_TRUE(commands.ConfirmDiscardChanges()); // nothing to ask
    struct Case {
        const char* change;
        Answer answer;
        bool goOn;
        bool savedAfter;
    };
    const Case cases[] = {{"equations", Answer::Cancel, false, false},
                          {"identification", Answer::No, true, false},
                          {"windows", Answer::Yes, true, true}};
    ASSERT_TRUE(commands.SaveAs(file));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.change);
        const std::string change = c.change;
        if (change == "equations") model.equations = {"y = 2"};
        if (change == "identification") model.identification = "new";
        if (change == "windows") model.resultWindows.open(TStatWindowDesc{"y", ""});
        EXPECT_TRUE(commands.Modified());
        prompter.shown.clear();
        prompter.answers = {c.answer};
        EXPECT_EQ(commands.ConfirmDiscardChanges(), c.goOn);
        EXPECT_EQ(prompter.texts(), std::vector<std::string>{"Save changes to " + file + "?"});
        EXPECT_EQ(prompter.shown[0].buttons, Prompter::Buttons::YesNoCancel);
        EXPECT_EQ(commands.Modified(), !c.savedAfter);
    }
    EXPECT_NE(ReadBytes(file).find("[Out.Statistics]"), std::string::npos);
    ASSERT_TRUE(commands.Open(file));
    EXPECT_FALSE(commands.Modified());
    commands.New();
    model.identification = "x";
    prompter.answers = {Answer::Yes};
    prompter.files = {std::nullopt}; // Save as of an untitled project, cancelled
    EXPECT_FALSE(commands.ConfirmDiscardChanges());
    EXPECT_EQ(prompter.texts().back(), "Save changes to Untitled?");
}

TEST_F(ProjectCommandsTest, FailedOpenKeepsTheProject) {
    model.equations = {"y = 1"};
    EXPECT_FALSE(commands.Open(dir.path("missing.pxw")));
    EXPECT_EQ(model.equations.size(), 1u);

    // A declined file leaves the project untitled, so Save cannot overwrite the file.
    const std::string future = dir.path("future.pxw");
    WriteBytes(future, Lines({"[Main]", "Version=3.0", "[Equations]", "y = 2"}));
    prompter.answers = {Answer::No};
    EXPECT_FALSE(commands.Open(future));
    EXPECT_EQ(commands.CurrentProjectFile(), "");
    EXPECT_EQ(commands.title(), "Probex [Untitled]");
    EXPECT_EQ(commands.fileVersion(), "3.0");

    WriteBytes(future, Project({"Steps=x"}));
    EXPECT_FALSE(commands.Open(future));
    EXPECT_EQ(commands.CurrentProjectFile(), "");

    // No project at all: said so, and the open project stays.
    const std::string empty = dir.path("empty.pxw");
    WriteBytes(empty, "");
    model.equations = {"y = 1"};
    prompter.shown.clear();
    EXPECT_FALSE(commands.Open(empty));
    EXPECT_FALSE(commands.Merge(empty));
    EXPECT_EQ(prompter.texts(),
              std::vector<std::string>(2, "File \"" + empty + "\" is not a Probex project"));
    EXPECT_EQ(model.equations, std::vector<std::string>{"y = 1"});
}

TEST_F(ProjectCommandsTest, SaveAsNamesAndOverwriting) {
    const std::string bare = dir.path("beam");
    ASSERT_TRUE(commands.SaveAs(bare));
    EXPECT_EQ(commands.CurrentProjectFile(), bare + ".pxw");
    EXPECT_TRUE(std::filesystem::exists(bare + ".pxw"));

    settings.InputOverwritePrompt = true;
    model.identification = "changed";
    prompter.answers = {Answer::No, Answer::Yes};
    EXPECT_FALSE(commands.SaveAs(bare + ".pxw"));
    EXPECT_EQ(ReadBytes(bare + ".pxw").find("changed"), std::string::npos);
    EXPECT_TRUE(commands.SaveAs(bare + ".pxw"));
    EXPECT_NE(ReadBytes(bare + ".pxw").find("changed"), std::string::npos);
    EXPECT_EQ(prompter.texts()[0], bare + ".pxw already exists.\nDo you want to replace it?");

    // A failed Save as keeps the name and title of the project.
    std::filesystem::create_directory(dir.path("dir.pxw"));
    settings.InputOverwritePrompt = false;
    EXPECT_FALSE(commands.SaveAs(dir.path("dir.pxw")));
    EXPECT_EQ(commands.CurrentProjectFile(), bare + ".pxw");
    EXPECT_EQ(commands.title(), "Probex " + bare + ".pxw");

    commands.New();
    prompter.files = {std::nullopt};
    EXPECT_FALSE(commands.Save());
    EXPECT_TRUE(prompter.fileRequests.back().save);
}

TEST_F(ProjectCommandsTest, CommandLineFile) {
    const std::string here = dir.path("here");
    std::filesystem::create_directory(here);
    WriteBytes(here + "/beam.pxw", Project({"[Equations]", "here = 1"}));
    WriteBytes(settings.InputDirPath + "/beam.pxw", Project({"[Equations]", "input = 1"}));
    WriteBytes(settings.InputDirPath + "/only.pxw", Project({"[Equations]", "only = 1"}));
    struct Case {
        std::string argument;
        std::string read; // empty: not found
        const char* equation;
    };
    const Case cases[] = {
        {"beam.pxw", here + "/beam.pxw", "here = 1"},
        {"only.pxw", settings.InputDirPath + "/only.pxw", "only = 1"},
        {settings.InputDirPath + "/beam.pxw", settings.InputDirPath + "/beam.pxw", "input = 1"},
        {here + "/only.pxw", "", ""},
        {"nowhere.pxw", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.argument);
        model.equations.clear();
        prompter.shown.clear();
        const bool read = commands.OpenCommandLineFile(c.argument, here);
        EXPECT_EQ(read, !c.read.empty());
        if (read) {
            EXPECT_EQ(model.equations, std::vector<std::string>{c.equation});
            EXPECT_EQ(commands.title(), "Probex " + c.read);
            EXPECT_EQ(commands.CurrentProjectFile(), c.read);
        } else {
            const std::string shown = c.argument.find('/') == std::string::npos
                                          ? settings.InputDirPath + "/" + c.argument
                                          : c.argument;
            EXPECT_EQ(prompter.texts(), std::vector<std::string>{"File " + shown + " not found"});
        }
    }
}

} // namespace
} // namespace probex::test
