#include "app/GridSizeDialog.h"
#include "app/GridSpacing.h"
#include "app/InterfaceFont.h"

#include <QLineEdit>
#include <gtest/gtest.h>

namespace tvl {
namespace {

TEST(GridSpacingTest, FieldValuesBecomeClampedMils)
{
    const struct
    {
        const char* text;
        bool millimeters;
        std::optional<int> mils;
    } cases[] = {
        {"0.01", false, 30},
        {"2", false, 1000},
        {"5", true, 196},
        {"0.25 ''", false, 250},
        {"0.0500000000 ''", false, 50},
        {"2.54 mm", true, 100},
        {"0,5", false, 500},
        {"-1", false, 30},
        {"abc", false, std::nullopt},
        {"", true, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GridFieldValue(QString::fromLatin1(c.text), c.millimeters), c.mils) << c.text;
}

TEST(GridSpacingTest, FieldTextsInEitherUnit)
{
    EXPECT_EQ(GridFieldText(250, false), QStringLiteral("0.2500000000 ''"));
    EXPECT_EQ(GridFieldText(100, true), QStringLiteral("2.5400 mm"));
    for (const int mils : {30, 99, 100, 333, 1000}) {
        EXPECT_EQ(GridFieldValue(GridFieldText(mils, false), false), mils);
        EXPECT_EQ(GridFieldValue(GridFieldText(mils, true), true), mils);
    }
}

TEST(GridSizeDialogTest, OnlyEditedFieldsChange)
{
    GridSizeDialog dialog(QSize(333, 100), true);
    EXPECT_FALSE(dialog.Changed());
    EXPECT_EQ(dialog.GridSize(), QSize(333, 100));
    dialog.VerticalField()->setText(QStringLiteral("5"));
    EXPECT_TRUE(dialog.Changed());
    EXPECT_EQ(dialog.GridSize(), QSize(333, 196));
    dialog.VerticalField()->setText(QStringLiteral("nonsense"));
    EXPECT_EQ(dialog.GridSize(), QSize(333, 100)) << "text without a number keeps the value";
}

TEST(InterfaceFontTest, ControlFontFollowsScreenResolution)
{
    EXPECT_DOUBLE_EQ(ControlFontPointSize(96), 8.5);
    EXPECT_DOUBLE_EQ(ControlFontPointSize(120), 6.8);
    EXPECT_DOUBLE_EQ(ControlFontPointSize(144), 5.6);
    EXPECT_DOUBLE_EQ(ControlFontPointSize(72), 11.3);
    EXPECT_DOUBLE_EQ(InterfaceFont(120).pointSizeF(), 6.8);
}

} // namespace
} // namespace tvl
