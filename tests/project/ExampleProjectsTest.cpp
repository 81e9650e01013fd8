// The projects shipped in examples/ read cleanly, and damaged copies of them never crash.

#include "ProjectFixture.h"
#include "project/ProjectReader.h"

#include <filesystem>
#include <random>

namespace probex::test {
namespace {

const std::string Examples = std::string(PROBEX_SOURCE_DIR) + "/examples/";
const char* const ExampleFiles[] = {"beam.pxw", "design-load.pxw", "snow-load.pxw",
                                    "beam-windows.pxw", "poly.pxw"};

TSettings ExampleSettings() {
    TSettings settings = MakeDefaultSettings(Examples);
    settings.ListSep = ',';
    settings.DecimalSep = '.';
    return settings;
}

TEST(ExampleProjects, ReadWithoutAnyMessageAndDamagedCopiesNeverCrash) {
    TSettings settings = ExampleSettings();
    AgreeingPrompter prompter;
    DirectCall direct;
    std::mt19937 random(20261206);
    for (const char* file : ExampleFiles) {
        SCOPED_TRACE(file);
        ProjectModel clean(settings, prompter, direct);
        prompter.texts.clear();
        EXPECT_EQ(ReadProject(clean, Examples + file, false).outcome, ReadOutcome::Completed);
        EXPECT_EQ(prompter.texts, std::vector<std::string>{});
        EXPECT_TRUE(clean.CompileModel());
        const std::string valid = ReadBytes(Examples + file);
        ASSERT_FALSE(valid.empty());
        for (int round = 0; round < 60; ++round) {
            std::string text = valid;
            switch (round % 3) {
            case 0: // truncated anywhere
                text.resize(random() % text.size());
                break;
            case 1: // bytes of any value, NUL and lone CR included
                for (int k = 0; k < 12; ++k)
                    text[random() % text.size()] = static_cast<char>(random() % 256);
                break;
            default: // a line repeated, or cut out
                const std::size_t a = random() % text.size(), b = random() % text.size();
                text = text.substr(0, std::min(a, b)) + text.substr(std::max(a, b)) +
                       text.substr(std::min(a, b), 200);
                break;
            }
            SCOPED_TRACE(round);
            ProjectModel model(settings, prompter, direct);
            ReadProjectText(model, text, Examples);
            model.CompileModel();
        }
    }
}

TEST(ExampleProjects, AProjectNamedWithoutAFolderLiesInTheCurrentDirectory) {
    TSettings settings = ExampleSettings();
    settings.DistDirPath = "/nonexistent/"; // snow.dis is found only beside the project
    AgreeingPrompter prompter;
    DirectCall direct;
    ProjectModel model(settings, prompter, direct);
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(Examples);
    const ReadOutcome outcome = ReadProject(model, "snow-load.pxw", false).outcome;
    std::filesystem::current_path(before);
    EXPECT_EQ(outcome, ReadOutcome::Completed);
    EXPECT_EQ(prompter.texts, std::vector<std::string>{});
    EXPECT_EQ(model.inputs().kind(model.inputs().FindVarRow("snow")), DistKind::dkContinuous);
}

} // namespace
} // namespace probex::test
