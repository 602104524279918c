#include "render/surface/EditingOverlay.h"

#include "document/model/LabelDesign.h"
#include "document/model/SurfaceNames.h"
#include "render/surface/DeviceRect.h"
#include "render/surface/PixelOverlays.h"
#include "render/surface/SceneState.h"
#include "render/surface/SheetPainter.h"
#include "render/surface/SurfaceBitmaps.h"
#include "render/surface/ViewGeometry.h"

#include <QPainter>

namespace tvl {
namespace {

const QColor kCoverOutline(60, 119, 119);
const QColor kDiscOutline(70, 129, 129);

QRect Outline(const EdgeRect& r)
{
    return QRect(r.left, r.top, r.width() - 1, r.height() - 1);
}

// Inverts rectangles (exclusive-or with white) so that an aid shows on any colour beneath.
void Invert(QPainter& painter, const std::vector<QRect>& rects, QPoint at)
{
    painter.save();
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    for (const QRect& r : rects)
        painter.fillRect(r.translated(at), Qt::white);
    painter.restore();
}

bool OnSheet(const CRichChild& item, const SceneState& scene, const ViewGeometry& geometry)
{
    if (item.pageCode != geometry.currentPageCode())
        return false;
    return item.surface != kDisc2 || scene.IsDouble();
}

} // namespace

QRegion SelectionFrameRegion(const SceneState& scene, const ViewGeometry& geometry)
{
    if (!scene.design || !scene.selectionMarksOn || scene.selectedItem.isEmpty())
        return {};
    const CRichChild* selected = scene.design->FindItem(scene.selectedItem);
    if (!selected || IsStructural(selected->kind))
        return {};
    const EdgeRect outer = geometry.GetItemSheetRect(*selected, true).adjusted(-1, -1, 1, 1);
    const int inset = selected->kind == ItemKind::Image ? 2 : 1;
    return QRegion(outer.toQRect())
        .subtracted(QRegion(outer.adjusted(inset, inset, -inset, -inset).toQRect()));
}

const std::vector<QRect>& EditingOverlay::CircleRuns(QSize size)
{
    const auto key = std::make_pair(size.width(), size.height());
    auto found = m_circles.find(key);
    if (found == m_circles.end())
        found = m_circles.emplace(key, EllipseOutline({0, 0, size.width(), size.height()})).first;
    return found->second;
}

EditingOverlay::Result EditingOverlay::Paint(QPainter& painter, const QRect& clipBox, const SceneState& scene,
                                             const ViewGeometry& geometry, const PrintableAreas& printable)
{
    Result result;
    const std::vector<ShownCover> shown = ShownCovers(scene, geometry);
    if (shown.empty())
        return result;
    const LabelDesign& design = *scene.design;
    const QPoint shift = geometry.pageOrigin() + geometry.scrollPosition();
    painter.save();
    painter.translate(-shift);
    const QRegion baseClip =
        QRegion(clipBox.translated(shift)).subtracted(SelectionFrameRegion(scene, geometry));
    QPen pen(kCoverOutline);
    pen.setWidth(0);
    painter.setBrush(Qt::NoBrush);

    QRegion copied;
    for (const ShownCover& shownCover : shown) {
        copied += shownCover.area;
        const CRichChild& cover = *design.FindCover(SurfaceName(shownCover.surface));
        const EdgeRect sheetRect = SurfaceBitmaps::CoverSheetRect(cover, geometry);
        // Where this copy lies relative to the cover's own place (disc 1 shown at the disc 2 position).
        const QPoint moved(shownCover.at.left - sheetRect.left, shownCover.at.top - sheetRect.top);
        const EdgeRect& r = shownCover.at;
        painter.setClipRegion(baseClip.intersected(QRegion(r.toQRect())));
        if (shownCover.disc) {
            const bool own = shownCover.surface == Disc1Surface || scene.IsDouble();
            const bool invert = own && HasSurfaceBackground(cover, scene);
            const EdgeRect hub =
                SurfaceBitmaps::CoverSheetRect(cover, geometry, true).translated(moved.x(), moved.y());
            std::vector<EdgeRect> circles{r, hub};
            if (own && scene.guidesOn && cover.textMargin() > 0) {
                const int m =
                    static_cast<int>(static_cast<double>(cover.textMargin() / geometry.unitsPerPixelX()) *
                                     geometry.zoom() * 0.1);
                circles.push_back(r.adjusted(m, m, -m, -m));
                circles.push_back(hub.adjusted(-m, -m, m, m));
            }
            for (const EdgeRect& circle : circles) {
                if (circle.isEmpty())
                    continue;
                const std::vector<QRect>& runs = CircleRuns(QSize(circle.width(), circle.height()));
                if (invert) {
                    Invert(painter, runs, QPoint(circle.left, circle.top));
                } else {
                    for (const QRect& run : runs)
                        painter.fillRect(run.translated(circle.left, circle.top), kDiscOutline);
                }
            }
        } else {
            painter.setPen(pen);
            painter.drawRect(Outline(r));
            if (cover.name == kFrontCover && cover.coverFolded != 0)
                painter.drawLine(r.left + r.width() / 2, r.top, r.left + r.width() / 2, r.bottom - 1);
            if (cover.name == kBackCover) {
                if (const CRichChild* tab = design.FindItem(kLeftTab)) {
                    const int x = SurfaceBitmaps::CoverSheetRect(*tab, geometry).right;
                    painter.drawLine(x, r.top, x, r.bottom - 1);
                }
                if (const CRichChild* tab = design.FindItem(kRightTab)) {
                    const int x = SurfaceBitmaps::CoverSheetRect(*tab, geometry).left;
                    painter.drawLine(x, r.top, x, r.bottom - 1);
                }
            }
        }

        painter.setClipRegion(baseClip.intersected(shownCover.area));
        if (scene.guidesOn) {
            for (const auto& item : design.itemList) {
                if (item->surface != cover.name || IsStructural(item->kind) ||
                    !OnSheet(*item, scene, geometry))
                    continue;
                const EdgeRect screen = SurfaceBitmaps::CoverSheetRect(*item, geometry);
                Invert(painter, ItemGuideFrame(screen), moved);
            }
        }
        if (scene.showGrid) {
            const auto toPixels = [&geometry](QPoint mils) {
                const EdgeRect p =
                    geometry.PageToDevice({mils.x(), mils.y(), mils.x(), mils.y()}, true, false);
                return QPoint(p.left, p.top);
            };
            std::vector<QRect> dots;
            for (const QPoint dot :
                 GridDots(GetDeviceRect(cover, false, 0, 0, 0, 1.0f, 0, 0), scene.gridStep, toPixels))
                dots.emplace_back(dot, QSize(1, 1));
            Invert(painter, dots, moved);
        }
    }

    const CRichChild* selected = scene.selectedItem.isEmpty() ? nullptr : design.FindItem(scene.selectedItem);
    const QString& page = geometry.currentPageCode();
    QPen black(Qt::black);
    black.setWidth(0);
    painter.setPen(black);
    if (scene.guidesOn) {
        // Text that reaches past its label onto the paper shows its frame there.
        painter.setClipRegion(baseClip.subtracted(copied));
        const bool discSheet = page == u"1";
        const bool duplicate =
            discSheet && !scene.IsDouble() && scene.discPositionMode == DiscPositionMode::DuplicateDisc;
        const EdgeRect disc1 = SurfaceBitmaps::CoverSheetRect(*design.FindCover(kDisc1), geometry);
        const EdgeRect disc2 = SurfaceBitmaps::CoverSheetRect(*design.FindCover(kDisc2), geometry);
        for (const auto& item : design.itemList) {
            if (item->pageCode != page || !item->IsTextual())
                continue;
            if (!discSheet && item.get() != selected)
                continue;
            const EdgeRect r = geometry.GetItemSheetRect(*item, true).adjusted(-1, -1, 1, 1);
            painter.drawRect(Outline(r));
            if (duplicate && item->surface == kDisc1)
                painter.drawRect(Outline(r.translated(disc2.left - disc1.left, disc2.top - disc1.top)));
        }
        const EdgeRect& pageMils = geometry.pageRect();
        if (pageMils.height() != kDirectToDiscSheet) {
            painter.setClipRegion(baseClip);
            const bool letter = pageMils.width() == 11000 || pageMils.height() == 11000;
            EdgeRect area = letter ? printable.letter : printable.a4;
            if (pageMils.width() >= pageMils.height())
                area = {area.top, area.left, area.bottom, area.right};
            QPen dashDotDot(Qt::black);
            dashDotDot.setWidth(0);
            dashDotDot.setStyle(Qt::DashDotDotLine);
            painter.setPen(dashDotDot);
            painter.drawRect(Outline(geometry.PageToDevice(area, true, false)));
        }
    }

    painter.setClipRegion(baseClip);
    if (scene.selectionMarksOn && selected) {
        if (IsStructural(selected->kind)) {
            result.selectionMarksEnded = true;
        } else {
            result.handles = SelectionHandleRects(geometry.GetItemSheetRect(*selected, true));
            Invert(painter, std::vector<QRect>(result.handles.begin(), result.handles.end()), QPoint());
        }
    }
    painter.restore();
    return result;
}

} // namespace tvl
