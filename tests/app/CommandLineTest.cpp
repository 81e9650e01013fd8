// The program's command-line modes, run as a person runs them.

#include "app/CommandLine.h"

#include "support/ProgramTest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <sys/wait.h>

namespace probex {
namespace {

namespace fs = std::filesystem;

using testing::Outcome;
using testing::ReadAll;

class CommandLineTest : public testing::ProgramTest {};

const std::string Beam = std::string(PROBEX_SOURCE_DIR) + "/examples/beam.pxw";

TEST_F(CommandLineTest, EvalPrintsValuesAndReportsErrors) {
    struct Case {
        const char* arguments;
        int exitCode;
        const char* out;
        const char* err;
    };
    const Case cases[] = {
        {"--eval '2^3^2'", 0, "64\n", ""},
        {"--eval 'fy*1000*W - F*L/1.5' fy=300 W=0.001 F=50 L=5", 0, "133.333333333333333\n", ""},
        {"--eval 'a+' a=1", 1, "", "Error in expression at position 3\n"},
        {"--eval '1/x' x=0", 1, "", "Division by zero\n"},
        {"--eval 'a*b' a=2", 1, "", "Variable without a value: b\n"},
        {"--eval 'a' a=x", 2, "", "Invalid assignment: a=x (expected NAME=VALUE)\n"},
        {"--eval", 2, "", "usage: probex --eval \"EXPR\" [NAME=VALUE ...]\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        const Outcome o = run(c.arguments);
        EXPECT_EQ(o.exitCode, c.exitCode);
        EXPECT_EQ(o.out, c.out);
        EXPECT_EQ(o.err, c.err);
    }
}

TEST_F(CommandLineTest, BatchRunIsReproducibleAndPrintsTheTable) {
    const Outcome first = batch(Beam, "--seed 42 --steps 5000");
    ASSERT_EQ(first.exitCode, 0) << first.err;
    EXPECT_TRUE(first.out.starts_with("Variable\tSteps\tMin\tMax\tMean\tStDev\n")) << first.out;
    EXPECT_NE(first.out.find("\nZ\t5000\t"), std::string::npos);
    EXPECT_NE(first.out.find("\nProbability: 0.00"), std::string::npos);
    const Outcome second = batch(Beam, "--seed 42 --steps 5000");
    EXPECT_EQ(second.out, first.out);
    const Outcome other = batch(Beam, "--seed 43 --steps 5000");
    EXPECT_NE(other.out, first.out);
}

TEST_F(CommandLineTest, GeneratorOptionChoosesHowTheSeedDraws) {
    const Outcome simple = batch(Beam, "--seed 42 --steps 5000");
    const Outcome parallel = batch(Beam, "--seed 42 --steps 5000 --generator parallel");
    ASSERT_EQ(parallel.exitCode, 0) << parallel.err;
    EXPECT_NE(parallel.out.find("\nZ\t5000\t"), std::string::npos);
    EXPECT_NE(parallel.out, simple.out);
    EXPECT_EQ(batch(Beam, "--generator parallel --seed 42 --steps 5000").out, parallel.out);
    EXPECT_EQ(batch(Beam, "--seed 42 --steps 5000 --generator simple").out, simple.out);

    // --seed seeds the generator of the settings; --generator overrides them.
    std::ofstream(settings, std::ios::app) << "Generator=3\r\n";
    EXPECT_EQ(batch(Beam, "--seed 42 --steps 5000").out, parallel.out);
    EXPECT_EQ(batch(Beam, "--seed 42 --steps 5000 --generator simple").out, simple.out);

    const Outcome bad = batch(Beam, "--generator fast");
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_NE(bad.err.find("--generator needs simple or parallel, not 'fast'"), std::string::npos)
        << bad.err;
}

TEST_F(CommandLineTest, ThreadsChangeNothingThatARunPrintsOrWrites) {
    // Every result file of the run, names and bytes, after what it printed.
    auto outcome = [this](const std::string& threads) {
        const fs::path results = dir / ("results" + threads);
        const Outcome o = batch(Beam, "--seed 42 --steps 30000 --generator parallel --threads " +
                                          threads + " --results '" + results.string() + "'");
        EXPECT_EQ(o.exitCode, 0) << o.err;
        std::string text = o.out + o.err;
        std::vector<fs::path> files;
        for (const fs::directory_entry& e : fs::directory_iterator(results))
            files.push_back(e.path());
        std::sort(files.begin(), files.end());
        for (const fs::path& file : files)
            text += "\n" + file.filename().string() + "\n" + ReadAll(file);
        return text;
    };
    const std::string one = outcome("1");
    EXPECT_NE(one.find("\nZ\t30000\t"), std::string::npos) << one;
    for (const char* threads : {"2", "7", "0"}) {
        SCOPED_TRACE(threads);
        EXPECT_TRUE(outcome(threads) == one);
    }
    const Outcome bad = batch(Beam, "--threads many");
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_NE(bad.err.find("--threads needs a whole number from 0 (every core)"), std::string::npos)
        << bad.err;
}

TEST_F(CommandLineTest, TargetCoVStopsTheRunAndThePrecisionFollowsTheProbability) {
    const Outcome o = batch(Beam, "--seed 42 --steps 1000000 --target-cov 10");
    ASSERT_EQ(o.exitCode, 0) << o.err;
    EXPECT_TRUE(o.err.starts_with("information: Stopped at step ")) << o.err;
    const std::size_t at = o.out.find("\nProbability: 0.00");
    ASSERT_NE(at, std::string::npos) << o.out;
    const std::size_t next = o.out.find('\n', at + 1);
    EXPECT_EQ(o.out.substr(next + 1, 10), "Interval: ") << o.out;
    EXPECT_NE(o.out.find(" of " + o.err.substr(29, o.err.find(':', 29) - 29) + "\n"),
              std::string::npos)
        << o.out << o.err;
    EXPECT_EQ(batch(Beam, "--target-cov 0").exitCode, 2);
}

// Ten standard normal inputs and G = 5·√10 − Σx, not logged: Pf = Φ(−5) = 2.8665e-7.
std::string TenInputsProject() {
    std::string text = "[Main]\r\nVersion=2.5\r\nSteps=10\r\n\r\n[Equations]\r\n"
                       "G = 5*10^0.5 - (x1+x2+x3+x4+x5+x6+x7+x8+x9+x10)\r\n\r\n[Variables]\r\n";
    for (int i = 1; i <= 10; ++i)
        text += "x" + std::to_string(i) + ",Normal,Min=-1000 Max=1000 Mean=0 StDev=1,\r\n";
    return text + "\r\n[Out.Equations]\r\n0 > G\r\n\r\n[Out.Evaluation]\r\n"
                  "Evaluate=Probability\r\n\r\n[Out.Variables]\r\nG,Statistics,No,No,\r\n";
}

TEST_F(CommandLineTest, MethodOverridesTheProjectsAndPrintsItsLines) {
    const std::string project = writeProject("ten.pxw", TenInputsProject());
    const Outcome form = batch(project, "--seed 3 --method FORM");
    ASSERT_EQ(form.exitCode, 0) << form.err;
    std::string design = "Design point: ", importance = "Importance: ";
    for (int i = 1; i <= 10; ++i) {
        design += (i > 1 ? ", x" : "x") + std::to_string(i) + " 1.58113883";
        importance += (i > 1 ? ", x" : "x") + std::to_string(i) + " 0.1000";
    }
    EXPECT_NE(form.out.find("\nProbability: 0.00000029\nMethod: FORM, evaluations "),
              std::string::npos)
        << form.out;
    EXPECT_NE(form.out.find("\nBeta: 5.00000000\n" + design + "\n" + importance + "\n"),
              std::string::npos)
        << form.out;

    const Outcome sorm = batch(project, "--seed 3 --method sorm");
    EXPECT_NE(sorm.out.find(importance + "\nSORM: Breitung 2.87e-07, Hohenbichler 2.87e-07, "
                                         "Tvedt 2.87e-07\n"),
              std::string::npos)
        << sorm.out;

    for (const char* method : {"is", "subset"}) {
        SCOPED_TRACE(method);
        const Outcome o = batch(project, std::string("--seed 3 --method ") + method);
        ASSERT_EQ(o.exitCode, 0) << o.err;
        const std::size_t at = o.out.find("\nProbability: 0.0000");
        ASSERT_NE(at, std::string::npos) << o.out;
        const std::size_t next = o.out.find('\n', at + 1);
        EXPECT_EQ(o.out.substr(next + 1, 10), "Interval: ") << o.out;
        EXPECT_NE(o.out.find("%, count -\nMethod: "), std::string::npos) << o.out;
        EXPECT_EQ(batch(project, std::string("--seed 3 --method ") + method).out, o.out);
    }
    EXPECT_EQ(batch(project, "--method newton").exitCode, 2);
}

TEST_F(CommandLineTest, DistributionFileBesideTheProjectIsFound) {
    const Outcome o = batch(std::string(PROBEX_SOURCE_DIR) + "/examples/snow-load.pxw", "--seed 3");
    ASSERT_EQ(o.exitCode, 0) << o.err;
    EXPECT_EQ(o.err, "");
    EXPECT_NE(o.out.find("\nQ\t20000\t"), std::string::npos) << o.out;
}

TEST_F(CommandLineTest, BatchWritesResultsAndTheProject) {
    const fs::path results = dir / "results";
    const fs::path copy = dir / "copy.pxw";
    const Outcome o = batch(Beam, "--seed 5 --steps 300 --results '" + results.string() +
                                      "' --save-as '" + copy.string() + "'");
    ASSERT_EQ(o.exitCode, 0) << o.err;
    for (const char* file : {"beam.sta", "beam.hsta", "beam.log", "Z.his", "R.his", "S.his"})
        EXPECT_TRUE(fs::exists(results / file)) << file;
    EXPECT_NE(ReadAll(results / "beam.log").find("\r\n"), std::string::npos);
    // The saved copy runs to the same figures.
    const Outcome again = batch(copy.string(), "--seed 5");
    EXPECT_EQ(again.exitCode, 0) << again.err;
    EXPECT_EQ(again.out, o.out);
}

TEST_F(CommandLineTest, BatchWritesTheReportAsAPdf) {
    const fs::path report = dir / "beam.pdf";
    const Outcome o = batch(std::string(PROBEX_SOURCE_DIR) + "/examples/beam-windows.pxw",
                            "--seed 3 --steps 2000 --report '" + report.string() + "'");
    ASSERT_EQ(o.exitCode, 0) << o.err;
    EXPECT_EQ(ReadAll(report).substr(0, 5), "%PDF-");
    if (std::system("command -v pdftotext >/dev/null") != 0) GTEST_SKIP() << "no pdftotext";
    const fs::path text = dir / "beam.txt";
    ASSERT_EQ(std::system(("pdftotext '" + report.string() + "' '" + text.string() + "'").c_str()),
              0);
    const std::string pages = ReadAll(text);
    for (const char* expected : {"Steps: 2000", "Input variable fy", "Output variable Z",
                                 "Probabilities Z", "Quantiles R", "2D S & R", "Page 1"})
        EXPECT_NE(pages.find(expected), std::string::npos) << expected;
    // A report that cannot be written fails like any file.
    EXPECT_EQ(
        batch(Beam, "--steps 100 --report '" + (dir / "no/such/dir.pdf").string() + "'").exitCode,
        2);
}

TEST_F(CommandLineTest, SaveAsWritesThroughALinkAndRefusesAReadOnlyFile) {
    const fs::path target = dir / "target.pxw", link = dir / "link.pxw";
    std::ofstream(target) << "old";
    fs::create_symlink(target.filename(), link);
    // "old" is no project: replacing it is a question, answered No without --yes.
    const Outcome asked = batch(Beam, "--steps 10 --save-as '" + link.string() + "'");
    EXPECT_EQ(asked.exitCode, 2);
    EXPECT_NE(asked.err.find("question: "), std::string::npos) << asked.err;
    EXPECT_EQ(asked.out, "");
    EXPECT_EQ(ReadAll(target), "old");
    const Outcome viaLink = batch(Beam, "--steps 10 --yes --save-as '" + link.string() + "'");
    EXPECT_EQ(viaLink.exitCode, 0) << viaLink.err;
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_TRUE(ReadAll(target).starts_with("[Main]\r\n"));

    fs::permissions(target, fs::perms::owner_read);
    const Outcome locked = batch(Beam, "--steps 10 --save-as '" + target.string() + "'");
    EXPECT_EQ(locked.exitCode, 2);
    EXPECT_NE(locked.err.find("Permission denied"), std::string::npos) << locked.err;
    EXPECT_TRUE(ReadAll(target).starts_with("[Main]\r\n"));
}

TEST_F(CommandLineTest, BatchRebuildsThe1DWindowHistogramsThatAskForIt) {
    // y = 1..10: rebuilt over [1, 10] the histogram ends exactly at 10; grown by doubling
    // from [1, 2] it ends past it.
    const auto histogramMax = [this](const char* recalculate) {
        const std::string project = writeProject(
            std::string(recalculate) + ".pxw",
            "[Main]\r\nVersion=2.5\r\nSteps=10\r\n[Equations]\r\ny = x\r\n[Variables]\r\n"
            "x,Step number,,\r\n[Out.Variables]\r\ny,Log,No,Yes,\r\n[Out.1D]\r\nVariable=y\r\n"
            "Recalculate=" +
                std::string(recalculate) + "\r\n");
        const fs::path results = dir / recalculate;
        const Outcome o = batch(project, "--results '" + results.string() + "'");
        EXPECT_EQ(o.exitCode, 0) << o.err;
        std::istringstream lines(ReadAll(results / (std::string(recalculate) + ".hsta")));
        std::string min, max;
        std::getline(lines, min);
        std::getline(lines, max);
        return max;
    };
    EXPECT_EQ(histogramMax("Yes"), "10.00000000\r");
    EXPECT_NE(histogramMax("No"), "10.00000000\r");
}

TEST_F(CommandLineTest, BatchExitCodes) {
    const std::string runtimeError = writeProject(
        "div.pxw", "[Main]\r\nVersion=2.5\r\nSteps=10\r\n[Equations]\r\ny = 1/x\r\n[Variables]\r\n"
                   "x,Constant,Value=0,\r\n[Out.Variables]\r\ny,Statistics,No,No,\r\n");
    const std::string compileError = writeProject(
        "bad.pxw", "[Main]\r\nVersion=2.5\r\n[Equations]\r\ny = (x\r\nz = x +\r\n[Variables]\r\n"
                   "x,Constant,Value=1,\r\n");
    struct Case {
        std::string arguments;
        int exitCode;
        const char* errorText;
    };
    const Case cases[] = {
        {"--batch", 2, "no project file"},
        {"--batch '" + Beam + "' --steps many", 2, "--steps needs a whole number"},
        {"--batch '" + Beam + "' --frobnicate", 2, "unknown option --frobnicate"},
        {"--batch '" + (dir / "missing.pxw").string() + "'", 2, "could not be read"},
        {"--batch '" + runtimeError + "' --settings '" + settings.string() + "'", 1,
         "Division by zero"},
        {"--batch '" + compileError + "' --settings '" + settings.string() + "'", 1,
         "Error in expression"},
        {"--batch '" + Beam + "' --settings '" + (dir / "none.ini").string() + "'", 2,
         "settings file not found"},
        {"--batch /etc/passwd --settings '" + settings.string() + "'", 2,
         "error: File \"/etc/passwd\" is not a Probex project\n"},
        {"--batch '" + writeProject("empty.pxw", "") + "' --settings '" + settings.string() + "'",
         2, "is not a Probex project"},
        {"--batch /dev/zero --settings '" + settings.string() + "'", 2, "more than 64 MB"},
        {"--batch '" + Beam + "' --settings /dev/zero", 2, "not a regular file"},
        {"--batch '" + Beam + "' --steps 10 --settings '" + settings.string() + "' --results " +
             "/proc/version/x",
         2, "error: "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        const Outcome o = run(c.arguments);
        EXPECT_EQ(o.exitCode, c.exitCode);
        EXPECT_NE(o.err.find(c.errorText), std::string::npos) << o.err;
    }
}

// Runs that could never end, or end with nothing, do not start; the timeout only keeps a
// failing case from hanging the suite.
TEST_F(CommandLineTest, BatchRefusesRunsThatCouldNotEndOrRanNoStep) {
    const auto project = [&](const std::string& name, const std::string& variables) {
        return writeProject(name, "[Main]\r\nVersion=2.5\r\nSteps=10\r\n[Equations]\r\n"
                                  "y = x\r\n[Variables]\r\n" +
                                      variables + "\r\n[Out.Variables]\r\ny,Log,No,No,\r\n");
    };
    const std::string uniform = project("uniform.pxw", "x,Uniform,Min=3 Max=3,");
    const std::string normal = project("normal.pxw", "x,Normal,Min=-10 Max=10 Mean=5 StDev=0,");
    const std::string huge = project("huge.pxw", "x,Uniform,Min=-1E4932 Max=1E4932,");
    const std::string tail = project("tail.pxw", "x,Normal,Min=50 Max=60 Mean=0 StDev=1,");
    struct Case {
        std::string project;
        std::string more;
        const char* errorText;
    };
    const Case cases[] = {
        {uniform, "", "error: Input variable x: Must be Min<Max!\n"},
        {normal, "", "error: Input variable x: Must be StDev>0!\n"},
        {huge, "", "error: Input variable x: Parameters too far apart"},
        {tail, "", "warning: Input variable x: Should be Min<Mean!\nLess than 1e-6"},
        {Beam, "--steps 999999999", "error: No memory! The logs of 3 variables need 30.0 GB"},
        {Beam, "--steps 0 --yes", "error: no step was run"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.project + " " + c.more);
        const Outcome o =
            run("--batch '" + c.project + "' --settings '" + settings.string() + "' " + c.more,
                "timeout -s KILL 60 ");
        EXPECT_EQ(o.exitCode, 1);
        EXPECT_NE(o.err.find(c.errorText), std::string::npos) << o.err;
        EXPECT_EQ(o.out, "");
    }
}

TEST_F(CommandLineTest, InterruptStopsTheRunAndKeepsWhatItHas) {
    for (const char* signal : {"INT", "TERM"}) {
        SCOPED_TRACE(signal);
        const Outcome o =
            run("--batch '" + Beam + "' --settings '" + settings.string() + "' --steps 50000000",
                std::string("timeout --preserve-status -s ") + signal + " 1 ");
        EXPECT_EQ(o.exitCode, 1);
        EXPECT_NE(o.err.find("error: interrupted at step "), std::string::npos) << o.err;
        EXPECT_NE(o.out.find("\nZ\t"), std::string::npos) << o.out;
    }
}

TEST_F(CommandLineTest, ResultsOfAnInterruptedRunSayTheyArePartial) {
    const std::string project =
        writeProject("long.pxw", "[Main]\r\nVersion=2.5\r\nSteps=999999999\r\n[Equations]\r\n"
                                 "y = x\r\n[Variables]\r\nx,Uniform,Min=0 Max=1,\r\n"
                                 "[Out.Variables]\r\ny,Statistics,No,No,\r\n");
    const fs::path results = dir / "results";
    const std::string arguments = "--batch '" + project + "' --settings '" + settings.string() +
                                  "' --results '" + results.string() + "'";
    const Outcome o = run(arguments, "timeout --preserve-status -s INT 1 ");
    EXPECT_EQ(o.exitCode, 1) << o.err;
    EXPECT_TRUE(ReadAll(results / "PARTIAL.txt").find("long.sta\tinterrupted at step ") !=
                std::string::npos);
    // A complete run replaces the file, and the list that named it goes.
    EXPECT_EQ(run(arguments + " --steps 100").exitCode, 0);
    EXPECT_TRUE(fs::exists(results / "long.sta"));
    EXPECT_FALSE(fs::exists(results / "PARTIAL.txt"));
    EXPECT_EQ(std::distance(fs::directory_iterator(results), {}), 1) << "no folder left behind";
}

TEST_F(CommandLineTest, BatchRefusesBeforeItAsksAndKeepsOtherFiles) {
    const Outcome noSteps = batch(Beam, "--steps 0");
    EXPECT_EQ(noSteps.exitCode, 1);
    EXPECT_EQ(noSteps.err, "error: no step was run: the last step is 0\n");
    const Outcome huge = batch(Beam, "--target-cov 1E4933");
    EXPECT_EQ(huge.exitCode, 2);
    EXPECT_TRUE(huge.err.starts_with("error: --target-cov 1E4933 is out of range\n")) << huge.err;

    // Without a runtime folder of its own the report makes a private one, and removes it.
    const fs::path report = dir / "report.pdf";
    const std::string reportRun = "--steps 100 --report '" + report.string() + "'";
    std::ofstream(report) << "a letter";
    const std::string quietQt = "env -u XDG_RUNTIME_DIR TMPDIR='" + dir.string() + "' ";
    const Outcome asked = run("--batch '" + Beam + "' " + reportRun, quietQt);
    EXPECT_EQ(asked.exitCode, 2);
    EXPECT_NE(asked.err.find("is not a Probex report. Replace it?"), std::string::npos);
    EXPECT_EQ(ReadAll(report), "a letter");
    for (const char* answer : {"--yes", ""}) { // then its own report is replaced without asking
        SCOPED_TRACE(answer);
        const Outcome o = run("--batch '" + Beam + "' " + reportRun + " " + answer, quietQt);
        EXPECT_EQ(o.exitCode, 0);
        EXPECT_EQ(o.err, answer[0] ? "question: \"" + report.string() +
                                         "\" exists and is not a Probex report. Replace it?\n"
                                   : "");
        EXPECT_TRUE(ReadAll(report).starts_with("%PDF-"));
    }
    for (const auto& entry : fs::directory_iterator(dir))
        EXPECT_FALSE(entry.path().filename().string().starts_with("probex-runtime"));
}

TEST_F(CommandLineTest, GeneralOptionsAndMissingDisplay) {
    const std::string noDisplay = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM ";
    struct Case {
        std::string arguments;
        std::string prefix;
        int exitCode;
        std::string out;
        const char* errorText;
    };
    const Case cases[] = {
        {"--help", "", 0, ProgramUsage, ""},
        {"--version", "", 0, std::string("probex ") + PROBEX_VERSION + "\n", ""},
        {"--frobnicate x.pxw", "", 2, "", "error: unknown option --frobnicate\nusage: probex"},
        {"--settings", "", 2, "", "--settings needs a file name"},
        {"'" + Beam + "'", noDisplay, 2, "", "probex --batch PROJECT.pxw"},
        {"'" + Beam + "'", noDisplay + "QT_QPA_PLATFORM=xcb DISPLAY=:987 ", 2, "",
         "probex --batch PROJECT.pxw"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        const Outcome o = run(c.arguments, c.prefix);
        EXPECT_EQ(o.exitCode, c.exitCode);
        EXPECT_EQ(o.out, c.out);
        EXPECT_NE(o.err.find(c.errorText), std::string::npos) << o.err;
    }
}

TEST(ManualPage, NamesEveryOptionOfTheUsage) {
    const std::string page = ReadAll(fs::path(PROBEX_SOURCE_DIR) / "docs/probex.1");
    const std::string usage = ProgramUsage;
    for (std::size_t at = usage.find("--"); at != std::string::npos;
         at = usage.find("--", at + 2)) {
        const std::string option = usage.substr(at, usage.find_first_of(" ],|\n", at) - at);
        std::string troff; // troff writes every dash of an option as \-
        for (const char c : option)
            troff += c == '-' ? std::string("\\-") : std::string(1, c);
        EXPECT_NE(page.find(troff), std::string::npos) << option;
    }
}

} // namespace
} // namespace probex
