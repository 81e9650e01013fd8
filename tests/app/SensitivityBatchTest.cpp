// probex --batch --sensitivity: the tables a person reads after the probability.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace probex {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> fields;
    std::stringstream in(text);
    for (std::string field; std::getline(in, field, separator);)
        fields.push_back(field);
    return fields;
}

class SensitivityBatchTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("probex-sens-" + std::to_string(::getpid()));
        fs::create_directories(dir);
        std::ofstream(dir / "Probex.ini") << "[Settings]\r\nDecimalSeparator=.\r\n";
        std::ofstream(dir / "linear.pxw", std::ios::binary)
            << "[Main]\r\nVersion=2.5\r\nSteps=20000\r\n[Equations]\r\nY = 2*X1 + X2\r\n"
               "U = X3\r\n[Variables]\r\nX1,Normal,Min=-10 Max=10 Mean=0 StDev=1,\r\n"
               "X2,Normal,Min=-10 Max=10 Mean=0 StDev=1,\r\n"
               "X3,Uniform,Min=0 Max=1,\r\n[Out.Equations]\r\n0 > 2 - Y\r\n"
               "[Out.Evaluation]\r\nEvaluate=Probability\r\n"
               "[Out.Variables]\r\nY,Log,No,No,\r\nU,Statistics,No,No,\r\n";
    }
    void TearDown() override { fs::remove_all(dir); }

    /// Runs the batch command; returns stdout, with the exit code and stderr beside it.
    std::string batch(const std::string& more) {
        const std::string command = "'" + std::string(PROBEX_BINARY) + "' --batch '" +
                                    (dir / "linear.pxw").string() + "' --settings '" +
                                    (dir / "Probex.ini").string() + "' " + more + " >'" +
                                    (dir / "out").string() + "' 2>'" + (dir / "err").string() + "'";
        const int status = std::system(command.c_str());
        exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        std::ifstream err(dir / "err");
        errText.assign(std::istreambuf_iterator<char>(err), {});
        std::ifstream out(dir / "out");
        return {std::istreambuf_iterator<char>(out), {}};
    }

    /// The lines of the table of `output`, without the prefix "Sensitivity".
    static std::vector<std::vector<std::string>> Table(const std::string& text,
                                                       const std::string& output) {
        std::vector<std::vector<std::string>> rows;
        for (const std::string& line : Split(text, '\n')) {
            const std::vector<std::string> fields = Split(line, '\t');
            if (fields.size() > 2 && fields[0] == "Sensitivity" && fields[1] == output)
                rows.emplace_back(fields.begin() + 1, fields.end());
        }
        return rows;
    }

    fs::path dir;
    int exitCode = -1;
    std::string errText;
};

TEST_F(SensitivityBatchTest, PrintsATableForTheLoggedOutputAndTheEvent) {
    const std::string out = batch("--seed 7 --sensitivity");
    ASSERT_EQ(exitCode, 0) << errText;
    EXPECT_NE(out.find("\nSensitivity\tOutput\tInput\tRank correlation\tContribution %\t"
                       "First order\tFirst order 95 %\n"),
              std::string::npos)
        << out;
    EXPECT_LT(out.find("\nProbability: "), out.find("\nSensitivity\t")) << out;

    const auto y = Table(out, "Y");
    ASSERT_EQ(y.size(), 3u) << out;
    const std::pair<const char*, double> expected[] = {{"X1", 0.8}, {"X2", 0.2}, {"X3", 0.0}};
    for (std::size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(expected[i].first);
        ASSERT_EQ(y[i].size(), 6u);
        EXPECT_EQ(y[i][1], expected[i].first); // most important first
        const std::vector<std::string> interval = Split(y[i][5], ' ');
        ASSERT_EQ(interval.size(), 2u);
        EXPECT_LE(std::stod(interval[0]), expected[i].second);
        EXPECT_GE(std::stod(interval[1]), expected[i].second);
    }
    EXPECT_NEAR(std::stod(y[0][2]), 0.8825, 0.02);

    const auto event = Table(out, "Failure event");
    ASSERT_EQ(event.size(), 3u) << out;
    EXPECT_EQ(event[0][1], "X1");
    ASSERT_EQ(event[0].size(), 7u); // with the mean shift
    EXPECT_GT(std::stod(event[0][6]), 1.0);
}

TEST_F(SensitivityBatchTest, WithoutTheOptionNothingChangesAndTheMemoryCheckCountsTheInputs) {
    const std::string plain = batch("--seed 7");
    ASSERT_EQ(exitCode, 0) << errText;
    EXPECT_EQ(plain.find("Sensitivity"), std::string::npos);
    const std::string with = batch("--seed 7 --sensitivity");
    EXPECT_TRUE(with.starts_with(plain)) << with; // the same draws and results before it

    batch("--steps 999999999 --sensitivity");
    EXPECT_EQ(exitCode, 1);
    EXPECT_NE(errText.find("The logs of 4 variables"), std::string::npos) << errText;
}

} // namespace
} // namespace probex
