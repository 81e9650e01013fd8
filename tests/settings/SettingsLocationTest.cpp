#include "settings/SettingsLocation.h"

#include "TempDir.h"

#include <gtest/gtest.h>

namespace probex {
namespace {

using test::TempDir;

TEST(SettingsLocation, ProgramDirectoryWhenWritableElseTheUserConfigDirectory) {
    TempDir temp;
    const std::string missing = temp.path("not-there");
    const struct {
        std::string exeDir;
        std::optional<std::string> xdg;
        std::optional<std::string> home;
        std::string appDir;
    } cases[] = {
        {temp.path("bin"), temp.path("xdg"), temp.path("home"), temp.path("bin/")},
        {missing, temp.path("xdg"), temp.path("home"), temp.path("xdg/probex/")},
        {missing, std::string(""), temp.path("home"), temp.path("home/.config/probex/")},
        {missing, std::nullopt, temp.path("home/"), temp.path("home/.config/probex/")},
        {missing, std::string("relative"), temp.path("h2"), temp.path("h2/.config/probex/")},
        {missing, std::nullopt, std::nullopt, missing + "/"},
    };
    std::filesystem::create_directory(temp.path("bin"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.appDir);
        const SettingsLocation location = FindSettingsLocation(c.exeDir, c.xdg, c.home);
        EXPECT_EQ(location.AppDir, c.appDir);
        EXPECT_EQ(location.SettingsFile, c.appDir + "Probex.ini");
        if (c.exeDir == missing && c.appDir != missing + "/") {
            EXPECT_TRUE(std::filesystem::is_directory(c.appDir)); // created for the first save
        }
    }
}

TEST(SettingsLocation, ExecutableDirIsTheTestProgramsDirectory) {
    const std::string dir = ExecutableDir();
    ASSERT_FALSE(dir.empty());
    EXPECT_EQ(dir.back(), '/');
    EXPECT_TRUE(std::filesystem::exists(dir + "test_settings"));
}

} // namespace
} // namespace probex
