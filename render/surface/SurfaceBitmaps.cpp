#include "render/surface/SurfaceBitmaps.h"

#include "document/model/LabelDesign.h"
#include "document/model/SurfaceNames.h"
#include "render/paint/PaintCover.h"
#include "render/surface/DeviceRect.h"
#include "render/surface/SceneState.h"
#include "render/surface/ViewGeometry.h"

#include <QPainter>

namespace tvl {
namespace {

bool CoversReady(const LabelDesign& design, const ViewGeometry& geometry)
{
    for (int i = 0; i < kSurfaceCount; ++i) {
        const CRichChild* cover = design.FindCover(SurfaceName(i));
        if (!cover || SurfaceBitmaps::CoverSheetRect(*cover, geometry).isEmpty())
            return false;
    }
    return true;
}

} // namespace

bool SurfaceBitmaps::Create()
{
    for (int i = 0; i < kSurfaceCount; ++i) {
        QSize size = kStartSizes[i];
        QImage& bitmap = m_bitmaps[static_cast<size_t>(i)];
        bitmap = QImage(size, QImage::Format_RGB32);
        while (bitmap.isNull() && size.width() > 100 && size.height() > 100) {
            size -= QSize(100, 100);
            bitmap = QImage(size, QImage::Format_RGB32);
        }
        if (bitmap.isNull())
            return false;
        bitmap.fill(Qt::white);
    }
    return true;
}

std::array<QSize, 4> SurfaceBitmaps::Sizes() const
{
    return {m_bitmaps[0].size(), m_bitmaps[1].size(), m_bitmaps[2].size(), m_bitmaps[3].size()};
}

EdgeRect SurfaceBitmaps::CoverSheetRect(const CRichChild& cover, const ViewGeometry& geometry, bool inner)
{
    return GetDeviceRect(cover, inner, 0, geometry.dpiX(), geometry.dpiY(), geometry.zoomFactor(), 0, 0);
}

void SurfaceBitmaps::Clear(const SceneState& scene, const ViewGeometry& geometry, Surfaces only)
{
    for (int i = 0; i < kSurfaceCount; ++i) {
        const CRichChild* cover = scene.design->FindCover(SurfaceName(i));
        if (cover && cover->pageCode == geometry.currentPageCode() && only.test(static_cast<size_t>(i)))
            m_bitmaps[static_cast<size_t>(i)].fill(Qt::white);
    }
}

void SurfaceBitmaps::Render(const SceneState& scene, const ViewGeometry& geometry, Surfaces only)
{
    if (!scene.design || !CoversReady(*scene.design, geometry))
        return;
    const LabelDesign& design = *scene.design;
    for (int i = 0; i < kSurfaceCount; ++i) {
        const CRichChild& cover = *design.FindCover(SurfaceName(i));
        // A single-disc design shows an empty second disc.
        if (cover.pageCode != geometry.currentPageCode() || (i == Disc2Surface && !scene.IsDouble()) ||
            !only.test(static_cast<size_t>(i)))
            continue;
        ++m_renders[static_cast<size_t>(i)];
        CoverSpec spec =
            CoverSpec::AtOrigin(cover, geometry.dpiX(), geometry.dpiY(), geometry.zoomFactor(), 0);
        spec.panelColoursOnly = true;
        QPainter painter(&m_bitmaps[static_cast<size_t>(i)]);
        m_itemsDrawn += PaintCover(painter, design, SurfaceName(i), spec, &m_pictures);
    }
    m_pictures.Prune();
}

bool HasSurfaceBackground(const CRichChild& disc, const SceneState& scene)
{
    if (disc.colors.empty() || !disc.colors.front() || (*disc.colors.front() & 0x00ffffffu) != 0x00ffffffu)
        return true;
    for (const auto& item : scene.design->itemList) {
        if (item->surface == disc.name && item->kind == ItemKind::Image && item->bBackground() == 1)
            return true;
    }
    return false;
}

} // namespace tvl
