#include "settings/RecentFiles.h"

#include "TempDir.h"
#include "settings/IniFile.h"

#include <gtest/gtest.h>

namespace probex {
namespace {

using Files = std::vector<std::string>;

TEST(RecentFiles, NewestFirstWithoutRepeatsAtMostEight) {
    RecentFiles recent;
    for (int i = 1; i <= 10; ++i)
        recent.add("/p/" + std::to_string(i) + ".pxw");
    recent.add("/p/5.pxw");
    recent.add("");
    EXPECT_EQ(recent.files(), (Files{"/p/5.pxw", "/p/10.pxw", "/p/9.pxw", "/p/8.pxw", "/p/7.pxw",
                                     "/p/6.pxw", "/p/4.pxw", "/p/3.pxw"}));
    recent.remove("/p/10.pxw");
    EXPECT_EQ(recent.files().size(), 7u);
    EXPECT_EQ(recent.files()[1], "/p/9.pxw");
}

TEST(RecentFiles, KeptInTheSettingsFileBesideItsOtherSections) {
    test::TempDir temp;
    const std::string file = temp.path("Probex.ini");
    IniFile ini;
    ini.parse("[Settings]\r\nPQLines=12\r\n[Recent files]\r\nFile1=/old.pxw\r\nFile9=/x.pxw\r\n");
    ASSERT_EQ(ini.save(file), "");

    RecentFiles recent;
    recent.load(file);
    EXPECT_EQ(recent.files(), Files{"/old.pxw"}); // only File1..File8 are read
    recent.add("C:\\Data\\beam.pxw");
    ASSERT_EQ(recent.save(file), "");

    IniFile saved;
    ASSERT_TRUE(saved.load(file));
    EXPECT_EQ(saved.readInteger("Settings", "PQLines", 0), 12);
    EXPECT_EQ(saved.readString("Recent files", "File1", ""), "C:\\Data\\beam.pxw");
    EXPECT_EQ(saved.readString("Recent files", "File2", ""), "/old.pxw");
    EXPECT_FALSE(saved.hasKey("Recent files", "File9"));
    RecentFiles again;
    again.load(temp.path("missing.ini"));
    EXPECT_TRUE(again.files().empty());
}

} // namespace
} // namespace probex
