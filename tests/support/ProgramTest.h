#pragma once

// The program run as a person runs it from a shell, in a temporary folder of the test's own
// with a settings file of the default separators.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <sys/wait.h>
#include <unistd.h>

namespace probex::testing {

struct Outcome {
    int exitCode = -1;
    std::string out;
    std::string err;
};

inline std::string ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
        dir = std::filesystem::temp_directory_path() /
              ("probex-" + std::string(test->test_suite_name()) + "-" + std::to_string(::getpid()) +
               "-" + test->name());
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
        settings = dir / "Probex.ini";
        std::ofstream(settings) << "[Settings]\r\nDecimalSeparator=.\r\nListSeparator=,\r\n";
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    /// Runs the program with the arguments (already quoted for the shell).
    Outcome run(const std::string& arguments, const std::string& prefix = "") {
        const std::filesystem::path out = dir / "stdout.txt", err = dir / "stderr.txt";
        const std::string command = prefix + "'" + PROBEX_BINARY + "' " + arguments + " >'" +
                                    out.string() + "' 2>'" + err.string() + "'";
        const int status = std::system(command.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadAll(out), ReadAll(err)};
    }

    Outcome batch(const std::string& project, const std::string& more = "") {
        return run("--batch '" + project + "' --settings '" + settings.string() + "' " + more);
    }

    std::string writeProject(const std::string& name, const std::string& text) {
        const std::filesystem::path path = dir / name;
        std::ofstream(path, std::ios::binary) << text;
        return path.string();
    }

    std::filesystem::path dir;
    std::filesystem::path settings;
};

} // namespace probex::testing
