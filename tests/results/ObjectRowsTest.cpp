#include "results/ObjectRows.h"

#include <gtest/gtest.h>

#include <limits>

namespace probex {
namespace {

constexpr std::int32_t Lime = 0x00FF00;

ObjectRow Row(std::string x, std::string y, std::string r, std::string color) {
    return ObjectRow{{std::move(x), std::move(y), std::move(r), ""}, std::move(color)};
}

TEST(ObjectRows, CompactKeepsTheOrderOfFilledRows) {
    ObjectRows rows{};
    rows[1] = Row("1", "0", "0", "Red");
    rows[2] = Row("0", "0.0", "", "Blue"); // only zeros: empty
    rows[4] = Row("abc", "2", "", "Navy");
    rows[7] = Row("", "", "3", "Lime");
    CompactRows(rows, ObjectKind::Dot, '.');
    EXPECT_EQ(rows[0].color, "Red");
    EXPECT_EQ(rows[1].color, "Navy");
    EXPECT_EQ(rows[2].color, "Lime");
    for (std::size_t r = 3; r < rows.size(); ++r)
        EXPECT_EQ(rows[r], ObjectRow{});
}

TEST(ObjectRows, WriteBackReadsEmptyCellsAsZeroAndColourNames) {
    ObjectsRec objects;
    ObjectRows rows{};
    rows[3] = Row("1.5", "", "2", "Silver");
    rows[9] = Row("-4", "1E300", "0", "Pink");
    ASSERT_FALSE(WriteRowsBack(rows, ObjectKind::Circle, objects, '.', Lime));
    ASSERT_EQ(objects.CircleCount, 2);
    EXPECT_EQ(objects.Circles[0], (CircleRec{1.5, 0, 2, 0xC0C0C0}));
    EXPECT_EQ(objects.Circles[1], (CircleRec{-4, 1e300, 0, Lime}));
    EXPECT_EQ(rows[0].cells[1], "0.0");
    // And back to rows in the fixed form.
    const ObjectRows shown = RowsFromObjects(objects, ObjectKind::Circle, '.', Lime);
    EXPECT_EQ(shown[0], Row("1.50000000", "0.00000000", "2.00000000", "Silver"));
    EXPECT_EQ(shown[1].color, "Lime");
    EXPECT_EQ(shown[2], ObjectRow{});
}

TEST(ObjectRows, ACellThatDoesNotConvertChangesNothing) {
    ObjectsRec objects;
    objects.LineCount = 1;
    objects.Lines[0] = {1, 2, 3, 4, 0};
    const ObjectsRec before = objects;
    ObjectRows rows{};
    rows[0] = ObjectRow{{"1", "2", "x7", "4"}, "Red"};
    const auto error = WriteRowsBack(rows, ObjectKind::Line, objects, '.', Lime);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->column, 2);
    EXPECT_EQ(error->message, "'x7' is not a valid floating point value");
    EXPECT_EQ(objects, before);
    rows[0] = ObjectRow{{"1", "2", "1E400", "4"}, "Red"};
    const auto range = WriteRowsBack(rows, ObjectKind::Line, objects, '.', Lime);
    ASSERT_TRUE(range);
    EXPECT_EQ(range->message, "'1E400' is out of range");
    EXPECT_EQ(objects, before);
}

// The table shows what the project file keeps: a small or a huge coordinate written back
// unchanged is neither cut to 0 nor refused as out of range.
TEST(ObjectRows, RowsShownWriteBackAsTheyWere) {
    const double largest = std::numeric_limits<double>::max();
    ObjectsRec objects;
    objects.LineCount = 1;
    objects.Lines[0] = {1e-12, largest, -largest, 0.5, Lime};
    ObjectRows rows = RowsFromObjects(objects, ObjectKind::Line, '.', Lime);
    ObjectsRec back = objects;
    ASSERT_FALSE(WriteRowsBack(rows, ObjectKind::Line, back, '.', Lime));
    ASSERT_EQ(back.LineCount, 1);
    EXPECT_EQ(back.Lines[0].X1, 1e-12);
    EXPECT_EQ(RowsFromObjects(back, ObjectKind::Line, '.', Lime), rows);
}

} // namespace
} // namespace probex
