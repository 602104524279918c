#pragma once

#include "render/surface/EditingOverlay.h"
#include "render/surface/SheetPainter.h"
#include "render/surface/SurfaceBitmaps.h"
#include "tests/render/SurfaceFixture.h"

#include <QImage>
#include <QPainter>

namespace tvl::test {

// Renders the shown sheet into fresh bitmaps and paints the whole window into an image, editing aids
// included, as the label view does.
struct RenderedView
{
    SurfaceBitmaps bitmaps;
    EditingOverlay overlay;
    QImage window;
    EditingOverlay::Result result;

    void Render(SurfaceFixture& f)
    {
        if (bitmaps.Bitmap(0).isNull())
            bitmaps.Create();
        bitmaps.Clear(f.scene, f.geometry);
        bitmaps.Render(f.scene, f.geometry);
        Paint(f);
    }

    void Paint(SurfaceFixture& f)
    {
        window = QImage(f.geometry.clientSize(), QImage::Format_RGB32);
        window.fill(Qt::magenta);
        QPainter painter(&window);
        SheetPainter::Paint(painter, window.rect(), f.scene, f.geometry, bitmaps, {});
        result = overlay.Paint(painter, window.rect(), f.scene, f.geometry, {});
    }

    // The window pixel of a sheet pixel.
    QRgb At(const SurfaceFixture& f, int sheetX, int sheetY) const
    {
        const QPoint shift = f.geometry.pageOrigin() + f.geometry.scrollPosition();
        return window.pixel(sheetX - shift.x(), sheetY - shift.y()) & 0x00ffffffu;
    }
};

inline constexpr QRgb kWhite = 0xffffff;
inline constexpr QRgb kBlack = 0x000000;
inline constexpr QRgb kTealDisc = 0x468181;
inline constexpr QRgb kRed = 0xff0000;

} // namespace tvl::test
