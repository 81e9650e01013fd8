#include "settings/Settings.h"

#include "TempDir.h"
#include "settings/IniFile.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <utility>

namespace probex {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

const std::string kAppDir = "/opt/probex/";

TSettings Fresh(char windowsDecimal = '.') {
    TSettings settings;
    settings.AppDir = kAppDir;
    settings.WindowsDecimalSep = windowsDecimal;
    settings.WindowsListSep = ListSeparatorFor(windowsDecimal);
    return settings;
}

TSettings LoadText(const std::string& text, std::string* error = nullptr,
                   char windowsDecimal = '.') {
    TempDir temp;
    WriteBytes(temp.path("Probex.ini"), text);
    TSettings settings = Fresh(windowsDecimal);
    const std::string message = LoadSettings(temp.path("Probex.ini"), settings);
    if (error != nullptr) *error = message;
    return settings;
}

TEST(Settings, MissingFileOrSectionGivesTheDefaults) {
    TSettings settings = Fresh(',');
    EXPECT_EQ(LoadSettings("/nonexistent/Probex.ini", settings), "");
    EXPECT_EQ(settings.ListSep, ';');
    EXPECT_EQ(settings.DecimalSep, ',');
    EXPECT_EQ(settings.CommentSep, ';');
    EXPECT_TRUE(settings.SaveWinPos && settings.RewriteIDs && settings.RefreshGraph);
    EXPECT_EQ(settings.RefreshRate2D, 10000);
    EXPECT_EQ(settings.Refresh1DStat, 3);
    EXPECT_EQ(settings.PQLines, 16);
    EXPECT_EQ(settings.HistogramSize, 1024);
    EXPECT_EQ(settings.PQFiles, ResultFileLayout::Single);
    EXPECT_EQ(settings.PQKinds[3], PQKind::Q);
    EXPECT_EQ(settings.PQValues, (std::array<Extended, 4>{0.9L, 0.8L, 0.7L, 0.6L}));
    EXPECT_EQ(settings.Mark4Color, 8388608);
    EXPECT_EQ(settings.Plot2DObjectsColor, 65280);
    EXPECT_EQ(settings.InputDir, "/opt/probex/Inputs");
    EXPECT_EQ(settings.DistDirPath, "/opt/probex/Distributions");
    EXPECT_EQ(settings.ResultsDirPath, "/opt/probex/Results");

    TSettings defaults = Fresh(',');
    ResetSettings(defaults);
    EXPECT_EQ(settings, defaults);
    EXPECT_EQ(LoadText("[Main Window]\nLeft=3\n", nullptr, ','), defaults);
}

TEST(Settings, SaveWritesEveryKeyInTableOrderAndKeepsOtherSections) {
    TempDir temp;
    const std::string path = temp.path("Probex.ini");
    WriteBytes(path, "[Main Window]\nLeft=10\n[settings]\nPQLINES=40\nMine=1\n[Toolbars]\nA=1\n");
    TSettings settings = Fresh();
    ResetSettings(settings);
    ASSERT_EQ(SaveSettings(path, settings), "");

    IniFile ini;
    ASSERT_TRUE(ini.load(path));
    std::string keys;
    for (const std::string& key : ini.keys("Settings"))
        keys += key + " ";
    EXPECT_EQ(keys,
              "Mine ListSeparator DecimalSeparator CommentSeparator SaveWinPos RewriteIDs "
              "IgnoreUnsupParams DefInVarsConst DefOutVars RefreshRateStat RefreshStatStat "
              "RefreshRate1D RefreshGraph RefreshProb Refresh1DStat RefreshRate2D "
              "RefreshRatePQ Graph1DBarWidth Graph2DColouration Graph2DDrawLines "
              "Graph2DDrawCircles Graph2DDrawDots StatisticsFiles StatisticsHeaders "
              "StatisticsNames HistogramDisFormat HistogramHeaders HistogramNames "
              "HistogramStatisticsFiles HistogramStatisticsHeaders HistogramStatisticsNames "
              "LogFiles LogHeaders LogNames LogRecords PQFiles PQHeaders PQNames PQCondensed "
              "PQTwoColumns PQLines HistogramSize HisStatIn1D Discrete1D Recalc1D 1PQ 2PQ 3PQ "
              "4PQ 1PQVal 2PQVal 3PQVal 4PQVal PlotDisColor ResultsColor Plot1DColor "
              "Mark1Color Mark2Color Mark3Color Mark4Color Plot2DColor Freq2DStartColor "
              "Freq2DEndColor Prob2DStartColor Prob2DEndColor Plot2DObjectsColor InputDir "
              "ResultsDir DistDir InputOverwritePrompt ResultsOverwritePrompt "
              "InputFilenamePrompt ResultsFilenamePrompt Generator Seed1 Seed2 InitialSampling ");
    EXPECT_EQ(ini.readString("Settings", "PQLines", ""), "16");
    EXPECT_EQ(ini.readString("Settings", "1PQ", ""), "Quantile");
    EXPECT_EQ(ini.readString("Settings", "1PQVal", ""), "0.9");
    EXPECT_EQ(ini.readString("Settings", "Graph2DColouration", ""), "No");
    EXPECT_EQ(ini.readString("Settings", "LogFiles", ""), "Single");
    EXPECT_EQ(ini.readInteger("Main Window", "Left", 0), 10);
    EXPECT_TRUE(ini.hasKey("Toolbars", "A"));
    EXPECT_NE(ReadBytes(path).find("\r\nListSeparator=,\r\n"), std::string::npos);
}

TEST(Settings, EveryKeyRoundTrips) {
    TSettings changed = Fresh();
    ResetSettings(changed);
    changed.ListSep = '|';
    changed.DecimalSep = ',';
    changed.CommentSep = '#';
    changed.SaveWinPos = changed.RewriteIDs = changed.RefreshGraph = false;
    changed.IgnoreUnsupParams = changed.DefInVarsConst = changed.RefreshProb = true;
    changed.Graph2DDrawLines = changed.Graph2DDrawCircles = changed.Graph2DDrawDots = true;
    changed.StatisticsHeaders = changed.StatisticsNames = changed.HistogramDisFormat = true;
    changed.HistogramHeaders = changed.HistogramNames = changed.HistogramStatisticsHeaders = true;
    changed.HistogramStatisticsNames = changed.LogHeaders = changed.LogNames = true;
    changed.LogRecords = changed.PQHeaders = changed.PQNames = changed.PQCondensed = true;
    changed.PQTwoColumns = changed.HisStatIn1D = changed.Discrete1D = changed.Recalc1D = true;
    changed.InputOverwritePrompt = changed.ResultsOverwritePrompt = true;
    changed.InputFilenamePrompt = changed.ResultsFilenamePrompt = true;
    changed.Graph2DColouration = ColourProb;
    changed.StatisticsFiles = changed.HistogramStatisticsFiles = ResultFileLayout::Multiple;
    changed.LogFiles = changed.PQFiles = ResultFileLayout::Multiple;
    changed.PQKinds = {PQKind::P, PQKind::Q, PQKind::P, PQKind::P};
    changed.PQValues = {0.25L, 12.5L, -1e-7L, 0.999L};
    using S = TSettings;
    const std::pair<std::int32_t S::*, std::int32_t> integers[] = {
        {&S::DefOutVars, 3},
        {&S::RefreshRateStat, 7},
        {&S::RefreshStatStat, 0},
        {&S::RefreshRate1D, 999999999},
        {&S::Refresh1DStat, 1},
        {&S::RefreshRate2D, 5},
        {&S::RefreshRatePQ, 6},
        {&S::Graph1DBarWidth, 10},
        {&S::PQLines, 256},
        {&S::HistogramSize, 65536},
        {&S::PlotDisColor, 1},
        {&S::ResultsColor, 2},
        {&S::Plot1DColor, 3},
        {&S::Mark1Color, 4},
        {&S::Mark2Color, 5},
        {&S::Mark3Color, 6},
        {&S::Mark4Color, 7},
        {&S::Plot2DColor, 8},
        {&S::Freq2DStartColor, 9},
        {&S::Freq2DEndColor, 10},
        {&S::Prob2DStartColor, 11},
        {&S::Prob2DEndColor, 12},
        {&S::Plot2DObjectsColor, 0xFFFFFF},
        {&S::Generator, 2},
        {&S::Seed1, -5},
        {&S::Seed2, 2147483647},
        {&S::InitialSampling, 1},
        {&S::Threads, 12}};
    for (const auto& [member, value] : integers)
        changed.*member = value;
    changed.InputDir = ".\\Projects";
    changed.ResultsDir = "C:\\Results";
    changed.DistDir = "";
    DeriveDirectories(changed);

    TempDir temp;
    ASSERT_EQ(SaveSettings(temp.path("Probex.ini"), changed), "");
    TSettings loaded = Fresh();
    EXPECT_EQ(LoadSettings(temp.path("Probex.ini"), loaded), "");
    EXPECT_EQ(loaded, changed);
    EXPECT_EQ(loaded.InputDirPath, "/opt/probex/Projects");
    EXPECT_EQ(loaded.ResultsDirPath, "C:/Results");
    EXPECT_EQ(loaded.DistDirPath, "/opt/probex/");
    EXPECT_NE(ReadBytes(temp.path("Probex.ini")).find("1PQVal=0,25\r\n"), std::string::npos);
}

TEST(Settings, TextValuesReadAsTheProgramPromises) {
    const struct {
        const char* line;
        bool (*check)(const TSettings&);
    } cases[] = {
        {"Graph2DColouration=freq", [](const TSettings& s) { return s.Graph2DColouration == 1; }},
        {"Graph2DColouration=PROB", [](const TSettings& s) { return s.Graph2DColouration == 2; }},
        {"Graph2DColouration=blue", [](const TSettings& s) { return s.Graph2DColouration == 0; }},
        {"StatisticsFiles=single",
         [](const TSettings& s) { return s.StatisticsFiles == ResultFileLayout::Multiple; }},
        {"1PQ=quantile", [](const TSettings& s) { return s.PQKinds[0] == PQKind::P; }},
        {"4PQ=Quantile", [](const TSettings& s) { return s.PQKinds[3] == PQKind::Q; }},
        {"ListSeparator=|", [](const TSettings& s) { return s.ListSep == '|'; }},
        {"ListSeparator=", [](const TSettings& s) { return s.ListSep == ','; }},
        {"ListSeparator=\x01", [](const TSettings& s) { return s.ListSep == ','; }},
        {"CommentSeparator=", [](const TSettings& s) { return s.CommentSep == ';'; }},
        {"CommentSeparator=//", [](const TSettings& s) { return s.CommentSep == '/'; }},
        {"DecimalSeparator=5", [](const TSettings& s) { return s.DecimalSep == '.'; }},
        {"DecimalSeparator=E", [](const TSettings& s) { return s.DecimalSep == '.'; }},
        {"InputDir=.\\Projects",
         [](const TSettings& s) {
             return s.InputDir == ".\\Projects" && s.InputDirPath == kAppDir + "Projects";
         }},
        {"InputDir=", [](const TSettings& s) { return s.InputDirPath == kAppDir; }},
        {"InputDir=..\\Data",
         [](const TSettings& s) { return s.InputDirPath == kAppDir + "../Data"; }},
        {"DistDir=/srv/dist", [](const TSettings& s) { return s.DistDirPath == "/srv/dist"; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_TRUE(c.check(LoadText(std::string("[Settings]\n") + c.line + "\n")));
    }
}

TEST(Settings, BadOrOutOfRangeIntegersClampOrFallBack) {
    const struct {
        const char* line;
        std::int32_t TSettings::*member;
        std::int32_t expected;
    } cases[] = {
        {"DefOutVars=7", &TSettings::DefOutVars, 0},
        {"DefOutVars=0x2", &TSettings::DefOutVars, 2},
        {"PQLines=999", &TSettings::PQLines, 256},
        {"PQLines=0", &TSettings::PQLines, 1},
        {"PQLines=x", &TSettings::PQLines, 16},
        {"HistogramSize=1", &TSettings::HistogramSize, 2},
        {"HistogramSize=100000", &TSettings::HistogramSize, 65536},
        {"RefreshRateStat=0", &TSettings::RefreshRateStat, 1000},
        {"RefreshRate2D=-5", &TSettings::RefreshRate2D, 10000},
        {"Graph1DBarWidth=11", &TSettings::Graph1DBarWidth, 5},
        {"Mark1Color=-1", &TSettings::Mark1Color, 16711680},
        {"Mark1Color=0x0000FF", &TSettings::Mark1Color, 255},
        {"Generator=3", &TSettings::Generator, 3},
        {"Generator=4", &TSettings::Generator, 0},
        {"InitialSampling=5", &TSettings::InitialSampling, 1},
        {"InitialSampling=-1", &TSettings::InitialSampling, 0},
        {"Seed1=-2147483648", &TSettings::Seed1, INT32_MIN},
        {"Seed1=2147483648", &TSettings::Seed1, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(LoadText(std::string("[Settings]\r\n") + c.line + "\r\n").*c.member, c.expected);
    }
    EXPECT_TRUE(LoadText("[Settings]\nSaveWinPos=abc\n").SaveWinPos);
    EXPECT_FALSE(LoadText("[Settings]\nRewriteIDs=0x0\n").RewriteIDs);
    EXPECT_TRUE(LoadText("[Settings]\nRefreshProb=-1\n").RefreshProb);
}

TEST(Settings, ParallelGeneratorIsWrittenAndReadBack) {
    TSettings parallel = Fresh();
    parallel.Generator = 3;
    TempDir temp;
    ASSERT_EQ(SaveSettings(temp.path("Probex.ini"), parallel), "");
    EXPECT_NE(ReadBytes(temp.path("Probex.ini")).find("Generator=3\r\n"), std::string::npos);
    TSettings loaded = Fresh();
    EXPECT_EQ(LoadSettings(temp.path("Probex.ini"), loaded), "");
    EXPECT_EQ(loaded.Generator, 3);
}

TEST(Settings, ThreadsAreWrittenOnlyWhenNotEveryCore) {
    TempDir temp;
    TSettings settings = Fresh();
    ResetSettings(settings);
    ASSERT_EQ(SaveSettings(temp.path("Probex.ini"), settings), "");
    EXPECT_EQ(ReadBytes(temp.path("Probex.ini")).find("Threads"), std::string::npos);
    settings.Threads = 1;
    ASSERT_EQ(SaveSettings(temp.path("Probex.ini"), settings), "");
    EXPECT_NE(ReadBytes(temp.path("Probex.ini")).find("\r\nThreads=1\r\n"), std::string::npos);
    for (const char* text : {"-1", "1025", "many"}) {
        SCOPED_TRACE(text);
        EXPECT_EQ(LoadText(std::string("[Settings]\r\nThreads=") + text + "\r\n").Threads, 0);
    }
    EXPECT_EQ(LoadText("[Settings]\r\nThreads=1024\r\n").Threads, 1024);
}

TEST(Settings, BadMarkValueIsReportedAndTheRestStillReads) {
    std::string error;
    const TSettings settings = LoadText(
        "[Settings]\nListSeparator=;\nDecimalSeparator=,\n1PQVal=0.5\n2PQVal=0,25\n3PQVal=abc\n"
        "Mark1Color=1\n",
        &error);
    EXPECT_EQ(error, "'0.5' is not a valid floating point value");
    EXPECT_EQ(settings.PQValues, (std::array<Extended, 4>{0.9L, 0.25L, 0.7L, 0.6L}));
    EXPECT_EQ(settings.Mark1Color, 1);
}

// "1,5" between fields split at "," could not be read back: such separators fall back to the
// defaults, with a warning, before the mark values are read with them.
TEST(Settings, SeparatorsFilesCannotTellApartFallBackToTheDefaults) {
    const std::pair<const char*, const char*> cases[] = {
        {"DecimalSeparator=,", "The list separator \",\" and the decimal separator \",\" must be "
                               "different characters! The defaults \",\" and \".\" are used."},
        {"ListSeparator==", "The list separator \"=\" cannot separate fields! The defaults \",\" "
                            "and \".\" are used."},
    };
    for (const auto& [line, expected] : cases) {
        TempDir temp;
        WriteBytes(temp.path("Probex.ini"), std::string("[Settings]\n") + line + "\n1PQVal=0.5\n");
        TSettings settings = Fresh();
        std::string warning;
        EXPECT_EQ(LoadSettings(temp.path("Probex.ini"), settings, &warning), "");
        EXPECT_EQ(warning, expected);
        EXPECT_EQ(std::string() + settings.ListSep + settings.DecimalSep, ",.");
        EXPECT_EQ(settings.PQValues[0], 0.5L);
    }
}

TEST(Settings, OddFilesGiveDefaultsWithoutHarm) {
    TSettings defaults = Fresh();
    ResetSettings(defaults);
    std::string valid = "[Settings]\r\nPQLines=40\r\nListSeparator=|\r\n";
    // Every prefix of a valid file: each key either read whole or missing.
    for (std::size_t cut = 0; cut <= valid.size(); ++cut) {
        const TSettings settings = LoadText(valid.substr(0, cut));
        EXPECT_TRUE(settings.PQLines == 16 || settings.PQLines == 4 || settings.PQLines == 40);
    }
    std::string binary;
    for (int i = 0; i < 4096; ++i)
        binary.push_back(static_cast<char>((i * 131 + 7) % 256));
    EXPECT_EQ(LoadText(binary), defaults);
    EXPECT_EQ(LoadText(std::string("[Settings]\0\nPQLines=40", 22)).PQLines, 40);

    std::string huge = "[Settings]\n";
    while (huge.size() < (8u << 20))
        huge += "Filler=" + std::string(200, 'x') + "\n";
    huge += "PQLines=33";
    EXPECT_EQ(LoadText(huge).PQLines, 33);

    std::string empties = "[Settings]\n";
    for (const char* key : {"ListSeparator", "DecimalSeparator", "SaveWinPos", "PQLines",
                            "Mark1Color", "Seed1", "RefreshRateStat", "HistogramSize"})
        empties += std::string(key) + "=\n";
    EXPECT_EQ(LoadText(empties), defaults);
}

TEST(Settings, FailedSaveReportsTheSystemMessage) {
    TempDir temp;
    std::filesystem::create_directory(temp.path("Probex.ini"));
    TSettings settings = Fresh();
    ResetSettings(settings);
    const std::string error = SaveSettings(temp.path("Probex.ini"), settings);
    EXPECT_NE(error.find(std::strerror(EISDIR)), std::string::npos) << error;
}

TEST(Settings, SeparatorsOfTheEnvironment) {
    EXPECT_EQ(ListSeparatorFor(','), ';');
    EXPECT_EQ(ListSeparatorFor('.'), ',');
    const char* old = std::getenv("LC_ALL");
    const std::string saved = old != nullptr ? old : "";
    for (const char* locale : {"C", "no_SUCH.locale"}) {
        SCOPED_TRACE(locale);
        setenv("LC_ALL", locale, 1);
        TSettings settings;
        TakeSystemSeparators(settings);
        EXPECT_EQ(settings.WindowsDecimalSep, '.');
        EXPECT_EQ(settings.WindowsListSep, ',');
    }
    if (old != nullptr)
        setenv("LC_ALL", saved.c_str(), 1);
    else
        unsetenv("LC_ALL");
}

} // namespace
} // namespace probex
