#include "settings/NumberText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace probex {
namespace {

struct FormatCase {
    Extended value;
    const char* dot;   // with "." as separator
    const char* comma; // with "," as separator
};

const Extended kInf = std::numeric_limits<Extended>::infinity();

TEST(NumberText, ResultValueHasEightDecimalsAfterTenSignificantDigits) {
    const FormatCase cases[] = {
        {0.5L, "0.50000000", "0,50000000"},
        {-12.0L, "-12.00000000", "-12,00000000"},
        {1.0L / 3, "0.33333333", "0,33333333"},
        {2.0L / 3, "0.66666667", "0,66666667"},
        {123456.789012345L, "123456.78900000", "123456,78900000"},
        {12.3456789012345L, "12.34567890", "12,34567890"},
        {1234567.891L, "1234567.89100000", "1234567,89100000"},
        {9999999999.4L, "9999999999.00000000", "9999999999,00000000"},
        {9.999999999L, "10.00000000", "10,00000000"},
        {1e-8L, "0.00000001", "0,00000001"},
        {0.0L, "0.00000000", "0,00000000"},
        {-0.0L, "0.00000000", "0,00000000"},
        {-1e-12L, "0.00000000", "0,00000000"},
        {1e-100L, "0.00000000", "0,00000000"},
        {9999999999.5L, "1.000000000E+10", "1,000000000E+10"},
        {12345678901.0L, "1.234567890E+10", "1,234567890E+10"},
        {-1.5e20L, "-1.500000000E+20", "-1,500000000E+20"},
        {1e100L, "1.000000000E+100", "1,000000000E+100"},
        {kInf, "INF", "INF"},
        {-kInf, "-INF", "-INF"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dot);
        EXPECT_EQ(FormatResultValue(c.value, '.'), c.dot);
        EXPECT_EQ(FormatResultValue(c.value, ','), c.comma);
    }
    EXPECT_EQ(FormatResultValue(std::nanl(""), '.'), "NAN");
}

TEST(NumberText, StoredValueIsFixedOnlyWhereThatKeepsTenSignificantDigits) {
    const FormatCase cases[] = {
        {0.5L, "0.50000000", "0,50000000"},
        {-12.0L, "-12.00000000", "-12,00000000"},
        {0.0L, "0.00000000", "0,00000000"},
        {1e-8L, "0.00000001", "0,00000001"},
        {123456.789L, "123456.78900000", "123456,78900000"},
        {1234567890.6L, "1234567891.00000000", "1234567891,00000000"},
        {0.000000012L, "1.200000000E-08", "1,200000000E-08"},
        {-0.000000003L, "-3.000000000E-09", "-3,000000000E-09"},
        {1.0L / 3, "3.333333333E-01", "3,333333333E-01"},
        {1.23456789012L, "1.23456789", "1,23456789"},
        {1.2345678951L, "1.234567895E+00", "1,234567895E+00"},
        {1e-300L, "1.000000000E-300", "1,000000000E-300"},
        {1.5e20L, "1.500000000E+20", "1,500000000E+20"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dot);
        EXPECT_EQ(FormatStoredValue(c.value, '.'), c.dot);
        EXPECT_EQ(FormatStoredValue(c.value, ','), c.comma);
    }
}

TEST(NumberText, ShortestUsesFifteenDigitsAndExponentOutsideMinusFiveToFifteen) {
    const FormatCase cases[] = {
        {0.9L, "0.9", "0,9"},
        {0.9, "0.9", "0,9"}, // a double's extra binary digits vanish at 15 digits
        {12.5L, "12.5", "12,5"},
        {-2.5L, "-2.5", "-2,5"},
        {100.0L, "100", "100"},
        {0.0L, "0", "0"},
        {-0.0L, "0", "0"},
        {1.0L / 3, "0.333333333333333", "0,333333333333333"},
        {1e14L, "100000000000000", "100000000000000"},
        {1e15L, "1E15", "1E15"},
        {1e20L, "1E20", "1E20"},
        {123456789012345678.0L, "1.23456789012346E17", "1,23456789012346E17"},
        {0.00001L, "0.00001", "0,00001"},
        {0.000001L, "1E-6", "1E-6"},
        {1.5e-7L, "1.5E-7", "1,5E-7"},
        {-1e-300L, "-1E-300", "-1E-300"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dot);
        EXPECT_EQ(FormatShortest(c.value, '.'), c.dot);
        EXPECT_EQ(FormatShortest(c.value, ','), c.comma);
    }
}

TEST(NumberText, General3IsThreeDigitsPaddedToEight) {
    const FormatCase cases[] = {
        {1.5L, "1.5     ", "1,5     "},       {0.0L, "0       ", "0       "},
        {-0.0L, "0       ", "0       "},      {999.0L, "999     ", "999     "},
        {123.456L, "123     ", "123     "},   {-1.25L, "-1.25   ", "-1,25   "},
        {-0.001234L, "-0.00123", "-0,00123"}, {0.00001L, "0.00001 ", "0,00001 "},
        {0.0000099L, "9.9E-006", "9,9E-006"}, {999.5L, "1E+003  ", "1E+003  "},
        {1000.0L, "1E+003  ", "1E+003  "},    {12345.0L, "1.23E+004", "1,23E+004"},
        {1e100L, "1E+100  ", "1E+100  "},     {1e-300L, "1E-300  ", "1E-300  "},
        {1e1000L, "1E+1000 ", "1E+1000 "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dot);
        EXPECT_EQ(FormatGeneral3(c.value, '.'), c.dot);
        EXPECT_EQ(FormatGeneral3(c.value, ','), c.comma);
    }
}

TEST(NumberText, StrToExtendedAcceptsBlanksSignAndTheSeparatorInForce) {
    const struct {
        const char* text;
        char separator;
        Extended value;
    } cases[] = {
        {"1.5", '.', 1.5L},       {" 12 ", '.', 12.0L}, {"\t-3.25 ", '.', -3.25L},
        {"+3", '.', 3.0L},        {"1e5", '.', 1e5L},   {"1,5", ',', 1.5L},
        {"2.5E-3", '.', 2.5e-3L}, {".5", '.', 0.5L},    {"0.9", '.', 0.9L},
        {"1E4000", '.', 1e4000L}, {"7.", '.', 7.0L},    {"1.000000000E+10", '.', 1e10L},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(StrToExtended(c.text, c.separator), c.value);
    }
    const Extended negativeZero = StrToExtended("-0", '.');
    EXPECT_EQ(negativeZero, 0);
    EXPECT_TRUE(std::signbit(negativeZero));
}

TEST(NumberText, StrToExtendedRejectsWithTheRuntimeMessage) {
    const struct {
        const char* text;
        char separator;
    } cases[] = {
        {"1e99999", '.'}, {"nan", '.'}, {"inf", '.'}, {"0x10", '.'}, {"", '.'},
        {"   ", '.'},     {"1,5", '.'}, {"1.5", ','}, {"- 1", '.'},  {"1 2", '.'},
        {"--1", '.'},     {"1e", '.'},  {"e5", '.'},  {".", '.'},    {"1.2.3", '.'},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        Extended value = 42;
        EXPECT_FALSE(TryStrToExtended(c.text, c.separator, value));
        EXPECT_EQ(value, 42); // untouched on failure
        try {
            StrToExtended(c.text, c.separator);
            ADD_FAILURE() << "no ConversionError";
        } catch (const ConversionError& error) {
            EXPECT_EQ(error.what(),
                      "'" + std::string(c.text) + "' is not a valid floating point value");
        }
    }
}

TEST(NumberText, FormattedTextsConvertBack) {
    const Extended values[] = {0.9L, -12.5L, 1.0L / 3, 1e20L, 1.5e-7L, 123456789.125L, 1e-4000L};
    for (const char separator : {'.', ','}) {
        for (const Extended value : values) {
            SCOPED_TRACE(FormatShortest(value, separator));
            const Extended shortest = StrToExtended(FormatShortest(value, separator), separator);
            EXPECT_EQ(FormatShortest(shortest, separator), FormatShortest(value, separator));
            EXPECT_NO_THROW(StrToExtended(FormatResultValue(value, separator), separator));
            EXPECT_NO_THROW(StrToExtended(FormatGeneral3(value, separator), separator));
        }
    }
}

TEST(NumberText, StrToIntIsDecimalOrHexWithin32Bits) {
    const struct {
        const char* text;
        std::int32_t value;
    } good[] = {
        {"12", 12},
        {" -7 ", -7},
        {"+5", 5},
        {"0x10", 16},
        {"0X1f", 31},
        {"2147483647", 2147483647},
        {"-2147483648", INT32_MIN},
        {"0x7FFFFFFF", 2147483647},
        {"007", 7},
    };
    for (const auto& c : good) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(StrToInt(c.text), c.value);
    }
    const char* bad[] = {"2147483648", "-2147483649", "0x80000000",           "-0x10", "0x", "",
                         "1.0",        "12a",         "99999999999999999999", "0x1g",  "+-1"};
    for (const char* text : bad) {
        SCOPED_TRACE(text);
        std::int32_t value = 42;
        EXPECT_FALSE(TryStrToInt(text, value));
        EXPECT_EQ(value, 42);
        try {
            StrToInt(text);
            ADD_FAILURE() << "no ConversionError";
        } catch (const ConversionError& error) {
            EXPECT_EQ(error.what(), "'" + std::string(text) + "' is not a valid integer value");
        }
    }
    std::int32_t value = 0;
    EXPECT_FALSE(TryStrToInt("0x10", value, false));
    EXPECT_EQ(FormatInteger(-2147483648LL), "-2147483648");
}

} // namespace
} // namespace probex
