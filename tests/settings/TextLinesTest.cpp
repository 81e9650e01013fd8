#include "settings/TextLines.h"

#include "settings/IniFile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace probex {
namespace {

TEST(TextLines, EveryLineEndEndsALine) {
    struct Case {
        std::string text;
        std::vector<std::string_view> lines;
    };
    const Case cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\nb\n", {"a", "b"}},
        {"a\rb\r", {"a", "b"}},
        {"a\r\n\r\nb", {"a", "", "b"}},
        {"a\r\rb", {"a", "", "b"}},
        {"a\n\rb", {"a", "", "b"}}, // LF then CR: two line ends
        {"a\r\n\nb\r", {"a", "", "b"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(SplitTextLines(c.text), c.lines);
    }
}

TEST(TextLines, SettingsReadWithCrAloneAsWithCrLf) {
    for (const char* end : {"\r\n", "\n", "\r"}) {
        SCOPED_TRACE(std::string(end) == "\r" ? "CR" : "LF");
        IniFile ini;
        ini.parse(std::string("[Main]") + end + "Seed=7" + end + "Name=x" + end);
        EXPECT_EQ(ini.readInteger("Main", "Seed", 0), 7);
        EXPECT_EQ(ini.readString("Main", "Name", ""), "x");
    }
}

} // namespace
} // namespace probex
