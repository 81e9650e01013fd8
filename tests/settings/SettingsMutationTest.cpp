#include "settings/Settings.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <random>

namespace probex {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

std::string Mutate(std::string text, std::mt19937& random) {
    const int steps = 1 + static_cast<int>(random() % 8);
    for (int step = 0; step < steps && !text.empty(); ++step) {
        const std::size_t at = random() % text.size();
        switch (random() % 6) {
        case 0:
            text[at] = static_cast<char>(random() % 256);
            break;
        case 1:
            text.insert(at, 1, "=[]\r\n\"; 0x-,."[random() % 14]);
            break;
        case 2:
            text.erase(at, random() % 40);
            break;
        case 3:
            text.insert(at, text.substr(random() % text.size(), random() % 60));
            break;
        case 4:
            text.resize(at);
            break;
        case 5:
            text.insert(at, 1, static_cast<char>('0' + random() % 10));
            break;
        }
    }
    return text;
}

// Whatever a damaged file holds, loading stays within the ranges, and what is saved from it
// loads back the same.
TEST(SettingsMutation, DamagedFilesLoadWithinRangesAndSaveStably) {
    TempDir temp;
    const std::string path = temp.path("Probex.ini");
    TSettings settings;
    settings.AppDir = "/opt/probex/";
    ResetSettings(settings);
    settings.DecimalSep = ',';
    settings.ListSep = ';';
    settings.PQLines = 40;
    settings.InputDir = ".\\Inputs";
    ASSERT_EQ(SaveSettings(path, settings), "");
    const std::string valid = "; kept\r\n[Main Window]\r\nLeft=1\r\n" + ReadBytes(path);

    std::mt19937 random(20240611u);
    for (int round = 0; round < 150; ++round) {
        SCOPED_TRACE(round);
        WriteBytes(path, Mutate(valid, random));
        TSettings first = settings;
        LoadSettings(path, first);
        EXPECT_TRUE(first.DefOutVars >= 0 && first.DefOutVars <= 3);
        EXPECT_TRUE(first.PQLines >= 1 && first.PQLines <= 256);
        EXPECT_TRUE(first.HistogramSize >= 2 && first.HistogramSize <= 65536);
        EXPECT_TRUE(first.RefreshRateStat >= 1 && first.RefreshRate2D >= 1);
        EXPECT_TRUE(first.Graph2DColouration >= 0 && first.Graph2DColouration <= 2);
        EXPECT_TRUE(first.InitialSampling == 0 || first.InitialSampling == 1);
        EXPECT_GE(static_cast<unsigned char>(first.ListSep), 0x20);

        // The first save may shorten a mark value to 15 digits; from then on nothing changes.
        ASSERT_EQ(SaveSettings(path, first), "");
        TSettings second = settings;
        ASSERT_EQ(LoadSettings(path, second), "");
        const std::string bytes = ReadBytes(path);
        ASSERT_EQ(SaveSettings(path, second), "");
        TSettings third = settings;
        LoadSettings(path, third);
        EXPECT_EQ(third, second);
        EXPECT_EQ(ReadBytes(path), bytes);
    }
}

} // namespace
} // namespace probex
