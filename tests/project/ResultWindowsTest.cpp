#include "project/ResultWindows.h"

#include <gtest/gtest.h>

namespace probex {
namespace {

TEST(ResultWindowsTest, ClosingAWindowClosesTheGapOfItsKindOnly) {
    TResultWindows windows;
    for (const char* name : {"a", "b", "c"}) {
        windows.open(TStatWindowDesc{name, ""});
        windows.open(T1DWindowDesc{name, "", false, false, {}, {}});
    }
    EXPECT_TRUE(windows.close(ResultWindowKind::Statistics, 1));
    ASSERT_EQ(windows.count(ResultWindowKind::Statistics), 2u);
    EXPECT_EQ(windows.variable(ResultWindowKind::Statistics, 0), "a");
    EXPECT_EQ(windows.variable(ResultWindowKind::Statistics, 1), "c");
    EXPECT_EQ(windows.count(ResultWindowKind::OneD), 3u);
    EXPECT_FALSE(windows.close(ResultWindowKind::Statistics, 2));
    EXPECT_FALSE(windows.close(ResultWindowKind::Quantile, 0));
    EXPECT_EQ(windows.variable(ResultWindowKind::Quantile, 0), "");

    // The closed variable may have its window again, at the end of the list.
    EXPECT_EQ(windows.open(TStatWindowDesc{"b", ""}), 2u);
    EXPECT_EQ(windows.open(TStatWindowDesc{"C", "raised"}), 1u);
    EXPECT_EQ(windows.statistics[1].variable, "c");
}

TEST(ResultWindowsTest, TheHorizontalVariableNamesA2DWindow) {
    TResultWindows windows;
    windows.open(T2DWindowDesc{"h", "v", "", 0, false, false, false});
    EXPECT_EQ(windows.variable(ResultWindowKind::TwoD, 0), "h");
    EXPECT_TRUE(windows.close(ResultWindowKind::TwoD, 0));
    EXPECT_EQ(windows.count(ResultWindowKind::TwoD), 0u);
}

} // namespace
} // namespace probex
