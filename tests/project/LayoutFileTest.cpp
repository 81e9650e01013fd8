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
