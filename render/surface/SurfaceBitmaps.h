#pragma once

#include "document/model/EdgeRect.h"
#include "document/model/SurfaceNames.h"
#include "render/picture/PictureCache.h"

#include <QImage>
#include <array>
#include <bitset>

namespace tvl {

class CRichChild;
class ViewGeometry;
struct SceneState;

// The four off-screen bitmaps of the label view (front, back, disc 1, disc 2), each holding its cover
// as drawn at the current zoom: background colours and pictures, the teal outlines, text, then the
// guides and grid dots. Pixel (0, 0) of a bitmap is the top-left corner of its cover's device rectangle.
// Painting the window only copies them (SheetPainter).
class SurfaceBitmaps
{
public:
    static constexpr QSize kStartSizes[4] = {{1800, 1078}, {1500, 1095}, {1080, 1080}, {1080, 1080}};

    // Makes the bitmaps at their starting sizes; a bitmap that cannot be made shrinks by 100 on both
    // axes until it can. False when one cannot be made at all.
    bool Create();
    std::array<QSize, 4> Sizes() const;
    const QImage& Bitmap(int surface) const { return m_bitmaps[static_cast<size_t>(surface)]; }

    using Surfaces = std::bitset<kSurfaceCount>;

    // Fills white the bitmaps of the covers on the shown sheet (of those in only).
    void Clear(const SceneState& scene, const ViewGeometry& geometry, Surfaces only = Surfaces().set());
    // Draws every layer of the covers on the shown sheet (of those in only). Does nothing unless all
    // four covers exist with non-empty device rectangles.
    void Render(const SceneState& scene, const ViewGeometry& geometry, Surfaces only = Surfaces().set());
    // Drops every stretched picture, after a zoom.
    void DropPictureCache() { m_pictures.Clear(); }

    // Items drawn into the bitmaps so far, and pictures stretched: both stay put over a repaint.
    int itemsDrawn() const { return m_itemsDrawn; }
    // How often each surface's bitmap was drawn.
    int renders(int surface) const { return m_renders[static_cast<size_t>(surface)]; }
    const PictureCache& pictures() const { return m_pictures; }

    // The cover's rectangle on the sheet in pixels at the current zoom (for discs the outer square, or
    // the hub square with inner).
    static EdgeRect CoverSheetRect(const CRichChild& cover, const ViewGeometry& geometry, bool inner = false);

private:
    void DrawBackgrounds(const SceneState& scene, const ViewGeometry& geometry);
    void DrawOutlines(const SceneState& scene, const ViewGeometry& geometry);
    void DrawTexts(const SceneState& scene, const ViewGeometry& geometry);
    void DrawGuidesAndGrid(const SceneState& scene, const ViewGeometry& geometry);

    bool Drawn(int surface) const { return surface >= 0 && m_only.test(static_cast<size_t>(surface)); }

    std::array<QImage, 4> m_bitmaps;
    PictureCache m_pictures;
    int m_itemsDrawn = 0;
    std::array<int, kSurfaceCount> m_renders{};
    Surfaces m_only;
};

// True when a disc shows anything but a plain white surface: no colour, a colour other than white, or a
// picture set as its whole background. Its outline is then drawn by inverting.
bool HasSurfaceBackground(const CRichChild& disc, const SceneState& scene);

// The disc's outer and hub circle outlines (or, with marginRing, the circles textMargin inside the edge
// and outside the hub) into a bitmap whose origin is the disc's top-left corner: filled teal, or
// inverted with invert.
void DrawDiscOutline(QImage& bitmap, const CRichChild& disc, const ViewGeometry& geometry, bool marginRing,
                     bool invert);

} // namespace tvl
