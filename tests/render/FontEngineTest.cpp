#include "render/text/FontEngine.h"

#include <QFontDatabase>
#include <gtest/gtest.h>

namespace tvl {
namespace {

ItemFont Arial(int height, int weight = 400, int italic = 0)
{
    return ItemFont{QStringLiteral("Arial"), height, weight, italic};
}

TEST(FontEngine, ArialResolvesToLiberationSans)
{
    FontEngine& engine = FontEngine::ForThisThread();
    auto family = [&](const ItemFont& font) {
        return engine.Face(font).ResolvedFamily().toLower().toStdString();
    };
    EXPECT_EQ(family(Arial(120)), "liberation sans");
    EXPECT_EQ(family(Arial(120, 700, 1)), "liberation sans");
    EXPECT_EQ(family(ItemFont{QStringLiteral("Times New Roman"), 120, 400, 0}), "liberation serif");
}

// Liberation Sans: 2048 units per em, ascent 1854, descent 434, "W" 1933 and space 569 units wide.
// At 12 pt one em is 1000 / 6 mils, so the measures are the design metrics scaled, not screen pixels.
TEST(FontEngine, MeasuresInMilsFromDesignMetrics)
{
    const FontFace& face = FontEngine::ForThisThread().Face(Arial(120));
    const CharExtent w = face.Extent(U'W', 120);
    EXPECT_EQ(w.width, 157);
    EXPECT_EQ(w.height, 186);
    EXPECT_EQ(w.descent, 35);
    EXPECT_EQ(face.Extent(U' ', 120).width, 46);
    // Ten times the size is ten times the extent (within rounding): nothing is hinted.
    EXPECT_NEAR(face.Extent(U'W', 1200).width, 1573, 1);
    EXPECT_EQ(face.Extent(U'W', 1200).descent, 353);
}

TEST(FontEngine, BoldIsWiderAndFacesAreCached)
{
    FontEngine& engine = FontEngine::ForThisThread();
    const FontFace& regular = engine.Face(Arial(400));
    const FontFace& bold = engine.Face(Arial(400, 700));
    EXPECT_NE(&regular, &bold);
    EXPECT_EQ(&engine.Face(Arial(100)), &regular); // the size is not part of a face
    EXPECT_GT(bold.Extent(U'n', 400).width, regular.Extent(U'n', 400).width);
}

} // namespace
} // namespace tvl
