#include "settings/IniFile.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/resource.h>

namespace probex {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

const char* const kFile = "; placements\n"
                          "[Main Window]\n"
                          "Left=10\n"
                          "Top = 20 \n"
                          "\n"
                          "[Settings]\n"
                          "PQLines=40\n"
                          "Unknown=kept\n"
                          "\n"
                          "[Toolbars]\n"
                          "File=1,0,0\n";

TEST(IniFile, ReadsIgnoringCaseAndTypesWithDefaults) {
    IniFile ini;
    ini.parse(kFile);
    EXPECT_EQ(ini.readInteger("main window", "LEFT", 0), 10);
    EXPECT_EQ(ini.readInteger("Main Window", "top", 0), 20);
    EXPECT_EQ(ini.readString("SETTINGS", "unknown", ""), "kept");
    EXPECT_EQ(ini.readString("Settings", "Missing", "dflt"), "dflt");
    EXPECT_FALSE(ini.hasSection("Nowhere"));
    EXPECT_EQ(ini.keys("Settings"), (std::vector<std::string>{"PQLines", "Unknown"}));

    const struct {
        const char* value;
        std::int32_t integer; // default 7
        bool boolean;         // default true
        char character;       // default '#'
    } cases[] = {
        {"12", 12, true, '1'},   {"0x10", 16, true, '0'},       {"0", 0, false, '0'},
        {"-3", -3, true, '-'},   {"abc", 7, true, 'a'},         {"", 7, true, '#'},
        {"1.5", 7, true, '1'},   {"99999999999", 7, true, '9'}, {"|", 7, true, '|'},
        {"\" \"", 7, true, ' '},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        IniFile one;
        one.parse(std::string("[S]\r\nK=") + c.value + "\r\n");
        EXPECT_EQ(one.readInteger("s", "k", 7), c.integer);
        EXPECT_EQ(one.readBool("s", "k", true), c.boolean);
        EXPECT_EQ(one.readChar("s", "k", '#'), c.character);
    }
}

TEST(IniFile, RewriteKeepsUnknownLinesInOrderAndWritesCrLf) {
    IniFile ini;
    ini.parse(kFile);
    ini.writeInteger("settings", "pqlines", 16);
    ini.writeBool("Settings", "SaveWinPos", true);
    ini.writeString("New", "Key", " padded ");
    EXPECT_EQ(ini.text(), "; placements\r\n"
                          "[Main Window]\r\n"
                          "Left=10\r\n"
                          "Top = 20 \r\n"
                          "\r\n"
                          "[Settings]\r\n"
                          "PQLines=16\r\n"
                          "Unknown=kept\r\n"
                          "SaveWinPos=1\r\n"
                          "\r\n"
                          "[Toolbars]\r\n"
                          "File=1,0,0\r\n"
                          "\r\n"
                          "[New]\r\n"
                          "Key=\" padded \"\r\n");

    IniFile again;
    again.parse(ini.text());
    EXPECT_EQ(again.text(), ini.text());
    EXPECT_EQ(again.readString("new", "key", ""), " padded ");
    again.eraseKey("settings", "UNKNOWN");
    again.eraseSection("toolbars");
    EXPECT_FALSE(again.hasKey("Settings", "Unknown"));
    EXPECT_FALSE(again.hasSection("Toolbars"));
    EXPECT_TRUE(again.hasSection("New"));
}

TEST(IniFile, ValuesSurviveAWriteAndRead) {
    const char* values[] = {"",   " ",       "\"quoted\"", "a=b", "[x]", "; not a comment",
                            "\t", "\xff\x01"};
    for (const char* value : values) {
        SCOPED_TRACE(value);
        IniFile ini;
        ini.writeString("S", "K", value);
        IniFile back;
        back.parse(ini.text());
        EXPECT_EQ(back.value("S", "K"), std::string(value));
    }
    IniFile ini;
    ini.writeString("S", "K", "one\ntwo"); // a line feed would start a new line
    EXPECT_EQ(ini.text(), "[S]\r\nK=one\r\n");
}

TEST(IniFile, SaveReplacesTheFileAndLoadReadsIt) {
    TempDir temp;
    const std::string path = temp.path("Probex.ini");
    WriteBytes(path, "old");
    IniFile ini;
    ini.parse(kFile);
    EXPECT_EQ(ini.save(path), "");
    EXPECT_EQ(ReadBytes(path), ini.text());
    IniFile loaded;
    EXPECT_TRUE(loaded.load(path));
    EXPECT_EQ(loaded.text(), ini.text());
    EXPECT_FALSE(loaded.load(temp.path("missing.ini")));
    EXPECT_EQ(loaded.text(), "");
}

int CountEntries(const std::string& dir) {
    int count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir))
        ++count;
    return count;
}

TEST(IniFile, FailedSaveLeavesEverythingAsItWasAndNamesTheSystemError) {
    TempDir temp;
    IniFile ini;
    ini.parse(kFile);

    // A directory where the file should be.
    std::filesystem::create_directory(temp.path("Probex.ini"));
    std::string error = ini.save(temp.path("Probex.ini"));
    EXPECT_NE(error.find(std::strerror(EISDIR)), std::string::npos) << error;
    EXPECT_TRUE(std::filesystem::is_directory(temp.path("Probex.ini")));

    // A plain file where a directory of the path should be.
    WriteBytes(temp.path("plain"), "x");
    error = ini.save(temp.path("plain/Probex.ini"));
    EXPECT_NE(error.find(std::strerror(ENOTDIR)), std::string::npos) << error;
    EXPECT_EQ(ReadBytes(temp.path("plain")), "x");
    EXPECT_EQ(CountEntries(temp.dir()), 2); // no temporary file left behind
}

TEST(IniFile, FailedWriteKeepsTheOldFile) {
    TempDir temp;
    const std::string path = temp.path("Probex.ini");
    WriteBytes(path, "[Settings]\r\nPQLines=40\r\n");
    IniFile ini;
    ini.writeString("Settings", "Big", std::string(100000, 'x'));

    // A file-size limit makes the write itself fail, as a full disk would.
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const std::string error = ini.save(path);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_NE(error.find(std::strerror(EFBIG)), std::string::npos) << error;
    EXPECT_EQ(ReadBytes(path), "[Settings]\r\nPQLines=40\r\n");
    EXPECT_EQ(CountEntries(temp.dir()), 1);
}

} // namespace
} // namespace probex
