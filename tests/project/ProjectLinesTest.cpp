#include "project/ProjectLines.h"
#include "project/ColorNames.h"

#include <gtest/gtest.h>

namespace probex {
namespace {

TEST(ProjectLinesTest, ExtractField) {
    struct Case {
        const char* text;
        const char* delimiters;
        int n;
        const char* field;
    };
    const Case cases[] = {
        {"a;b;c", ";", 1, "a"},
        {"a;b;c", ";", 3, "c"},
        {"a;b;c", ";", 4, ""},
        {"a;b;c", ";", 0, ""},
        {"a;;c", ";", 2, ""},
        {";", ";", 2, ""},
        {"", ";", 1, ""},
        {"a,b;c", ";,", 2, "b"},
        {"a,b;c", ";,", 3, "c"},
        {"x=1 y=2", " ", 2, "y=2"},
        {"\xe4\xf6;\xfc", ";", 2, "\xfc"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " #" + std::to_string(c.n));
        EXPECT_EQ(ExtractField(c.text, c.delimiters, c.n), c.field);
    }
}

TEST(ProjectLinesTest, KeyValueLines) {
    struct Case {
        const char* line;
        char listSep;
        const char* key;
        const char* value;
    };
    const Case cases[] = {
        {"  STEPS = 100 ", ';', "steps", "100"},
        {"Identification=a=b", ';', "identification", "a"},
        {"Identification=a;b", ';', "identification", "a"},
        {"Identification=a;b", ',', "identification", "a;b"},
        {"Variable=", ';', "variable", ""},
        {"NoEqualSign", ';', "noequalsign", ""},
        {"=5", ';', "", "5"},
        {"Key\t=\tx ", ';', "key\t", "\tx"}, // tabs are no blanks
        {"Name=\xc4pfel", ';', "name", "\xc4pfel"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const KeyValue entry = ParseKeyValue(c.line, c.listSep);
        EXPECT_EQ(entry.key, c.key);
        EXPECT_EQ(entry.value, c.value);
    }
    EXPECT_EQ(LowerAscii("AbC\xc4"), "abc\xc4");
}

TEST(ProjectLinesTest, ColourNames) {
    const std::int32_t lime = 0x00FF00;
    struct Case {
        std::int32_t value;
        std::int32_t fallback;
        const char* name;
    };
    const Case toName[] = {
        {0x000000, lime, "Black"}, {0xC0C0C0, lime, "Silver"}, {0x0000FF, lime, "Red"},
        {0xFFFFFF, lime, "White"}, {0x123456, lime, "Lime"},   {0x123456, 0x654321, "Black"},
    };
    for (const Case& c : toName) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ColorToName(c.value, c.fallback), c.name);
    }
    struct Back {
        const char* name;
        std::int32_t value;
    };
    const Back toValue[] = {{"silver", 0xC0C0C0}, {"SILVER", 0xC0C0C0}, {"Navy", 0x800000},
                            {"Pink", lime},       {"", lime},           {"aqua", 0xFFFF00}};
    for (const Back& c : toValue) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(NameToColor(c.name, lime), c.value);
    }
    for (const TColorRec& entry : ColorTable())
        EXPECT_EQ(NameToColor(ColorToName(entry.Value, lime), lime), entry.Value);
}

} // namespace
} // namespace probex
