// Tests for the number text rules: numeric tests, Val, pattern formatting,
// half-to-even rounding and plain decimal text.
#include "text/NumberText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>

using namespace tenlog::text;

TEST(NumberText, IsNumericAcceptsBasicNumberForms)
{
    for (const char* text : {"5", "-5", "+5", "  12  ", "\t3.5", ".5", "5.", "-.5", "1e3", "1E-3", "2.5D2",
                             "&H378", "&hff", "&O17", "0"})
        EXPECT_TRUE(isNumeric(QString::fromLatin1(text))) << text;
}

TEST(NumberText, IsNumericRejectsNonNumbers)
{
    for (const char* text : {"", "   ", ".", "-", "+", "-.", "1e", "1e+", "12abc", "abc", "1 2", "1.2.3", "&H",
                             "&HG", "&O8", "--5", "1,000", "1e999", "0x10"})
        EXPECT_FALSE(isNumeric(QString::fromLatin1(text))) << text;
    EXPECT_FALSE(isNumeric(QStringLiteral("\u0661"))); // Arabic-Indic one
}

TEST(NumberText, ValReadsTheLeadingNumber)
{
    EXPECT_EQ(val(QStringLiteral("12abc")), 12);
    EXPECT_EQ(val(QStringLiteral("abc")), 0);
    EXPECT_EQ(val(QStringLiteral("")), 0);
    EXPECT_EQ(val(QStringLiteral(" 1 2 3")), 123);
    EXPECT_EQ(val(QStringLiteral("- 5")), -5);
    EXPECT_EQ(val(QStringLiteral("&H378")), 888);
    EXPECT_EQ(val(QStringLiteral("&O17")), 15);
    EXPECT_EQ(val(QStringLiteral("&H1G")), 1);
    EXPECT_EQ(val(QStringLiteral("1.5.6")), 1.5);
    EXPECT_EQ(val(QStringLiteral("2D3")), 2000);
    EXPECT_EQ(val(QStringLiteral("1e")), 1);
    EXPECT_EQ(val(QStringLiteral("28.025")), 28.025);
    EXPECT_FALSE(std::signbit(val(QStringLiteral("-0"))));
}

TEST(NumberText, ValOverflowAndUnderflow)
{
    EXPECT_EQ(val(QStringLiteral("1e999")), std::numeric_limits<double>::infinity());
    EXPECT_EQ(val(QStringLiteral("-1e999")), -std::numeric_limits<double>::infinity());
    EXPECT_EQ(val(QStringLiteral("1e-999")), 0);
    EXPECT_EQ(val(QStringLiteral("0.0001e99999999999999999999")), std::numeric_limits<double>::infinity());
}

TEST(NumberText, FormatFrequencyPatterns)
{
    const QString khz = QStringLiteral("#####.##0");
    EXPECT_EQ(formatNumber(28.025, khz), QStringLiteral("28.025"));
    EXPECT_EQ(formatNumber(0.5, khz), QStringLiteral("0.500"));
    EXPECT_EQ(formatNumber(28.0, khz), QStringLiteral("28.000"));
    EXPECT_EQ(formatNumber(28.0251, QStringLiteral("###.####0")), QStringLiteral("28.02510"));
    EXPECT_EQ(formatNumber(1234.5, QStringLiteral("#,###.##0")), QStringLiteral("1,234.500"));
    EXPECT_EQ(formatNumber(1234567.0, QStringLiteral("#,###.##0")), QStringLiteral("1,234,567.000"));
}

TEST(NumberText, FormatWholeAndFractionPlaceholders)
{
    EXPECT_EQ(formatNumber(7, QStringLiteral("###")), QStringLiteral("7"));
    EXPECT_EQ(formatNumber(0, QStringLiteral("###")), QString());
    EXPECT_EQ(formatNumber(12345, QStringLiteral("##,###")), QStringLiteral("12,345"));
    EXPECT_EQ(formatNumber(123, QStringLiteral("##,###")), QStringLiteral("123"));
    EXPECT_EQ(formatNumber(0, QStringLiteral("##,###")), QString());
    EXPECT_EQ(formatNumber(0.5, QStringLiteral("#.000")), QStringLiteral(".500"));
    EXPECT_EQ(formatNumber(1.25, QStringLiteral("#.000")), QStringLiteral("1.250"));
    EXPECT_EQ(formatNumber(0, QStringLiteral("###0.0")), QStringLiteral("0.0"));
    EXPECT_EQ(formatNumber(12.34, QStringLiteral("###0.0")), QStringLiteral("12.3"));
    EXPECT_EQ(formatNumber(5, QStringLiteral("####.#####")), QStringLiteral("5."));
    EXPECT_EQ(formatNumber(3.14159265, QStringLiteral("####.#####")), QStringLiteral("3.14159"));
    EXPECT_EQ(formatNumber(7, QStringLiteral("000")), QStringLiteral("007"));
    EXPECT_EQ(formatNumber(9.5, QStringLiteral("Score: ### pts")), QStringLiteral("Score: 10 pts"));
    EXPECT_EQ(formatNumber(9.96, QStringLiteral("#.#")), QStringLiteral("10."));
    EXPECT_EQ(formatNumber(2.5, QString()), QStringLiteral("2.5"));
}

TEST(NumberText, FormatNegativesNeverShowMinusZero)
{
    EXPECT_EQ(formatNumber(-1234.5, QStringLiteral("#,###.##0")), QStringLiteral("-1,234.500"));
    EXPECT_EQ(formatNumber(-0.0, QStringLiteral("###0.0")), QStringLiteral("0.0"));
    EXPECT_EQ(formatNumber(-0.04, QStringLiteral("###0.0")), QStringLiteral("0.0"));
    EXPECT_EQ(formatNumber(-0.4, QStringLiteral("###")), QString());
    EXPECT_EQ(formatNumber(-0.5, QStringLiteral("#.000")), QStringLiteral("-.500"));
}

