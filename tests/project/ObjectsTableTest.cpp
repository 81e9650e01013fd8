#include "project/ObjectsTable.h"

#include <gtest/gtest.h>

namespace probex {
namespace {

TEST(ObjectsTableTest, PairsAreFoundIgnoringCaseAndNeverForOneVariable) {
    TObjectsTable table;
    EXPECT_EQ(table.ObtainObjectsRec("x", "y"), 1);
    EXPECT_EQ(table.ObtainObjectsRec("y", "x"), 2); // the order of the axes matters
    struct Case {
        const char* h;
        const char* v;
        int index;
    };
    const Case cases[] = {{"X", "Y", 1},  {"y", "X", 2}, {"x", "z", 0},
                          {"x", "X", -1}, {"", "y", -1}, {"x", "", -1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.h) + "/" + c.v);
        EXPECT_EQ(table.FindObjectsRec(c.h, c.v), c.index);
    }
    EXPECT_EQ(table.ObtainObjectsRec("a", "A"), -1);
    EXPECT_EQ(table.count(), 2);
    EXPECT_EQ(table.record(1).Horizontal, "x");
}

TEST(ObjectsTableTest, AtMost255Sets) {
    TObjectsTable table;
    for (int i = 1; i <= TObjectsTable::MaxRecords; ++i)
        ASSERT_EQ(table.ObtainObjectsRec("h" + std::to_string(i), "v"), i);
    EXPECT_EQ(table.ObtainObjectsRec("another", "v"), 0);
    EXPECT_EQ(table.ObtainObjectsRec("h7", "V"), 7);
    EXPECT_EQ(table.count(), TObjectsTable::MaxRecords);
}

} // namespace
} // namespace probex
