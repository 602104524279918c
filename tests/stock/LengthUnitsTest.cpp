#include "stock/LengthUnits.h"

#include <gtest/gtest.h>

namespace tvl {
namespace {

struct ParseCase
{
    const char* text;
    LengthUnits units;
    int expected;
};

TEST(LengthUnitsTest, ParsesTypedLengths)
{
    const ParseCase cases[] = {
        {"1.5", LengthUnits::Inches, 1500},
        {"1.5 ''", LengthUnits::Inches, 1500},
        {"1.9375", LengthUnits::Inches, 1937},
        {"0.0625", LengthUnits::Inches, 62},
        {"3", LengthUnits::Inches, 3000},
        {"-0.25", LengthUnits::Inches, -250},
        {"2.x5", LengthUnits::Inches, 2050},
        {"inches", LengthUnits::Inches, 0},
        {"99999999999", LengthUnits::Inches, 2147483647},
        {"25.4", LengthUnits::Millimeters, 999},
        {"10.0 mm", LengthUnits::Millimeters, 393},
        {" 49.2mm", LengthUnits::Millimeters, 1937},
        {"-5", LengthUnits::Millimeters, -196},
        {"mm", LengthUnits::Millimeters, 0},
        {"1e30", LengthUnits::Millimeters, 2147483647},
    };
    for (const ParseCase& c : cases)
        EXPECT_EQ(ParseLength(QString::fromLatin1(c.text), c.units), c.expected) << c.text;
}

TEST(LengthUnitsTest, FormatsAndRoundTripsMillimetres)
{
    EXPECT_EQ(FormatLength(1938, LengthUnits::Inches), u"1.938 ''");
    EXPECT_EQ(FormatLength(1938, LengthUnits::Millimeters), u"49.2 mm");
    EXPECT_EQ(
        FormatLength(ParseLength(QStringLiteral("25.4"), LengthUnits::Millimeters), LengthUnits::Millimeters),
        u"25.4 mm");
    EXPECT_EQ(
        FormatLength(ParseLength(QStringLiteral("10.0"), LengthUnits::Millimeters), LengthUnits::Millimeters),
        u"10.0 mm");
}

TEST(LengthUnitsTest, StepsByTheShownUnit)
{
    EXPECT_EQ(StepLength(1500, LengthUnits::Inches, 1), 1510);
    EXPECT_EQ(StepLength(1500, LengthUnits::Inches, -1), 1490);
    // 393 shows as 10.0 mm; one click up shows 10.1 mm.
    const int up = StepLength(393, LengthUnits::Millimeters, 1);
    EXPECT_EQ(FormatLength(up, LengthUnits::Millimeters), u"10.1 mm");
    EXPECT_EQ(FormatLength(StepLength(up, LengthUnits::Millimeters, -1), LengthUnits::Millimeters),
              u"10.0 mm");
    EXPECT_EQ(UnitsFromSetting(QStringLiteral("Millimeters")), LengthUnits::Millimeters);
    EXPECT_EQ(UnitsFromSetting(QString()), LengthUnits::Inches);
}

} // namespace
} // namespace tvl
