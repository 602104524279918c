#include "document/model/CRichChild.h"
#include "render/surface/DeviceRect.h"
#include "render/surface/RenderSurfaceImage.h"

#include <climits>
#include <gtest/gtest.h>

namespace tvl {
namespace {

CRichChild ItemAt(const char* name, int left, int top, int width, int height)
{
    CRichChild item;
    item.name = QString::fromLatin1(name);
    item.left(left);
    item.top(top);
    item.width(width);
    item.height(height);
    return item;
}

struct Extreme
{
    const char* what;
    CRichChild item;
    bool innerCircle;
    int inflate;
    double dpi;
    EdgeRect expected;
};

// Edges that do not fit an int are held at its limits instead of wrapping (the sanitizer build would stop
// at any overflow on the way).
TEST(DeviceRectOverflowTest, ExtremeGeometryIsHeldAtTheLimits)
{
    const Extreme cases[] = {
        {"right edge past the largest int", ItemAt("Text 1", INT_MAX - 10, 0, 100, 100), false, 0, 0,
         EdgeRect{INT_MAX - 10, 0, INT_MAX, 100}},
        {"left edge past the smallest int", ItemAt("Text 1", INT_MIN + 5, 0, -100, 100), false, 0, 0,
         EdgeRect{INT_MIN + 5, 0, INT_MIN, 100}},
        {"far edges scaled to 600 dpi", ItemAt("Text 1", 2000000000, -2000000000, 2000000000, -2000000000),
         false, 0, 600, EdgeRect{1200000000, -1200000000, INT_MAX, INT_MIN}},
        {"inflated by the largest int", ItemAt("Front Cover", 0, 0, 100, 100), false, INT_MAX, 0,
         EdgeRect{INT_MIN + 1, INT_MIN + 1, INT_MAX, INT_MAX}},
        {"hub of a disc as wide as an int", ItemAt("Disc 1", INT_MAX, INT_MAX, INT_MAX, 1600), true, 50, 0,
         EdgeRect{INT_MAX, INT_MAX, INT_MAX, INT_MAX}},
        {"a million mils at 600 dpi", ItemAt("Back Cover", -1000000, -1000000, 1000000, 1000000), false, 150,
         600, EdgeRect{-600090, -600090, 90, 90}},
    };
    for (const Extreme& c : cases)
        EXPECT_EQ(GetDeviceRect(c.item, c.innerCircle, c.inflate, c.dpi, c.dpi, 1.0f, 0, 0), c.expected)
            << c.what;

    EXPECT_EQ(ScaleToDevice(INT_MAX, 600, 2.5f), INT_MAX);
    EXPECT_EQ(ScaleToDevice(INT_MIN, 600, 2.5f), INT_MIN);
    EXPECT_EQ((EdgeRect{INT_MIN, INT_MIN, INT_MAX, INT_MAX}).width(), INT_MAX);
}

TEST(DeviceRectOverflowTest, ExportSizeOfExtremeCovers)
{
    EXPECT_EQ(SurfaceImageSize(ItemAt("Front Cover", 0, 0, 1000000, 1000000), 600, 600, 150),
              QSize(600180, 600180));
    EXPECT_EQ(SurfaceImageSize(ItemAt("Front Cover", 0, 0, INT_MAX, INT_MAX), 600, 600, 150),
              QSize(1288490188, 1288490188));
    EXPECT_TRUE(SurfaceImageSize(ItemAt("Front Cover", 0, 0, 0, 7250), 600, 600, 0).isEmpty());
}

} // namespace
} // namespace tvl
