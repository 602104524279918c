#include "render/surface/SheetPainter.h"

#include "document/model/LabelDesign.h"
#include "document/model/SurfaceNames.h"
#include "render/surface/PixelOverlays.h"
#include "render/surface/SceneState.h"
#include "render/surface/SurfaceBitmaps.h"
#include "render/surface/ViewGeometry.h"

#include <QPainter>
#include <QRegion>

namespace tvl {
namespace {

struct DiscFlags
{
    bool duplicate = false;
    bool show[2] = {true, true};
};

DiscFlags DiscDisplay(const SceneState& scene, const ViewGeometry& geometry)
{
    DiscFlags flags;
    const bool discSheet = geometry.currentPageCode() == u"1";
    flags.duplicate =
        discSheet && !scene.IsDouble() && scene.discPositionMode == DiscPositionMode::DuplicateDisc;
    // A printer that prints on the disc itself takes one disc at a time.
    if (geometry.pageRect().height() == kDirectToDiscSheet) {
        if (!scene.IsDouble()) {
            flags.show[1] = false;
            flags.duplicate = false;
        } else {
            flags.show[geometry.currentSurface() == kDisc1 ? 1 : 0] = false;
        }
    }
    return flags;
}

// The disc's ring, keeping the hub's outline pixels (they lie on the hub's edge) so the hub outline of
// the bitmap shows.
QRegion RingRegion(const EdgeRect& outer, const EdgeRect& inner)
{
    const QRegion hole = QRegion(inner.toQRect(), QRegion::Ellipse).subtracted(EllipseOutlineRegion(inner));
    return QRegion(outer.toQRect(), QRegion::Ellipse).subtracted(hole);
}

QRect Outline(const EdgeRect& r)
{
    return QRect(r.left, r.top, r.width() - 1, r.height() - 1);
}

} // namespace

SheetPainter::Result SheetPainter::Paint(QPainter& painter, const QRect& clipBox, const SceneState& scene,
                                         const ViewGeometry& geometry, const SurfaceBitmaps& bitmaps,
                                         const Options& options)
{
    Result result;
    const QPoint shift = geometry.pageOrigin() + geometry.scrollPosition();
    painter.save();
    painter.translate(-shift);
    const QRect clip = clipBox.translated(shift);
    const LabelDesign* design = scene.design;
    const CRichChild* covers[kSurfaceCount] = {};
    bool complete = design != nullptr;
    for (int i = 0; complete && i < kSurfaceCount; ++i) {
        covers[i] = design->FindCover(SurfaceName(i));
        complete = covers[i] != nullptr;
    }
    if (!complete) {
        painter.fillRect(clip, options.workspace);
        painter.restore();
        return result;
    }

    const EdgeRect sheet = geometry.PageToDevice(geometry.pageRect(), true, false);
    const QString& page = geometry.currentPageCode();
    const bool discSheet = page == u"1";
    const DiscFlags flags = DiscDisplay(scene, geometry);
    const CRichChild& disc1 = *covers[Disc1Surface];
    const CRichChild& disc2 = *covers[Disc2Surface];
    const EdgeRect disc1Rect = SurfaceBitmaps::CoverSheetRect(disc1, geometry);
    const EdgeRect disc2Rect = SurfaceBitmaps::CoverSheetRect(disc2, geometry);
    const QPoint toDisc2(disc2Rect.left - disc1Rect.left, disc2Rect.top - disc1Rect.top);
    const QRegion ring = RingRegion(disc1Rect, SurfaceBitmaps::CoverSheetRect(disc1, geometry, true));

    const CRichChild* selected =
        scene.selectedItem.isEmpty() ? nullptr : design->FindItem(scene.selectedItem);
    QRegion selectionFrame;
    if (scene.selectionMarksOn && selected && !IsStructural(selected->kind)) {
        const EdgeRect r = geometry.GetItemSheetRect(*selected, true);
        const EdgeRect outer = r.adjusted(-1, -1, 1, 1);
        const int inset = selected->kind == ItemKind::Image ? 2 : 1;
        selectionFrame = QRegion(outer.toQRect())
                             .subtracted(QRegion(outer.adjusted(inset, inset, -inset, -inset).toQRect()));
    }
    const QRegion baseClip = QRegion(clip).subtracted(selectionFrame);
    painter.setClipRegion(baseClip);

    // The current surface is copied last so that it lies on top of a neighbour it overlaps.
    QRegion copied;
    const auto copyBitmap = [&](int index, const EdgeRect& at, bool disc) {
        const QRect dest = at.adjusted(0, 0, 2, 2).toQRect().intersected(clip);
        if (dest.isEmpty())
            return;
        const QRect source(dest.topLeft() - QPoint(at.left, at.top), dest.size());
        if (disc) {
            const QRegion discRing = ring.translated(at.left - disc1Rect.left, at.top - disc1Rect.top);
            painter.setClipRegion(discRing.intersected(baseClip));
            copied += discRing;
        } else {
            copied += dest;
        }
        painter.drawImage(dest.topLeft(), bitmaps.Bitmap(index), source);
        if (disc)
            painter.setClipRegion(baseClip);
    };
    for (int pass = 0; pass < 2; ++pass) {
        for (const int index : {Disc1Surface, Disc2Surface, BackSurface, FrontSurface}) {
            const CRichChild& cover = *covers[index];
            if ((cover.name == geometry.currentSurface()) != (pass == 1) || cover.pageCode != page)
                continue;
            const bool disc = index == Disc1Surface || index == Disc2Surface;
            if (disc && !flags.show[index - Disc1Surface])
                continue;
            if (index == Disc2Surface && flags.duplicate)
                continue;
            copyBitmap(index, SurfaceBitmaps::CoverSheetRect(cover, geometry), disc);
            if (index == Disc1Surface && flags.duplicate)
                copyBitmap(Disc1Surface, disc1Rect.translated(toDisc2.x(), toDisc2.y()), true);
        }
    }

    QRegion paper = baseClip;
    if (!options.partialRedraw) {
        const QRegion outside = QRegion(clip).subtracted(QRegion(sheet.toQRect()));
        painter.setClipRegion(outside.intersected(baseClip));
        painter.fillRect(clip, options.workspace);
        paper = baseClip.intersected(QRegion(sheet.toQRect())).subtracted(copied);
        painter.setClipRegion(paper);
        painter.fillRect(sheet.toQRect(), Qt::white);
    } else {
        paper = baseClip.subtracted(copied);
        painter.setClipRegion(paper);
    }

    QPen black(Qt::black);
    black.setWidth(0);
    painter.setPen(black);
    painter.setBrush(Qt::NoBrush);
    if (scene.guidesOn) {
        // Text that reaches past its label onto the paper shows its frame there.
        for (const auto& item : design->itemList) {
            if (item->pageCode != page || !item->IsTextual())
                continue;
            if (!discSheet && item.get() != selected)
                continue;
            const EdgeRect r = geometry.GetItemSheetRect(*item, true).adjusted(-1, -1, 1, 1);
            painter.drawRect(Outline(r));
            if (flags.duplicate && item->surface == kDisc1)
                painter.drawRect(Outline(r.translated(toDisc2.x(), toDisc2.y())));
        }
    }

    painter.setClipRegion(baseClip);
    painter.drawLine(sheet.right, 2, sheet.right, sheet.bottom);
    painter.drawLine(sheet.right, sheet.bottom, 2, sheet.bottom);
    painter.drawLine(sheet.right + 1, 2, sheet.right + 1, sheet.bottom + 1);
    painter.drawLine(sheet.right + 1, sheet.bottom + 1, 2, sheet.bottom + 1);

    const EdgeRect& pageMils = geometry.pageRect();
    if (scene.guidesOn && pageMils.height() != kDirectToDiscSheet) {
        const bool letter = pageMils.width() == 11000 || pageMils.height() == 11000;
        EdgeRect area = letter ? options.printable.letter : options.printable.a4;
        if (pageMils.width() >= pageMils.height())
            area = {area.top, area.left, area.bottom, area.right};
        QPen dashDotDot(Qt::black);
        dashDotDot.setWidth(0);
        dashDotDot.setStyle(Qt::DashDotDotLine);
        painter.setPen(dashDotDot);
        painter.drawRect(Outline(geometry.PageToDevice(area, true, false)));
        painter.setPen(black);
    }

    painter.drawRect(Outline(sheet));
    if (scene.selectionMarksOn && selected) {
        if (IsStructural(selected->kind)) {
            result.selectionMarksEnded = true;
        } else {
            result.handles = SelectionHandleRects(geometry.GetItemSheetRect(*selected, true));
            painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
            for (const QRect& handle : result.handles)
                painter.fillRect(handle, Qt::white);
        }
    }
    painter.restore();
    return result;
}

} // namespace tvl
