#include "project/LayoutFile.h"

#include "ProjectFixture.h"
#include "project/ProjectReader.h"
#include "project/ProjectWriter.h"
#include "settings/IniFile.h"

#include <filesystem>

namespace probex::test {
namespace {

/// Gives a fixed layout and records what it is asked to apply.
class RecordingKeeper : public LayoutKeeper {
public:
    TProjectLayout given;
    std::vector<TProjectLayout> applied;
    TProjectLayout collectLayout() override { return given; }
    void applyLayout(const TProjectLayout& layout) override { applied.push_back(layout); }
};

TWindowPlacement Placement(std::int32_t seed) {
    return {
        seed, 1 + seed % 3, 96, {-1, -1, seed, -seed}, {seed, seed + 1, seed + 300, seed + 200}};
}

class LayoutFileTest : public ProjectFixture {};

TEST_F(LayoutFileTest, FileNameRule) {
    struct Case {
        const char* project;
        const char* layout;
    };
    const Case cases[] = {
        {"C:\\Work\\beam.pxw", "C:\\Work\\beam.ini"},
        {"/home/a/beam.pxw", "/home/a/beam.ini"},
        {"beam", "beam.ini"},
        {"/home/a.b/beam", "/home/a.b/beam.ini"},
        {"C:\\a.b\\beam", "C:\\a.b\\beam.ini"},
        {"beam.tar.pxw", "beam.tar.ini"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.project);
        EXPECT_EQ(LayoutFileName(c.project), c.layout);
    }
}

TEST_F(LayoutFileTest, SectionsAndKeys) {
    TProjectLayout layout;
    layout.equations = Placement(1);
    layout.varList = Placement(2);
    layout.results[0] = {Placement(3), Placement(4)};
    layout.results[2] = {std::nullopt, Placement(5)};
    IniFile file;
    file.parse(LayoutFileText(layout));
    EXPECT_EQ(file.readString("OutStat_2", "NormPos", ""), "4,5,304,204");
    EXPECT_EQ(file.readString("OutStat_2", "MinMaxPos", ""), "-1,-1,4,-4");
    EXPECT_EQ(file.readInteger("Equations", "ShowCmd", 0), 2);
    EXPECT_EQ(file.readInteger("Var list", "PixelsPerInch", 0), 96);
    EXPECT_FALSE(file.hasSection("Out2D_1"));
    EXPECT_TRUE(file.hasSection("Out2D_2"));

    const std::string path = dir.path("beam.ini");
    ASSERT_EQ(WriteLayoutFile(path, layout), "");
    const auto read = ReadLayoutFile(path, {2, 0, 2, 0, 0});
    ASSERT_TRUE(read);
    EXPECT_EQ(*read, layout);
    // Fewer windows open: only their sections are taken; more: the extra ones stay put.
    EXPECT_EQ(
        ReadLayoutFile(path, {3, 1, 0, 0, 0})->results[0],
        (std::vector<std::optional<TWindowPlacement>>{Placement(3), Placement(4), std::nullopt}));
    EXPECT_FALSE(ReadLayoutFile(dir.path("none.ini"), {}));

    WriteBytes(path, "[Equations]\r\nNormPos=1,2,3\r\n[OutEquations]\r\nNormPos=1,2,3,4\r\n"
                     "ShowCmd=x\r\n");
    const auto damaged = ReadLayoutFile(path, {});
    EXPECT_FALSE(damaged->equations);
    EXPECT_EQ(damaged->outEquations->NormPos, (std::array<std::int32_t, 4>{1, 2, 3, 4}));
    EXPECT_EQ(damaged->outEquations->ShowCmd, 1);
}

TEST_F(LayoutFileTest, SensitivityWindowsAreNumberedLikeTheOthers) {
    TProjectLayout layout;
    layout.results[3] = {Placement(1)};
    const std::string without = LayoutFileText(layout);
    EXPECT_EQ(without.find("OutSens_"), std::string::npos);

    layout.sensitivity = {std::nullopt, Placement(2)};
    const std::string with = LayoutFileText(layout);
    EXPECT_TRUE(with.starts_with(without));
    IniFile file;
    file.parse(with);
    EXPECT_FALSE(file.hasSection("OutSens_1"));
    EXPECT_EQ(ReadPlacement(file, "OutSens_2"), Placement(2));

    const std::string path = dir.path("beam.ini");
    ASSERT_EQ(WriteLayoutFile(path, layout), "");
    EXPECT_EQ(ReadLayoutFile(path, {0, 0, 0, 1, 0}, 2), layout);
    // Once the windows are closed, their sections go.
    layout.sensitivity.clear();
    ASSERT_EQ(WriteLayoutFile(path, layout), "");
    EXPECT_EQ(ReadBytes(path).find("OutSens_"), std::string::npos);
    EXPECT_EQ(ReadLayoutFile(path, {0, 0, 0, 1, 0}, 1)->sensitivity,
              (std::vector<std::optional<TWindowPlacement>>{std::nullopt}));
}

TEST_F(LayoutFileTest, WritingKeepsWhatIsNotTheLayouts) {
    // A project saved as Probex.pxw has the settings file as its layout file.
    const std::string path = dir.path("Probex.ini");
    WriteBytes(path, "; settings\r\n[Settings]\r\nDecimalSeparator=,\r\n[Main Window]\r\n"
                     "NormPos=1,1,9,9\r\n[Equations]\r\nNormPos=0,0,1,1\r\nOwn=kept\r\n"
                     "[OutStat_1]\r\nNormPos=0,0,1,1\r\n[outstat_2]\r\nNormPos=0,0,1,1\r\n"
                     "[Out1D_1]\r\nNormPos=0,0,1,1\r\n");
    TProjectLayout layout;
    layout.equations = Placement(1);
    layout.results[0] = {Placement(2)};
    ASSERT_EQ(WriteLayoutFile(path, layout), "");
    IniFile file;
    ASSERT_TRUE(file.load(path));
    EXPECT_EQ(file.readString("Settings", "DecimalSeparator", ""), ",");
    EXPECT_EQ(file.readString("Main Window", "NormPos", ""), "1,1,9,9");
    EXPECT_EQ(file.readString("Equations", "Own", ""), "kept");
    EXPECT_EQ(ReadPlacement(file, "Equations"), Placement(1));
    EXPECT_EQ(ReadPlacement(file, "OutStat_1"), Placement(2));
    // Numbered sections of windows no longer open go.
    EXPECT_FALSE(file.hasSection("OutStat_2"));
    EXPECT_FALSE(file.hasSection("Out1D_1"));
    EXPECT_TRUE(ReadBytes(path).starts_with("; settings\r\n[Settings]\r\n"));

    // A layout file that exists but cannot be read is not overwritten.
    std::filesystem::remove(path);
    std::filesystem::create_directory(path);
    EXPECT_NE(WriteLayoutFile(path, layout), "");
    EXPECT_TRUE(std::filesystem::is_directory(path));
}

TEST_F(LayoutFileTest, SavedAndAppliedOnlyWithSaveWinPos) {
    RecordingKeeper keeper;
    keeper.given.inputVars = Placement(7);
    keeper.given.results[0] = {Placement(8), Placement(9)};
    model.resultWindows.statistics = {{"a", ""}, {"b", ""}};
    const std::string project = dir.path("beam.pxw");
    const std::string layout = dir.path("beam.ini");
    for (const bool saveWinPos : {false, true}) {
        SCOPED_TRACE(saveWinPos);
        settings.SaveWinPos = saveWinPos;
        ASSERT_TRUE(WriteProject(model, project, &keeper));
        EXPECT_EQ(std::filesystem::exists(layout), saveWinPos);
    }
    settings.SaveWinPos = false;
    ReadProject(model, project, true, &keeper);
    EXPECT_TRUE(keeper.applied.empty());

    // Merging one more statistics window into one already open: the open one takes
    // "OutStat_1", the merged ones the following sections.
    settings.SaveWinPos = true;
    model.resultWindows.statistics = {{"z", ""}};
    ReadProject(model, project, true, &keeper);
    ASSERT_EQ(keeper.applied.size(), 1u);
    EXPECT_EQ(keeper.applied[0].results[0], (std::vector<std::optional<TWindowPlacement>>{
                                                Placement(8), Placement(9), std::nullopt}));
    EXPECT_EQ(keeper.applied[0].inputVars, Placement(7));
    ReadProject(model, project, false, &keeper);
    EXPECT_EQ(keeper.applied.size(), 1u);
}

} // namespace
} // namespace probex::test