TEST(NumberText, FormatRoundsExactBinaryValueHalfToEven)
{
    EXPECT_EQ(formatNumber(0.125, QStringLiteral("0.00")), QStringLiteral("0.12"));
    EXPECT_EQ(formatNumber(0.375, QStringLiteral("0.00")), QStringLiteral("0.38"));
    EXPECT_EQ(formatNumber(2.5, QStringLiteral("0")), QStringLiteral("2"));
    EXPECT_EQ(formatNumber(3.5, QStringLiteral("0")), QStringLiteral("4"));
    EXPECT_EQ(formatNumber(0.5, QStringLiteral("0")), QStringLiteral("0"));
    // 1.005 is stored a hair below the tie.
    EXPECT_EQ(formatNumber(1.005, QStringLiteral("0.00")), QStringLiteral("1.00"));
}

TEST(NumberText, FormatSingleUsesTheFloatsOwnValue)
{
    // 28.475f is 28.4750003814697..., above the tie.
    EXPECT_EQ(formatNumber(28.475f, QStringLiteral("0.00")), QStringLiteral("28.48"));
    // 28.075 as a double is 28.07499999..., as a float 28.0750007629...
    EXPECT_EQ(formatNumber(28.075, QStringLiteral("0.00")), QStringLiteral("28.07"));
    EXPECT_EQ(formatNumber(28.075f, QStringLiteral("0.00")), QStringLiteral("28.08"));
    EXPECT_EQ(formatNumber(28.025f, QStringLiteral("#####.##0")), QStringLiteral("28.025"));
}

TEST(NumberText, RoundHalfEvenWhole)
{
    EXPECT_EQ(roundHalfEven(0.5), 0);
    EXPECT_EQ(roundHalfEven(1.5), 2);
    EXPECT_EQ(roundHalfEven(2.5), 2);
    EXPECT_EQ(roundHalfEven(-1.5), -2);
    EXPECT_EQ(roundHalfEven(2.5000000001), 3);
    EXPECT_EQ(roundHalfEven(1e300), 1e300);
    const double minusHalf = roundHalfEven(-0.5);
    EXPECT_EQ(minusHalf, 0);
    EXPECT_FALSE(std::signbit(minusHalf));
    EXPECT_TRUE(std::isnan(roundHalfEven(std::nan(""))));
}

TEST(NumberText, RoundHalfEvenToDecimals)
{
    EXPECT_EQ(roundHalfEven(0.125, 2), 0.12);
    EXPECT_EQ(roundHalfEven(0.375, 2), 0.38);
    EXPECT_EQ(roundHalfEven(28.075, 2), 28.07);
    EXPECT_EQ(roundHalfEven(-28.0251, 3), -28.025);
    EXPECT_EQ(roundHalfEven(7.25, -1), 7);
    EXPECT_FALSE(std::signbit(roundHalfEven(-0.001, 2)));
}

TEST(NumberText, PlainNumberIsShortestPlainDecimal)
{
    EXPECT_EQ(plainNumber(5.0), QStringLiteral("5"));
    EXPECT_EQ(plainNumber(0.5), QStringLiteral("0.5"));
    EXPECT_EQ(plainNumber(-0.0), QStringLiteral("0"));
    EXPECT_EQ(plainNumber(-2.25), QStringLiteral("-2.25"));
    EXPECT_EQ(plainNumber(1e20), QStringLiteral("100000000000000000000"));
    EXPECT_EQ(plainNumber(1e-7), QStringLiteral("0.0000001"));
    EXPECT_EQ(plainNumber(77.5f), QStringLiteral("77.5"));
    EXPECT_EQ(plainNumber(28.025f), QStringLiteral("28.025"));
    EXPECT_EQ(plainNumber(-0.0f), QStringLiteral("0"));
    EXPECT_EQ(plainNumber(qint64(-9007199254740993)), QStringLiteral("-9007199254740993"));
}

TEST(NumberText, PlainNumberReadsBackExactly)
{
    std::mt19937_64 random(12345);
    for (int i = 0; i < 20000; ++i) {
        const std::uint64_t bits = random();
        double d;
        std::memcpy(&d, &bits, sizeof d);
        float f;
        const auto bits32 = static_cast<std::uint32_t>(bits >> 32);
        std::memcpy(&f, &bits32, sizeof f);
        if (std::isfinite(d)) {
            const QString text = plainNumber(d);
            ASSERT_FALSE(text.contains(u'e')) << qPrintable(text);
            ASSERT_EQ(val(text), d == 0 ? 0.0 : d) << qPrintable(text);
        }
        if (std::isfinite(f)) {
            ASSERT_EQ(valSingle(plainNumber(f)), f == 0 ? 0.0f : f) << qPrintable(plainNumber(f));
        }
    }
}

TEST(NumberText, LinePrintedPadsSignAndEnd)
{
    EXPECT_EQ(linePrinted(5.0), QStringLiteral(" 5 "));
    EXPECT_EQ(linePrinted(-5.0), QStringLiteral("-5 "));
    EXPECT_EQ(linePrinted(0.5), QStringLiteral(" 0.5 "));
    EXPECT_EQ(linePrinted(-0.0), QStringLiteral(" 0 "));
    EXPECT_EQ(linePrinted(77.5f), QStringLiteral(" 77.5 "));
    EXPECT_EQ(linePrinted(-12), QStringLiteral("-12 "));
    EXPECT_EQ(linePrinted(12), QStringLiteral(" 12 "));
}
