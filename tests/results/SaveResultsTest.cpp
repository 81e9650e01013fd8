#include "results/SaveResults.h"

#include "results/OwnFiles.h"
#include "results/ResultSet.h"
#include "settings/Settings.h"
#include "simulation/OutputTable.h"
#include "support/ScriptedPrompter.h"

#include "../settings/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace probex {
namespace {

using test::ReadBytes;
using test::WriteBytes;

/// An output table with a run table fed directly: y (Log, row 1), z (Statistics, row 2),
/// w (Histogram, row 4), and an inactive row 3.
class SaveResultsTest : public ::testing::Test {
protected:
    SaveResultsTest()
        : settings(MakeDefaultSettings(dir.dir())), outputs(settings, prompter, [] {}) {
        settings.ResultsDirPath = dir.dir();
        add(1, "y", "Log", {1, 2, 2, 3, 5});
        add(2, "z", "Statistics", {4, 4, 4, 4, 4});
        outputs.setCell(3, colVariable, "off");
        outputs.setCell(3, colActivity, "Inactive");
        add(4, "w", "Histogram", {0, 8, 8, 8, 8});
        options.projectFile = "/projects/Beam.pxw";
        options.stepsDone = 5;
    }

    void add(int row, const char* name, const char* activity, std::initializer_list<Extended> xs) {
        outputs.setCell(row, colVariable, name);
        outputs.setCell(row, colActivity, activity);
        TOutVar& var = outputs.runTable().append(row, row);
        var.Stat = std::make_unique<TOutStat>();
        const int level = ActivityLevel(activity);
        if (level >= 2) {
            var.His = std::make_unique<TOutHis>();
            EXPECT_TRUE(HisAllocate(*var.His, 4));
        }
        if (level == 3) {
            var.Log = std::make_unique<TOutLog>();
            EXPECT_TRUE(var.Log->allocate(static_cast<std::int32_t>(xs.size())));
        }
        std::int32_t slot = 0;
        for (const Extended x : xs) {
            StatAdd(*var.Stat, x);
            if (var.His) HisAdd(*var.His, x);
            if (var.Log) var.Log->store(slot, x);
            ++slot;
        }
    }

    SaveResultsReport save(std::vector<ResultEntry> entries) {
        return SaveResults(outputs, settings, prompter, entries, options);
    }

    std::vector<std::string> written(const SaveResultsReport& report) const {
        std::vector<std::string> names;
        for (const std::string& path : report.files)
            names.push_back(path.substr(path.rfind('/') + 1));
        return names;
    }

