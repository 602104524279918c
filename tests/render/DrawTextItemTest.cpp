#include "render/DrawTextItem.h"
#include "TextFixture.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace tvl {
namespace {

using test::AddItem;
using test::MakeDesign;
using test::TextSpec;

TEST(DrawTextItem, UnderlineFollowsTheAngle)
{
    const EdgeRect cell{10, 20, 110, 220};
    EXPECT_EQ(UnderlineLine(cell, 0), QLine(10, 20, 110, 20));
    EXPECT_EQ(UnderlineLine(cell, 1800), QLine(10, 220, 110, 220));
    EXPECT_EQ(UnderlineLine(cell, 900), QLine(10, 20, 10, 220));
    EXPECT_EQ(UnderlineLine(cell, -900), QLine(110, 20, 110, 220));
    EXPECT_EQ(GlyphAnchor(cell, 0), QPoint(10, 220));
    EXPECT_EQ(GlyphAnchor(cell, 900), QPoint(110, 220));
    EXPECT_EQ(GlyphAnchor(cell, 1800), QPoint(110, 20));
    EXPECT_EQ(GlyphAnchor(cell, -900), QPoint(10, 20));
    EXPECT_EQ(UnderlinePenWidth(40), 12);
}

// Counts the dark pixels inside and outside a rectangle of an image.
std::pair<int, int> DarkPixels(const QImage& image, const QRect& inside)
{
    int in = 0;
    int out = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qGray(image.pixel(x, y)) < 128)
                (inside.contains(x, y) ? in : out)++;
        }
    }
    return {in, out};
}

TEST(DrawTextItem, DrawsInsideTheItemAtTheDeviceScale)
{
    LabelDesign design = MakeDesign();
    TextSpec spec;
    spec.left = 1000;
    spec.top = 1000;
    spec.width = 1000;
    spec.height = 400;
    spec.fontHeight = 360;
    spec.text = QStringLiteral("WWWWWWWWWW\b"); // far wider than the block: clipped at its edge
    CRichChild& item = AddItem(design, spec);

    // The front cover (4750 mils) into a bitmap at 100 dots per inch.
    QImage image(475, 475, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        const CRichChild& cover = *design.FindCover(u"Front Cover");
        DrawTextItem(painter, item, design,
                     MilsToDevice(-cover.left(), -cover.top(), QSize(4750, 4750), QSize(475, 475)));
    }
    const auto [in, out] = DarkPixels(image, QRect(100, 100, 100, 40));
    EXPECT_GT(in, 400);
    EXPECT_EQ(out, 0);
}

// At every angle the glyphs land inside the block: drawn outside it they would be clipped away.
TEST(DrawTextItem, TurnedTextStaysInItsBlock)
{
    for (const char* angle : {"0 degrees", "90 degrees", "180 degrees", "270 degrees"}) {
        LabelDesign design = MakeDesign();
        TextSpec spec;
        spec.left = 1000;
        spec.top = 1000;
        const bool upright = angle[0] == '0' || angle[0] == '1';
        spec.width = upright ? 2000 : 600;
        spec.height = upright ? 600 : 2000;
        spec.fontHeight = 360;
        spec.angle = QString::fromLatin1(angle);
        spec.text = QStringLiteral("WWW\b");
        CRichChild& item = AddItem(design, spec);
        QImage image(475, 475, QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            DrawTextItem(painter, item, design, MilsToDevice(-500, -500, QSize(4750, 4750), QSize(475, 475)));
        }
        // Three 36-point W's cover about a third of their 160 × 50 mil box, about 16 × 5 pixels each.
        const QRect block(100, 100, spec.width / 10, spec.height / 10);
        const auto [in, out] = DarkPixels(image, block);
        EXPECT_GT(in, 150) << angle;
        EXPECT_EQ(out, 0) << angle;
    }
}

TEST(DrawTextItem, SkipsItemsWhoseArraysDisagree)
{
    LabelDesign design = MakeDesign();
    TextSpec spec;
    spec.text = QStringLiteral("WWW\b");
    CRichChild& item = AddItem(design, spec);
    item.colors.pop_back();
    QImage image(475, 475, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        DrawTextItem(painter, item, design, MilsToDevice(-500, -500, QSize(4750, 4750), QSize(475, 475)));
    }
    EXPECT_EQ(DarkPixels(image, QRect()).second, 0);
}

} // namespace
} // namespace tvl
