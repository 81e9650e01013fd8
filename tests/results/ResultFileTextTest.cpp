#include "results/ResultFileText.h"

#include "results/ResultsTestSupport.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace probex {
namespace {

using test::Accumulators;

// Options: list separator, decimal separator, names, headers.
constexpr ResultTextOptions Bare{',', '.', false, false};
constexpr ResultTextOptions Labelled{',', '.', true, true};
constexpr ResultTextOptions CommaDecimal{';', ',', true, true};
constexpr ResultTextOptions NamesOnly{';', ',', true, false};

class ResultFileTextTest : public ::testing::Test {
protected:
    ResultFileTextTest() {
        y.compute();
        z.compute();
        single.compute();
    }
    Accumulators y{1, 2, 2, 3, 5};
    Accumulators z{10, 20, 20, 30, 50};
    Accumulators single{2.5L, 2.5L, 2.5L};
};

TEST_F(ResultFileTextTest, StatisticsFileOfOneAndOfTwoVariables) {
    const std::vector<StatColumn> one{{"y", &y.stat}};
    const std::vector<StatColumn> two{{"y", &y.stat}, {"z", &z.stat}};
    struct StatCase {
        const char* title;
        const std::vector<StatColumn>& columns;
        ResultTextOptions options;
        std::string expected;
    };
    const StatCase cases[] = {
        {"bare: eight numbers", one, Bare,
         "1.00000000\r\n5.00000000\r\n2.60000000\r\n1.35646600\r\n1.84000000\r\n"
         "0.52171769\r\n0.75003082\r\n-0.63610586\r\n"},
        {"names and labels", one, Labelled,
         "Variable:y\r\nMin:1.00000000\r\nMax:5.00000000\r\nMean:2.60000000\r\n"
         "StDev:1.35646600\r\nVari:1.84000000\r\nCoVar:0.52171769\r\nSkew:0.75003082\r\n"
         "Kurt:-0.63610586\r\n"},
        {"comma decimal, semicolon columns", two, CommaDecimal,
         "Variable:y;z\r\nMin:1,00000000;10,00000000\r\nMax:5,00000000;50,00000000\r\n"
         "Mean:2,60000000;26,00000000\r\nStDev:1,35646600;13,56465997\r\n"
         "Vari:1,84000000;184,00000000\r\nCoVar:0,52171769;0,52171769\r\n"
         "Skew:0,75003082;0,75003082\r\nKurt:-0,63610586;-0,63610586\r\n"},
    };
    for (const StatCase& c : cases) {
        SCOPED_TRACE(c.title);
        EXPECT_EQ(StatisticsFileText(c.columns, c.options), c.expected);
    }
}

TEST_F(ResultFileTextTest, HistogramFileCountsTheOccupiedBins) {
    struct HisCase {
        const char* title;
        const TOutHis& his;
        ResultTextOptions options;
        std::string expected;
    };
    const HisCase cases[] = {
        {"bare", y.his, Bare, "1       \r\n5       \r\n3\r\n1\r\n0\r\n1\r\n"},
        {"labelled", y.his, Labelled,
         "Variable:y\r\nMin:1       \r\nMax:5       \r\n1:3\r\n2:1\r\n3:0\r\n4:1\r\n"},
        {"one value: one count line", single.his, CommaDecimal,
         "Variable:y\r\nMin:2,5     \r\nMax:2,5     \r\n1:3\r\n"},
    };
    for (const HisCase& c : cases) {
        SCOPED_TRACE(c.title);
        EXPECT_EQ(HistogramFileText("y", c.his, c.options), c.expected);
    }
}

TEST_F(ResultFileTextTest, DisFileCarriesCommentTypeAndOccupiedBins) {
    Accumulators spread({1, 2, 2, 3, 5});
    spread.his.discrete = true;
    spread.compute();
    EXPECT_EQ(HistogramDisFileText("y", "beam load", spread.his, Labelled),
              "[Description]\r\nVariable=y\r\nIdentification=beam load\r\nType=Discrete\r\n"
              "Form=Frequency\r\n\r\n[Parameters]\r\nMin=1       \r\nMax=5       \r\nBins=4\r\n"
              "Total=5\r\n\r\n[Bins]\r\n3\r\n1\r\n0\r\n1\r\n\r\n");
    // Without names there is no "Variable=" line, yet always an "Identification=" line.
    EXPECT_EQ(HistogramDisFileText("y", "", single.his, {';', ',', false, true}),
              "[Description]\r\nIdentification=\r\nType=Continuous\r\nForm=Frequency\r\n\r\n"
              "[Parameters]\r\nMin=2,5     \r\nMax=2,5     \r\nBins=1\r\nTotal=3\r\n\r\n"
              "[Bins]\r\n3\r\n\r\n");
}

TEST_F(ResultFileTextTest, HistogramStatisticsWithMarksForOneVariable) {
    const std::vector<HisColumn> one{{"y", &y.his}};
    // Bin centres 1.5, 2.5, 3.5, 4.5 with counts 3, 1, 0, 1. A P mark shows its value on the
    // P line and the quantile on the Q line; a Q mark the other way round.
    EXPECT_EQ(HistogramStatisticsFileText(one, Labelled, true),
              "Variable:y\r\nMin:1.00000000\r\nMax:5.00000000\r\nMean:2.30000000\r\n"
              "StDev:1.16619038\r\nVari:1.36000000\r\nCoVar:0.50703930\r\nSkew:1.15004934\r\n"
              "Kurt:-0.33391003\r\nMed:1.83333333\r\n"
              "P:0.50000000\r\nQ:1.83333333\r\nP:0.80000000\r\nQ:3.00000000\r\n"
              "P:0.90000000\r\nQ:4.50000000\r\nP:0.60000000\r\nQ:2.00000000\r\n");
    const std::vector<HisColumn> two{{"y", &y.his}, {"z", &z.his}};
    EXPECT_EQ(HistogramStatisticsFileText(two, NamesOnly, false),
              "y;z\r\n1,00000000;10,00000000\r\n5,00000000;50,00000000\r\n"
              "2,30000000;23,00000000\r\n1,16619038;11,66190379\r\n1,36000000;136,00000000\r\n"
              "0,50703930;0,50703930\r\n1,15004934;1,15004934\r\n-0,33391003;-0,33391003\r\n"
              "1,83333333;18,33333333\r\n");
}

TEST_F(ResultFileTextTest, LogFileRecordsAndStepLabels) {
    Accumulators first({1, 2, 2});
    Accumulators second({-4, 0.125L, 7});
    const std::vector<LogColumn> one{{"y", &first.log}};
    const std::vector<LogColumn> two{{"y", &first.log}, {"z", &second.log}};
    struct LogCase {
        const char* title;
        const std::vector<LogColumn>& columns;
        std::int32_t steps;
        bool records;
        ResultTextOptions options;
        std::string expected;
    };
    const LogCase cases[] = {
        {"records and labels", one, 3, true, Labelled,
         "Variable:y\r\nRecords:3\r\n1:1.00000000\r\n2:2.00000000\r\n3:2.00000000\r\n"},
        {"bare, two steps done", one, 2, false, Bare, "1.00000000\r\n2.00000000\r\n"},
        {"two columns", two, 3, true, CommaDecimal,
         "Variable:y;z\r\nRecords:3\r\n1:1,00000000;-4,00000000\r\n2:2,00000000;0,12500000\r\n"
         "3:2,00000000;7,00000000\r\n"},
        {"records without labels, steps beyond the log", two, 9, true, NamesOnly,
         "y;z\r\n3\r\n1,00000000;-4,00000000\r\n2,00000000;0,12500000\r\n2,00000000;7,"
         "00000000\r\n"},
    };
    for (const LogCase& c : cases) {
        SCOPED_TRACE(c.title);
        EXPECT_EQ(LogFileText(c.columns, c.steps, c.records, c.options), c.expected);
    }
}

TEST_F(ResultFileTextTest, ProbabilityAndQuantileLayouts) {
    const std::array<Extended, 2> inputs{2.5L, -1};
    const std::array<Extended, 2> results{0.625L, 0};
    struct PQCase {
        const char* title;
        PQTextOptions options;
        std::string probability;
        std::string quantile;
    };
    const auto options = [](ResultTextOptions base, bool condensed, bool twoColumns) {
        PQTextOptions o;
        static_cast<ResultTextOptions&>(o) = base;
        o.condensed = condensed;
        o.twoColumns = twoColumns;
        return o;
    };
    const PQCase cases[] = {
        {"labelled", options(Labelled, false, false),
         "Variable:x\r\nQ:2.50000000\r\nP:0.62500000\r\nQ:-1.00000000\r\nP:0.00000000\r\n",
         "Variable:x\r\nP:2.50000000\r\nQ:0.62500000\r\nP:-1.00000000\r\nQ:0.00000000\r\n"},
        {"two columns", options(CommaDecimal, false, true),
         "Variable:x\r\nQ:2,50000000;P:0,62500000\r\nQ:-1,00000000;P:0,00000000\r\n",
         "Variable:x\r\nP:2,50000000;Q:0,62500000\r\nP:-1,00000000;Q:0,00000000\r\n"},
        {"condensed: results only", options(Labelled, true, true),
         "Variable:x\r\nP:0.62500000\r\nP:0.00000000\r\n",
         "Variable:x\r\nQ:0.62500000\r\nQ:0.00000000\r\n"},
    };
    for (const PQCase& c : cases) {
        SCOPED_TRACE(c.title);
        EXPECT_EQ(ProbabilityFileText("x", inputs, results, c.options), c.probability);
        EXPECT_EQ(QuantileFileText("x", inputs, results, c.options), c.quantile);
    }
}

// Statistics of T = X*1E-12 keep 10 significant digits instead of reading 0.00000000; values
// the fixed form shows exactly, and all from 1E-4 on, keep their fixed text.
TEST_F(ResultFileTextTest, SmallValuesKeepTenSignificantDigits) {
    Accumulators tiny{1E-12L, 2E-12L, 2E-12L, 3E-12L, 5E-12L};
    tiny.compute();
    const std::vector<StatColumn> stat{{"t", &tiny.stat}};
    EXPECT_EQ(StatisticsFileText(stat, Bare),
              "1.000000000E-12\r\n5.000000000E-12\r\n2.600000000E-12\r\n1.356465997E-12\r\n"
              "1.840000000E-24\r\n0.52171769\r\n0.75003082\r\n-0.63610586\r\n");
    Accumulators small{0.00002L, 0.000012345678L, 0.00012345678L};
    const std::vector<LogColumn> log{{"s", &small.log}};
    EXPECT_EQ(LogFileText(log, 3, false, Bare), "0.00002000\r\n1.234567800E-05\r\n0.00012346\r\n");
}

} // namespace
} // namespace probex
