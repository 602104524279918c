#include "app/messages/AppMessageBox.h"

#include <QApplication>
#include <QCheckBox>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <gtest/gtest.h>

namespace tvl {
namespace {

MessageRequest Request(const char* buttons, bool checkBox)
{
    MessageRequest request;
    request.text = QStringLiteral("Save the changes?");
    request.iconKind = 2;
    request.buttons = QString::fromLatin1(buttons);
    request.showCheckBox = checkBox;
    return request;
}

TEST(AppMessageBoxTest, ButtonsMapToResults)
{
    const struct
    {
        const char* buttons;
        bool checkBox;
        bool tick;
        int press;
        int result;
    } cases[] = {
        {"Yes`No`Cancel`", false, false, 1, 1},
        {"Yes`No`Cancel`", false, false, 2, 2},
        {"Yes`No`Cancel`", false, false, 3, 3},
        {"OK`", true, true, 1, 4},
        {"OK`", true, false, 1, 1},
        {"Yes`No`Cancel`", true, true, 3, 6},
        {"Retry`Cancel`", true, true, 2, 5},
    };
    for (const auto& c : cases) {
        MessageRequest request = Request(c.buttons, c.checkBox);
        AppMessageBox box(request);
        ASSERT_NE(box.Button(c.press), nullptr) << c.buttons;
        if (c.tick)
            box.CheckBox()->setChecked(true);
        box.Button(c.press)->click();
        EXPECT_EQ(box.result(), c.result) << c.buttons << " button " << c.press;
        EXPECT_FALSE(request.showCheckBox) << "a press clears the check-box request";
    }
}

TEST(AppMessageBoxTest, ButtonLabelsComeFromTheBackquoteList)
{
    MessageRequest request = Request("Yes`No`", false);
    AppMessageBox box(request);
    EXPECT_EQ(box.Button(1)->text(), QStringLiteral("Yes"));
    EXPECT_EQ(box.Button(2)->text(), QStringLiteral("No"));
    EXPECT_EQ(box.Button(3), nullptr);
    EXPECT_EQ(box.CheckBox(), nullptr);

    MessageRequest withBox = Request("OK`", true);
    AppMessageBox checkBox(withBox);
    ASSERT_NE(checkBox.CheckBox(), nullptr);
    EXPECT_EQ(checkBox.CheckBox()->text(), QStringLiteral("Do not show this message again."));
}

TEST(AppMessageBoxTest, CloseControlGivesTwoEvenWithoutButtons)
{
    for (const char* buttons : {"OK", "", "Yes`No`Cancel`"}) {
        MessageRequest request = Request(buttons, true);
        QTimer::singleShot(0, [] {
            if (QWidget* box = QApplication::activeModalWidget())
                box->close();
        });
        EXPECT_EQ(ShowAppMessageBox(request, nullptr), 2) << buttons;
        EXPECT_FALSE(request.showCheckBox);
    }
    MessageRequest request = Request("OK", false);
    AppMessageBox box(request);
    EXPECT_EQ(box.Button(1), nullptr) << "a list without a backquote has no button";
}

TEST(AppMessageBoxTest, CaptionIsResetAfterLayout)
{
    MessageRequest request = Request("OK`", false);
    request.caption = QStringLiteral(" Read CD");
    {
        AppMessageBox first(request);
        EXPECT_EQ(first.windowTitle(), QStringLiteral(" Read CD"));
    }
    EXPECT_TRUE(request.caption.isEmpty());
    AppMessageBox second(request);
    EXPECT_EQ(second.windowTitle(), QStringLiteral(" Tovrelline"));
}

TEST(AppMessageBoxTest, ThreeLineTextIsSizedByItsWidestLine)
{
    MessageRequest request = Request("OK`Cancel`", false);
    request.text = QStringLiteral("Short\r\nThe widest line of this message\r\nEnd");
    AppMessageBox box(request);
    const QFontMetrics fm(box.font());
    const int icon = box.style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, &box);
    const QRect text = box.TextLabel()->geometry();
    EXPECT_EQ(text.width(), fm.horizontalAdvance(QStringLiteral("The widest line of this message")) + 6);
    EXPECT_EQ(text.height(), 3 * fm.lineSpacing());
    EXPECT_EQ(text.left(), 15 + icon + 15);
    EXPECT_EQ(box.TextLabel()->text(), QStringLiteral("Short\nThe widest line of this message\nEnd"));
    EXPECT_EQ(box.Button(1)->geometry().top(), std::max(15 + icon, text.bottom() + 1) + 15);
    EXPECT_EQ(box.height(), box.Button(1)->geometry().bottom() + 1 + 15);
}

TEST(MessageBoxLayoutTest, DistancesOfTheLayout)
{
    MessageBoxMetrics m;
    m.icon = QSize(32, 32);
    m.lineWidths = {100, 180, 50};
    m.lineHeight = 16;
    m.button = QSize(75, 23);
    m.buttonCount = 2;
    MessageBoxGeometry g = LayOutMessageBox(m);
    EXPECT_EQ(g.icon, QRect(15, 15, 32, 32));
    EXPECT_EQ(g.text, QRect(62, 15, 186, 48));
    EXPECT_EQ(g.client.width(), 62 + 186 + 15);
    ASSERT_EQ(g.buttons.size(), 2u);
    EXPECT_EQ(g.buttons[0], QRect((263 - 160) / 2, 78, 75, 23));
    EXPECT_EQ(g.buttons[1].left() - g.buttons[0].right() - 1, 10);
    EXPECT_EQ(g.client.height(), 78 + 23 + 15);

    // The check box sits 15 below the text and pushes the button row down.
    m.showCheckBox = true;
    m.checkBox = QSize(200, 20);
    g = LayOutMessageBox(m);
    EXPECT_EQ(g.checkBox, QRect(62, 78, 200, 20));
    EXPECT_EQ(g.buttons[0].top(), 98 + 15);

    // A single line lower than the icon is centred on it; a narrow text widens the box for three buttons.
    m = MessageBoxMetrics{QSize(32, 32), {20}, 16, false, {}, QSize(75, 23), 3};
    g = LayOutMessageBox(m);
    EXPECT_EQ(g.text.top(), 15 + 8);
    EXPECT_EQ(g.client.width(), 3 * (75 + 10) + 20);
    EXPECT_EQ(g.buttons[0].left(), (275 - (3 * 75 + 20)) / 2);
    EXPECT_EQ(g.buttons[0].top(), 47 + 15);

    // Without buttons the box ends 15 below its lowest element.
    m.buttonCount = 0;
    g = LayOutMessageBox(m);
    EXPECT_TRUE(g.buttons.empty());
    EXPECT_EQ(g.client.height(), 47 + 15);
}

} // namespace
} // namespace tvl
