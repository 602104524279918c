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
// painted by PaintCover at the current zoom, as it prints. Pixel (0, 0) of a bitmap is the top-left
// corner of its cover's device rectangle. Painting the window only copies them (SheetPainter) and draws
// the editing aids over them (EditingOverlay).
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
    // Paints the covers on the shown sheet (of those in only; disc 2 only in a double design). Does
    // nothing unless all four covers exist with non-empty device rectangles.
    void Render(const SceneState& scene, const ViewGeometry& geometry, Surfaces only = Surfaces().set());
    // Drops every stretched picture, after a zoom.
    void DropPictureCache() { m_pictures.Clear(); }
    // Told of each picture whose screen copy was decoded in the background and can now be drawn.
    void SetPictureReadyHandler(std::function<void(const CxImage*)> ready)
    {
        m_pictures.SetReadyHandler(std::move(ready));
    }

    // Items drawn into the bitmaps so far, and pictures stretched: both stay put over a repaint.
    int itemsDrawn() const { return m_itemsDrawn; }
    // How often each surface's bitmap was painted.
    int renders(int surface) const { return m_renders[static_cast<size_t>(surface)]; }
    const PictureCache& pictures() const { return m_pictures; }

    // The cover's rectangle on the sheet in pixels at the current zoom (for discs the outer square, or
    // the hub square with inner).
    static EdgeRect CoverSheetRect(const CRichChild& cover, const ViewGeometry& geometry, bool inner = false);

private:
    std::array<QImage, 4> m_bitmaps;
    PictureCache m_pictures;
    int m_itemsDrawn = 0;
    std::array<int, kSurfaceCount> m_renders{};
};

// True when a disc shows anything but a plain white surface: no colour, a colour other than white, or a
// picture set as its whole background. Its outline is then drawn by inverting.
bool HasSurfaceBackground(const CRichChild& disc, const SceneState& scene);

} // namespace tvl
