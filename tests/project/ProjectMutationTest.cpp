#include "project/ProjectReader.h"

#include "ProjectFixture.h"
#include "project/ProjectWriter.h"
#include "simulation/RunController.h"

#include <filesystem>
#include <random>

namespace probex::test {
namespace {

/// A message the reader may give for a damaged file.
bool KnownMessage(const std::string& text) {
    static const std::vector<std::string> prefixes =
        Split("Input file for|Too many |Invalid value: |Unsupported parameter: |File |"
              "Error in file |Distribution not defined!|Can't allocate variable |"
              "Can't locate variable |Unable to add variable |Unable to find variable |"
              "Must be |Should be |Parameters must be |Less than 1e-6|Rewrite comment field");
    for (const std::string& prefix : prefixes)
        if (text.starts_with(prefix)) return true;
    return text.find("' is not a valid ") != std::string::npos;
}

const std::vector<std::string> ValidLines = Split(
    "[Main]|Version=2.5|Identification=Beam|Steps=1000||[Equations]|y = a + b*h||[Variables]|"
    "a;Constant;Value=1.5;c|b;Normal;Min=-1 Max=5 Mean=2 StDev=1|h;beam.dis|s;Step number|"
    "u;Uniform;Min=0 Max=1||[Out.Equations]|y > 3||[Out.Evaluation]|Evaluate=Parameter|"
    "Parameter=a|Min=0.5|Max=4|Probability=0.1|MaxIteration=20|MaxDiff=0.001||[Out.Variables]|"
    "y;Log;Yes;No;x||[Out.Statistics]|Variable=y|[Out.1D]|Variable=y|Q1=2|P2=0.5|Discrete=No|"
    "[Out.2D]|VariableH=y|VariableV=a|Line=0;0;1;1;Red|Circle=1;1;0.5;Blue|Dot=0;1;2;Lime|"
    "DrawDots=Yes|[Out.Probabilities]|Variable=y|Q1=1.5|[Out.Quantiles]|Variable=y|P3=0.25");

std::string Join(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}

/// Damaged variants of the valid text, the same on every run.
std::vector<std::string> Mutants() {
    std::mt19937 random(20240607);
    const std::string valid = Join(ValidLines);
    std::vector<std::string> mutants;
    for (int i = 0; i < 25; ++i) // truncated anywhere
        mutants.push_back(valid.substr(0, random() % valid.size()));
    for (int i = 0; i < 25; ++i) { // binary bytes, NUL and lone CR included
        std::string text = valid;
        for (int k = 0; k < 8; ++k)
            text[random() % text.size()] = static_cast<char>(random() % 256);
        mutants.push_back(text);
    }
    for (std::size_t line = 0; line < ValidLines.size(); ++line) {
        const std::string& original = ValidLines[line];
        const std::size_t equal = original.find('=');
        if (equal != std::string::npos && equal > 0) { // every key misspelt
            std::vector<std::string> lines = ValidLines;
            lines[line][random() % equal] = 'Q';
            mutants.push_back(Join(lines));
        }
        if (original.find_first_of("0123456789") != std::string::npos) { // every number malformed
            for (const char* bad : {"x", "1e99999", "--1", ""}) {
                std::vector<std::string> lines = ValidLines;
                const std::size_t digit = lines[line].find_first_of("0123456789");
                lines[line].replace(digit, 1, bad);
                mutants.push_back(Join(lines));
            }
        }
    }
    std::vector<std::string> many{"[Main]", "Version=2", "[Variables]"};
    for (int i = 0; i < 300; ++i)
        many.push_back("v" + std::to_string(i) + ";Uniform;Min=0 Max=" + std::to_string(i + 1));
    many.push_back("[Out.Variables]");
    for (int i = 0; i < 300; ++i)
        many.push_back("o" + std::to_string(i) + ";Log");
    many.push_back("[Out.2D]");
    for (int i = 0; i < 40; ++i)
        many.push_back("Dot=1;1;1;Red");
    mutants.push_back(Join(many));
    mutants.push_back(valid + "[Equations]\r\n" + std::string(1 << 20, 'x') +
                      "\r\n[Variables]\r\n" + std::string(1 << 20, ';') + "\r\n");
    mutants.push_back(std::string(1 << 20, '[') + "\n" + valid);
    return mutants;
}

class ProjectMutationTest : public ProjectFixture {};

TEST_F(ProjectMutationTest, DamagedProjectsNeverCrashAndSayWhatIsWrong) {
    std::filesystem::create_directories(settings.DistDirPath);
    WriteBytes(
        settings.DistDirPath + "/beam.dis",
        "[Description]\r\nType=Discrete\r\n[Parameters]\r\nMin=0\r\nMax=2\r\n[Bins]\r\n1\r\n1\r\n");
    AgreeingPrompter agreeing;
    const std::vector<std::string> mutants = Mutants();
    ProjectModel again(settings, agreeing, direct);
    for (std::size_t i = 0; i < mutants.size(); ++i) {
        SCOPED_TRACE("mutant " + std::to_string(i));
        ProjectModel damaged(settings, agreeing, direct);
        agreeing.texts.clear();
        const ReadResult result = ReadProjectText(damaged, mutants[i]);
        for (const std::string& text : agreeing.texts)
            EXPECT_TRUE(KnownMessage(text)) << text;
        if (result.outcome == ReadOutcome::Stopped) {
            ASSERT_FALSE(agreeing.texts.empty());
            EXPECT_NE(agreeing.texts.back().find("' is not a valid "), std::string::npos);
        }
        EXPECT_LE(settings.PQLines, 256);
        // Whatever was read is written so that a further read and write change nothing
        // (the first write may still normalise, "Value=0.0" becoming "Value=0").
        const auto reread = [&](const std::string& text) {
            again.resultWindows.closeAll();
            again.clearProject();
            ReadProjectText(again, text);
            return ProjectText(again);
        };
        const std::string second = reread(ProjectText(damaged));
        EXPECT_EQ(reread(second), second);
    }
}

} // namespace
} // namespace probex::test