    test::TempDir dir;
    TSettings settings;
    test::ScriptedPrompter prompter;
    TOutputTable outputs;
    SaveResultsOptions options;
};

using K = ResultKind;

TEST_F(SaveResultsTest, QualifyingResultsFollowTheAccumulatorsAndTheWindows) {
    const int probabilityWindows[] = {4, 2, 4, 1, 3};
    const int quantileWindows[] = {4};
    EXPECT_EQ(QualifyingResults(outputs, probabilityWindows, quantileWindows),
              (std::vector<ResultEntry>{{K::Statistics, 1},
                                        {K::Statistics, 2},
                                        {K::Statistics, 4},
                                        {K::Histograms, 1},
                                        {K::Histograms, 4},
                                        {K::HistogramStatistics, 1},
                                        {K::HistogramStatistics, 4},
                                        {K::Logs, 1},
                                        {K::Probabilities, 4},
                                        {K::Probabilities, 1},
                                        {K::Quantiles, 4}}));
}

TEST_F(SaveResultsTest, BatchWritesEveryQualifyingKindUnderItsNameWithoutAsking) {
    settings.ResultsFilenamePrompt = true; // ignored without prompts
    options.prompts = false;
    options.directory = dir.path("out"); // created when missing
    TGrdOVarSup& record = outputs.record(4);
    record.probValues[1] = 7;
    record.probResults[1] = 0.99L; // stale: recomputed before writing
    record.quantProbs[1] = 0.5L;
    const int windows[] = {4};
    const SaveResultsReport report = save(QualifyingResults(outputs, windows, windows));
    EXPECT_TRUE(report.ok);
    EXPECT_EQ(written(report), (std::vector<std::string>{"Beam.sta", "y.his", "w.his", "Beam.hsta",
                                                         "Beam.log", "w.prob", "w.quan"}));
    EXPECT_EQ(report.files[0], dir.path("out/Beam.sta"));
    EXPECT_TRUE(prompter.shown.empty());
    // Nothing was computed before: the file computes it. z is constant: kurt -3, covar 0.
    EXPECT_EQ(ReadBytes(dir.path("out/Beam.sta")),
              "1.00000000,4.00000000,0.00000000\r\n5.00000000,4.00000000,8.00000000\r\n"
              "2.60000000,4.00000000,6.40000000\r\n1.35646600,0.00000000,3.20000000\r\n"
              "1.84000000,0.00000000,10.24000000\r\n0.52171769,0.00000000,0.50000000\r\n"
              "0.75003082,0.00000000,-1.50000000\r\n-0.63610586,-3.00000000,0.25000000\r\n");
    EXPECT_EQ(ReadBytes(dir.path("out/Beam.log")),
              "1.00000000\r\n2.00000000\r\n2.00000000\r\n3.00000000\r\n5.00000000\r\n");
    // w over [0, 8] in 4 bins: counts 1, 0, 0, 4; 16 window lines, inputs 0 but line 2.
    EXPECT_EQ(ReadBytes(dir.path("out/w.his")), "0       \r\n8       \r\n1\r\n0\r\n0\r\n4\r\n");
    const std::string zeros = "0.00000000\r\n0.00000000\r\n";
    std::string prob = zeros + "7.00000000\r\n0.60000000\r\n";
    std::string quan = zeros + "0.50000000\r\n6.75000000\r\n";
    for (int line = 3; line <= 16; ++line) {
        prob += zeros;
        quan += zeros;
    }
    EXPECT_EQ(ReadBytes(dir.path("out/w.prob")), prob);
    EXPECT_EQ(ReadBytes(dir.path("out/w.quan")), quan);
    EXPECT_EQ(record.probResults[1], 0.6L);
}

TEST_F(SaveResultsTest, MultipleFilesLabelsAndTheDisForm) {
    settings.StatisticsFiles = ResultFileLayout::Multiple;
    settings.LogFiles = ResultFileLayout::Multiple;
    settings.HistogramDisFormat = true;
    settings.StatisticsNames = settings.StatisticsHeaders = true;
    settings.LogRecords = settings.LogHeaders = true;
    settings.ListSep = ';';
    settings.DecimalSep = ',';
    outputs.setCell(4, colComment, "wind");
    const SaveResultsReport report = save({{K::Logs, 1},
                                           {K::Statistics, 2},
                                           {K::Statistics, 1},
                                           {K::Statistics, 3}, // inactive: skipped
                                           {K::Histograms, 4},
                                           {K::Logs, 2}}); // no log: skipped
    EXPECT_EQ(written(report), (std::vector<std::string>{"z.sta", "y.sta", "w.dis", "y.log"}));
    EXPECT_EQ(ReadBytes(dir.path("z.sta")),
              "Variable:z\r\nMin:4,00000000\r\nMax:4,00000000\r\nMean:4,00000000\r\n"
              "StDev:0,00000000\r\nVari:0,00000000\r\nCoVar:0,00000000\r\nSkew:0,00000000\r\n"
              "Kurt:-3,00000000\r\n");
    EXPECT_TRUE(ReadBytes(dir.path("w.dis"))
                    .starts_with("[Description]\r\nIdentification=wind\r\nType=Continuous\r\n"));
    EXPECT_TRUE(ReadBytes(dir.path("y.log")).starts_with("Records:5\r\n1:1,00000000\r\n2:2,0"));
}

TEST_F(SaveResultsTest, ConstantVariableAnswersItsValueAndZeroOrOne) {
    add(5, "c", "Histogram", {3, 3, 3});
    TGrdOVarSup& record = outputs.record(5);
    record.probValues = {2, 3, 4};
    record.quantProbs = {0.1L, 0.5L, 1};
    options.directory = dir.path("out");
    ASSERT_TRUE(save({{K::Probabilities, 5}, {K::Quantiles, 5}}).ok);
    EXPECT_EQ(std::vector<Extended>(record.probResults.begin(), record.probResults.begin() + 3),
              (std::vector<Extended>{0, 1, 1}));
    EXPECT_EQ(std::vector<Extended>(record.quantResults.begin(), record.quantResults.begin() + 3),
              (std::vector<Extended>{3, 3, 3}));
    EXPECT_TRUE(ReadBytes(dir.path("out/c.quan"))
                    .starts_with("0.10000000\r\n3.00000000\r\n0.50000000\r\n3.00000000\r\n"));
}

TEST_F(SaveResultsTest, PromptedNamesCancelSkipsOnlyThatFileOrKind) {
    settings.ResultsFilenamePrompt = true;
    settings.HistogramStatisticsFiles = ResultFileLayout::Multiple;
    prompter.files = {std::nullopt,             // the single statistics file: kind skipped
                      dir.path("first.his"),    // y
                      std::nullopt,             // w: skipped
                      dir.path("w-stats.txt")}; // w's histogram statistics
    const SaveResultsReport report = save(
        {{K::Statistics, 1}, {K::Histograms, 1}, {K::Histograms, 4}, {K::HistogramStatistics, 4}});
    EXPECT_TRUE(report.ok);
    EXPECT_EQ(written(report), (std::vector<std::string>{"first.his", "w-stats.txt"}));
    ASSERT_EQ(prompter.fileRequests.size(), 4u);
    const Prompter::FileRequest& his = prompter.fileRequests[2];
    EXPECT_TRUE(his.save);
    EXPECT_EQ(his.title, "Save output histogram");
    EXPECT_EQ(his.filter, "Histogram file|*.his");
    EXPECT_EQ(his.defaultExtension, "his");
    EXPECT_EQ(his.fileName, "w.his");
    EXPECT_EQ(his.initialDirectory, dir.dir());
    EXPECT_EQ(prompter.fileRequests[0].fileName, "Beam.sta");
    EXPECT_EQ(prompter.fileRequests[3].fileName, "w.hsta");
    // Multiple histogram statistics files carry the marks: 9 rows and 8 mark rows.
    const std::string hsta = ReadBytes(dir.path("w-stats.txt"));
    EXPECT_EQ(std::count(hsta.begin(), hsta.end(), '\n'), 17);
}

TEST_F(SaveResultsTest, OverwriteQuestionNoReturnsToTheDialog) {
    settings.ResultsFilenamePrompt = true;
    settings.ResultsOverwritePrompt = true;
    WriteBytes(dir.path("old.log"), "old");
    prompter.files = {dir.path("old.log"), dir.path("old.log")};
    prompter.answers = {Prompter::Answer::No, Prompter::Answer::Yes};
    const SaveResultsReport report = save({{K::Logs, 1}});
    EXPECT_EQ(written(report), std::vector<std::string>{"old.log"});
    ASSERT_EQ(prompter.shown.size(), 2u);
    EXPECT_EQ(prompter.shown[0].text,
              dir.path("old.log") + " already exists.\nDo you want to replace it?");
    EXPECT_EQ(prompter.fileRequests[1].fileName, dir.path("old.log"));
    EXPECT_EQ(ReadBytes(dir.path("old.log")).substr(0, 12), "1.00000000\r\n");
}

TEST_F(SaveResultsTest, FailedWriteKeepsOldFilesReportsAndStops) {
    std::filesystem::create_directory(dir.path("y.his")); // a directory in the way
    WriteBytes(dir.path("w.his"), "old w");
    WriteBytes(dir.path("Beam.log"), "old log");
    const SaveResultsReport report =
        save({{K::Statistics, 1}, {K::Histograms, 1}, {K::Histograms, 4}, {K::Logs, 1}});
    EXPECT_FALSE(report.ok);
    EXPECT_EQ(written(report), std::vector<std::string>{"Beam.sta"});
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].kind, Prompter::Kind::Error);
    EXPECT_NE(prompter.shown[0].text.find(dir.path("y.his")), std::string::npos);
    EXPECT_TRUE(std::filesystem::is_directory(dir.path("y.his")));
    EXPECT_EQ(ReadBytes(dir.path("w.his")), "old w");
    EXPECT_EQ(ReadBytes(dir.path("Beam.log")), "old log");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.dir()), {}), 4)
        << "no temporary file left behind";
}

