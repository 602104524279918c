#include "document/files/early/EarlyValues.h"

#include <gtest/gtest.h>
#include <limits>

namespace tvl {
namespace {

TEST(EarlyValuesTest, LengthsAreTruncatedFromSinglePrecision)
{
    const std::pair<const char*, int> cases[] = {
        {"1.938", 1937},
        {"4.625", 4625},
        {"0.5", 500},
        {" 2.25 in", 2250},
        {"-0.125", -125},
        {"+3", 3000},
        {".75", 750},
        {"1e-1", 100},
        {"", 0},
        {"abc", 0},
        {"-", 0},
        {"7.", 7000},
        {"1e30", std::numeric_limits<int>::max()},
        {"-1e300", std::numeric_limits<int>::min()},
    };
    for (const auto& [text, mils] : cases)
        EXPECT_EQ(EarlyLength(QString::fromLatin1(text)), mils) << text;
}

TEST(EarlyValuesTest, ColoursFontsAndSizes)
{
    EXPECT_EQ(EarlyColor(u"255,128,1"), 0x000180FFu);
    EXPECT_EQ(EarlyColor(u" 10, 20 ,30"), 0x001E140Au);
    EXPECT_EQ(EarlyColor(u"300"), 300u & 0xffu);
    EXPECT_EQ(EarlyColor(u""), 0u);

    const ItemFont bold = EarlyFont(u"Arial,0,700,1", u"180`18 pt");
    EXPECT_EQ(bold, (ItemFont{QStringLiteral("Arial"), 180, 700, 1}));
    // Without a backquote the size row is not read: 40 pt.
    EXPECT_EQ(EarlyFont(u"Times New Roman,x,400,0", u"120").height, 400);
    EXPECT_EQ(EarlyFont(u"Arial", u"0`").height, ItemFont::kMinHeight);
    EXPECT_EQ(EarlyFont(u"Arial", u"99999`").height, ItemFont::kMaxHeight);
    const ItemFont faceOnly = EarlyFont(QString(40, u'F'), u"`");
    EXPECT_EQ(faceOnly.faceName.size(), ItemFont::kMaxFaceLength);
    EXPECT_EQ(faceOnly.weight, 0);
}

TEST(EarlyValuesTest, NinePositionAlignmentByAngle)
{
    struct Case
    {
        const char16_t* alignment;
        const char16_t* angle;
        const char16_t* expected;
    };
    const Case cases[] = {
        {u"Top Left", u"0 degrees", u"Left"},      {u"Top Left", u"90 degrees", u"Right"},
        {u"Top Left", u"180 degrees", u"Right"},   {u"Top Left", u"270 degrees", u"Left"},
        {u"Top", u"90 degrees", u"Right"},         {u"Top Right", u"180 degrees", u"Left"},
        {u"Left", u"270 degrees", u"Center"},      {u"Center", u"90 degrees", u"Center"},
        {u"Right", u"180 degrees", u"Left"},       {u"Bottom Left", u"270 degrees", u"Right"},
        {u"Bottom", u"90 degrees", u"Left"},       {u"Bottom Right", u"0 degrees", u"Right"},
        {u"Bottom Right", u"90 degrees", u"Left"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AlignmentForAngle(c.alignment, c.angle), QString::fromUtf16(c.expected))
            << QString::fromUtf16(c.alignment).toStdString() << " at "
            << QString::fromUtf16(c.angle).toStdString();
    }
    EXPECT_EQ(AlignmentForAngle(u"Top Left", u"45 degrees"), std::nullopt);
    EXPECT_EQ(AlignmentForAngle(u"Middle", u"0 degrees"), std::nullopt);
}

} // namespace
} // namespace tvl
