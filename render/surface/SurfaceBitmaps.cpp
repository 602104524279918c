#include "render/surface/SurfaceBitmaps.h"

#include "document/model/LabelDesign.h"
#include "document/model/SurfaceNames.h"
#include "render/DrawTextItem.h"
#include "render/picture/DrawItemBackground.h"
#include "render/surface/DeviceRect.h"
#include "render/surface/PixelOverlays.h"
#include "render/surface/SceneState.h"
#include "render/surface/ViewGeometry.h"

#include <QPainter>

namespace tvl {
namespace {

const QColor kCoverOutline(60, 119, 119);
const QColor kDiscOutline(70, 129, 129);

EdgeRect ScreenRect(const CRichChild& item, const ViewGeometry& geometry, bool inner = false)
{
    return GetDeviceRect(item, inner, 0, geometry.dpiX(), geometry.dpiY(), geometry.zoomFactor(), 0, 0);
}

bool OnSheet(const CRichChild& item, const SceneState& scene, const ViewGeometry& geometry)
{
    if (item.pageCode != geometry.currentPageCode())
        return false;
    // A single-disc design shows an empty second disc.
    return item.surface != kDisc2 || scene.IsDouble();
}

bool CoversReady(const LabelDesign& design, const ViewGeometry& geometry)
{
    for (int i = 0; i < kSurfaceCount; ++i) {
        const CRichChild* cover = design.FindCover(SurfaceName(i));
        if (!cover || SurfaceBitmaps::CoverSheetRect(*cover, geometry).isEmpty())
            return false;
    }
    return true;
}

void OutlinePen(QPainter& painter)
{
    QPen pen(kCoverOutline);
    pen.setWidth(0);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
}

void FillRuns(QImage& bitmap, const std::vector<QRect>& runs, bool invert)
{
    if (invert) {
        for (const QRect& run : runs)
            InvertRect(bitmap, run);
        return;
    }
    QPainter painter(&bitmap);
    for (const QRect& run : runs)
        painter.fillRect(run, kDiscOutline);
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
    return ScreenRect(cover, geometry, inner);
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
    m_only = only;
    for (int i = 0; i < kSurfaceCount; ++i) {
        const CRichChild* cover = scene.design->FindCover(SurfaceName(i));
        if (Drawn(i) && cover->pageCode == geometry.currentPageCode())
            ++m_renders[static_cast<size_t>(i)];
    }
    DrawBackgrounds(scene, geometry);
    DrawOutlines(scene, geometry);
    DrawTexts(scene, geometry);
    DrawGuidesAndGrid(scene, geometry);
    m_pictures.Prune();
}

void SurfaceBitmaps::DrawBackgrounds(const SceneState& scene, const ViewGeometry& geometry)
{
    const LabelDesign& design = *scene.design;
    std::array<std::unique_ptr<QPainter>, 4> painters;
    for (const auto& item : design.itemList) {
        if (!OnSheet(*item, scene, geometry))
            continue;
        const CRichChild* cover = design.FindCover(item->surface);
        const int index = SurfaceIndexOf(item->surface);
        if (!cover || !Drawn(index))
            continue;
        const EdgeRect origin = CoverSheetRect(*cover, geometry);
        EdgeRect r = ScreenRect(*item, geometry).translated(-origin.left, -origin.top);
        // On screen each panel shows its own area's colour: the folded front cover's item colours only the
        // front panel, the back cover's only the part between the spine tabs.
        if (item.get() == cover && item->name == kFrontCover && item->coverFolded != 0)
            r.left += r.width() / 2;
        if (item.get() == cover && item->name == kBackCover) {
            const int spine = ScaleToDevice(item->coverSpine, geometry.dpiX(), geometry.zoomFactor());
            r = r.adjusted(spine, 0, -spine, 0);
        }
        auto& painter = painters[static_cast<size_t>(index)];
        if (!painter)
            painter = std::make_unique<QPainter>(&m_bitmaps[static_cast<size_t>(index)]);
        if (DrawItemBackground(*item, design, *painter, r, 0, &m_pictures))
            ++m_itemsDrawn;
    }
}

void SurfaceBitmaps::DrawOutlines(const SceneState& scene, const ViewGeometry& geometry)
{
    const LabelDesign& design = *scene.design;
    const QString& page = geometry.currentPageCode();
    if (const CRichChild* front = design.FindCover(kFrontCover);
        front && front->pageCode == page && Drawn(FrontSurface)) {
        const EdgeRect r = CoverSheetRect(*front, geometry);
        QPainter painter(&m_bitmaps[FrontSurface]);
        OutlinePen(painter);
        painter.drawRect(0, 0, r.width() - 1, r.height() - 1);
        if (front->coverFolded != 0)
            painter.drawLine(r.width() / 2, 0, r.width() / 2, r.height() - 1);
    }
    if (const CRichChild* back = design.FindCover(kBackCover);
        back && back->pageCode == page && Drawn(BackSurface)) {
        const EdgeRect r = CoverSheetRect(*back, geometry);
        QPainter painter(&m_bitmaps[BackSurface]);
        OutlinePen(painter);
        painter.drawRect(0, 0, r.width() - 1, r.height() - 1);
        if (const CRichChild* tab = design.FindItem(kLeftTab)) {
            const int x = ScreenRect(*tab, geometry).right - r.left;
            painter.drawLine(x, 0, x, m_bitmaps[BackSurface].height() - 1);
        }
        if (const CRichChild* tab = design.FindItem(kRightTab)) {
            const int x = ScreenRect(*tab, geometry).left - r.left;
            painter.drawLine(x, 0, x, m_bitmaps[BackSurface].height() - 1);
        }
    }
    for (const int index : {Disc1Surface, Disc2Surface}) {
        const CRichChild* disc = design.FindCover(SurfaceName(index));
        if (!disc || disc->pageCode != page || !Drawn(index))
            continue;
        const bool own = index == Disc1Surface || scene.IsDouble();
        QImage& bitmap = m_bitmaps[static_cast<size_t>(index)];
        DrawDiscOutline(bitmap, *disc, geometry, false, own && HasSurfaceBackground(*disc, scene));
        if (own && scene.guidesOn && disc->textMargin() > 0)
            DrawDiscOutline(bitmap, *disc, geometry, true, HasSurfaceBackground(*disc, scene));
    }
}

void SurfaceBitmaps::DrawTexts(const SceneState& scene, const ViewGeometry& geometry)
{
    LabelDesign& design = *scene.design;
    for (const auto& item : design.itemList) {
        if (!item->IsTextual() || !OnSheet(*item, scene, geometry))
            continue;
        const CRichChild* cover = design.FindCover(item->surface);
        const int index = SurfaceIndexOf(item->surface);
        if (!cover || !Drawn(index))
            continue;
        const EdgeRect mils = GetDeviceRect(*cover, false, 0, 0, 0, 1.0f, 0, 0);
        const QSize viewport(ScaleToDevice(mils.width(), geometry.dpiX(), geometry.zoomFactor()),
                             ScaleToDevice(mils.height(), geometry.dpiY(), geometry.zoomFactor()));
        QPainter painter(&m_bitmaps[static_cast<size_t>(index)]);
        DrawTextItem(
            painter, *item, design,
            MilsToDevice(-cover->left(), -cover->top(), QSize(mils.width(), mils.height()), viewport));
        ++m_itemsDrawn;
    }
}

void SurfaceBitmaps::DrawGuidesAndGrid(const SceneState& scene, const ViewGeometry& geometry)
{
    const LabelDesign& design = *scene.design;
    if (scene.guidesOn) {
        for (const auto& item : design.itemList) {
            if (IsStructural(item->kind) || !OnSheet(*item, scene, geometry))
                continue;
            const CRichChild* cover = design.FindCover(item->surface);
            const int index = SurfaceIndexOf(item->surface);
            if (!cover || !Drawn(index))
                continue;
            const EdgeRect origin = CoverSheetRect(*cover, geometry);
            DrawItemGuide(m_bitmaps[static_cast<size_t>(index)],
                          ScreenRect(*item, geometry).translated(-origin.left, -origin.top));
        }
    }
    if (!scene.showGrid)
        return;
    const auto toPixels = [&geometry](QPoint mils) {
        const EdgeRect p = geometry.PageToDevice({mils.x(), mils.y(), mils.x(), mils.y()}, true, false);
        return QPoint(p.left, p.top);
    };
    for (int i = 0; i < kSurfaceCount; ++i) {
        const CRichChild* cover = design.FindCover(SurfaceName(i));
        if (!cover || cover->pageCode != geometry.currentPageCode() || !Drawn(i))
            continue;
        const EdgeRect mils = GetDeviceRect(*cover, false, 0, 0, 0, 1.0f, 0, 0);
        const EdgeRect origin = CoverSheetRect(*cover, geometry);
        DrawGrid(m_bitmaps[static_cast<size_t>(i)], mils, scene.gridStep, QPoint(origin.left, origin.top),
                 toPixels);
    }
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

void DrawDiscOutline(QImage& bitmap, const CRichChild& disc, const ViewGeometry& geometry, bool marginRing,
                     bool invert)
{
    const EdgeRect outerSheet = ScreenRect(disc, geometry);
    EdgeRect outer = outerSheet.translated(-outerSheet.left, -outerSheet.top);
    EdgeRect inner = ScreenRect(disc, geometry, true).translated(-outerSheet.left, -outerSheet.top);
    if (marginRing) {
        const int m = static_cast<int>(static_cast<double>(disc.textMargin() / geometry.unitsPerPixelX()) *
                                       geometry.zoom() * 0.1);
        outer = outer.adjusted(m, m, -m, -m);
        inner = inner.adjusted(-m, -m, m, m);
    }
    std::vector<QRect> runs = EllipseOutline(outer);
    const std::vector<QRect> hub = EllipseOutline(inner);
    runs.insert(runs.end(), hub.begin(), hub.end());
    FillRuns(bitmap, runs, invert);
}

} // namespace tvl