TEST_F(SaveResultsTest, ResultSetArrivesWholeOrNotAtAll) {
    namespace fs = std::filesystem;
    const std::vector<ResultEntry> entries = {{K::Statistics, 1}, {K::Logs, 1}};
    const auto names = [&](const std::string& folder) {
        std::vector<std::string> found;
        for (const auto& entry : fs::directory_iterator(folder))
            found.push_back(entry.path().filename().string());
        std::sort(found.begin(), found.end());
        return found;
    };
    const std::string folder = dir.path("set");
    fs::create_directory(folder);
    WriteBytes(folder + "/Beam.log", "previous\r\n");
    options.directory = folder;

    // Broken off after the first file: the folder stays as it was.
    int asked = 0;
    options.interrupted = [&] { return ++asked == 2; };
    EXPECT_EQ(SaveResultSet(outputs, settings, prompter, entries, options, {}),
              ResultSetOutcome::Interrupted);
    EXPECT_EQ(names(folder), std::vector<std::string>{"Beam.log"});
    EXPECT_EQ(ReadBytes(folder + "/Beam.log"), "previous\r\n");

    // A file the program did not write is replaced only when the question says so.
    options.interrupted = {};
    WriteBytes(folder + "/Beam.sta", "my notes\n");
    ResultSetOptions set;
    set.partialNote = "interrupted at step 5 of 10";
    set.mayReplace = [](const std::string&) { return false; };
    EXPECT_EQ(SaveResultSet(outputs, settings, prompter, entries, options, set),
              ResultSetOutcome::Declined);
    EXPECT_EQ(ReadBytes(folder + "/Beam.sta"), "my notes\n");
    EXPECT_EQ(ReadBytes(folder + "/Beam.log"), "previous\r\n");

    set.mayReplace = {};
    EXPECT_EQ(SaveResultSet(outputs, settings, prompter, entries, options, set),
              ResultSetOutcome::Written);
    EXPECT_EQ(names(folder), (std::vector<std::string>{"Beam.log", "Beam.sta", "PARTIAL.txt"}));
    EXPECT_EQ(ReadBytes(folder + "/PARTIAL.txt"),
              "These result files hold the results of a run that was interrupted:\r\n"
              "Beam.sta\tinterrupted at step 5 of 10\r\nBeam.log\tinterrupted at step 5 of "
              "10\r\n");

    // A complete run: the files as the plain writer gives them, and the list goes.
    EXPECT_EQ(SaveResultSet(outputs, settings, prompter, entries, options, {}),
              ResultSetOutcome::Written);
    EXPECT_EQ(names(folder), (std::vector<std::string>{"Beam.log", "Beam.sta"}));
    options.directory = dir.path("plain");
    ASSERT_TRUE(save(entries).ok);
    for (const char* name : {"/Beam.log", "/Beam.sta"})
        EXPECT_EQ(ReadBytes(folder + name), ReadBytes(dir.path("plain") + name)) << name;
    EXPECT_TRUE(prompter.shown.empty());
}

TEST(OwnFiles, ResultFilesAndReportsAreKnownByWhatTheyHold) {
    const struct {
        const char* name;
        std::string text;
        bool ours;
    } results[] = {
        {"y.log", "Records:5\r\n1:1.00000000\r\n2:-2.50000000\r\n", true},
        {"Beam.sta", "y,z\r\n1.00000000,4.00000000\r\n", true},
        {"w.dis", "[Description]\r\nVariable=w\r\nIdentification=\r\n\r\n[Bins]\r\n4\r\n", true},
        {"w.his", "", true},
        {"syslog.log", "Dec  7 12:00:01 host cron[12]: job\n", false},
        {"notes.sta", "first\r\nsome words here\r\n", false},
        {"passwd", "1\r\n", false},
    };
    for (const auto& c : results) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(IsResultFileText(c.name, c.text), c.ours);
    }
    using namespace std::string_literals;
    EXPECT_TRUE(IsReportPdf("%PDF-1.4\n1 0 obj\n<<\n/Creator (\xFE\xFF\0P\0r\0o\0b\0e\0x)\n"s));
    EXPECT_TRUE(IsReportPdf("%PDF-1.4\n<< /Creator (Probex) >>"));
    EXPECT_FALSE(IsReportPdf("%PDF-1.4\n<< /Creator (Writer) >>"));
    EXPECT_FALSE(IsReportPdf("Probex /Creator (Probex)"));
}

TEST(SaveResultsNames, SingleFileBaseName) {
    const std::pair<const char*, const char*> cases[] = {
        {"/p/Beam.pxw", "Beam"},
        {"C:\\Data\\Frame.v2.pxw", "Frame.v2"},
        {"Plain", "Plain"},
        {"", "Untitled"},
    };
    for (const auto& [file, base] : cases) {
        SCOPED_TRACE(file);
        EXPECT_EQ(ResultFileBaseName(file), base);
    }
}

} // namespace
} // namespace probex
