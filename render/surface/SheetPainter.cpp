#include "render/surface/SheetPainter.h"

#include "document/model/LabelDesign.h"
#include "document/model/SurfaceNames.h"
#include "render/surface/EditingOverlay.h"
#include "render/surface/MaskRuns.h"
#include "render/surface/SceneState.h"
#include "render/surface/SurfaceBitmaps.h"
#include "render/surface/ViewGeometry.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>

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

// The pixels a disc's ring covers: the same path the cover's painting is clipped to. The last ring is
// kept, as every repaint asks for it again.
QRegion RingRegion(const EdgeRect& outer, const EdgeRect& hub)
{
    thread_local EdgeRect lastOuter;
    thread_local EdgeRect lastHub;
    thread_local QRegion lastRing;
    const EdgeRect hubAtOrigin = hub.translated(-outer.left, -outer.top);
    if (lastOuter.width() == outer.width() && lastOuter.height() == outer.height() &&
        lastHub == hubAtOrigin && !lastRing.isEmpty())
        return lastRing.translated(outer.left, outer.top);
    QPainterPath ring;
    ring.setFillRule(Qt::OddEvenFill);
    ring.addEllipse(QRectF(0, 0, outer.width(), outer.height()));
    ring.addEllipse(QRectF(hubAtOrigin.toQRect()));
    QImage mask(outer.width(), outer.height(), QImage::Format_ARGB32_Premultiplied);
    mask.fill(Qt::transparent);
    {
        QPainter painter(&mask);
        painter.fillPath(ring, Qt::black);
    }
    const std::vector<QRect> runs = MaskRuns(mask, QPoint(0, 0));
    lastRing = QRegion();
    lastRing.setRects(runs.data(), static_cast<int>(runs.size()));
    lastOuter = outer;
    lastHub = hubAtOrigin;
    return lastRing.translated(outer.left, outer.top);
}

bool HasAllCovers(const LabelDesign* design)
{
    for (int i = 0; design && i < kSurfaceCount; ++i) {
        if (!design->FindCover(SurfaceName(i)))
            return false;
    }
    return design != nullptr;
}

QRect Outline(const EdgeRect& r)
{
    return QRect(r.left, r.top, r.width() - 1, r.height() - 1);
}

} // namespace

std::vector<ShownCover> ShownCovers(const SceneState& scene, const ViewGeometry& geometry)
{
    std::vector<ShownCover> shown;
    const LabelDesign* design = scene.design;
    if (!HasAllCovers(design))
        return {};
    const CRichChild* covers[kSurfaceCount] = {};
    for (int i = 0; i < kSurfaceCount; ++i)
        covers[i] = design->FindCover(SurfaceName(i));
    const QString& page = geometry.currentPageCode();
    const DiscFlags flags = DiscDisplay(scene, geometry);
    const CRichChild& disc1 = *covers[Disc1Surface];
    const EdgeRect disc1Rect = SurfaceBitmaps::CoverSheetRect(disc1, geometry);
    const EdgeRect disc2Rect = SurfaceBitmaps::CoverSheetRect(*covers[Disc2Surface], geometry);
    QRegion ring;
    const auto add = [&](int index, const EdgeRect& at, bool disc) {
        ShownCover cover{index, at, disc, QRegion(at.toQRect())};
        if (disc) {
            if (ring.isEmpty())
                ring = RingRegion(disc1Rect, SurfaceBitmaps::CoverSheetRect(disc1, geometry, true));
            cover.area = ring.translated(at.left - disc1Rect.left, at.top - disc1Rect.top);
        }
        shown.push_back(std::move(cover));
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
            add(index, SurfaceBitmaps::CoverSheetRect(cover, geometry), disc);
            if (index == Disc1Surface && flags.duplicate)
                add(Disc1Surface,
                    disc1Rect.translated(disc2Rect.left - disc1Rect.left, disc2Rect.top - disc1Rect.top),
                    true);
        }
    }
    return shown;
}

void SheetPainter::Paint(QPainter& painter, const QRect& clipBox, const SceneState& scene,
                         const ViewGeometry& geometry, const SurfaceBitmaps& bitmaps, const Options& options)
{
    const QPoint shift = geometry.pageOrigin() + geometry.scrollPosition();
    painter.save();
    painter.translate(-shift);
    const QRect clip = clipBox.translated(shift);
    if (!HasAllCovers(scene.design)) {
        painter.fillRect(clip, options.workspace);
        painter.restore();
        return;
    }

    const std::vector<ShownCover> shown = ShownCovers(scene, geometry);
    const QRegion baseClip = QRegion(clip).subtracted(SelectionFrameRegion(scene, geometry));
    QRegion copied;
    for (const ShownCover& cover : shown) {
        const QRect dest = cover.at.toQRect().intersected(clip);
        if (dest.isEmpty())
            continue;
        painter.setClipRegion(cover.area.intersected(baseClip));
        copied += cover.area;
        painter.drawImage(dest.topLeft(), bitmaps.Bitmap(cover.surface),
                          QRect(dest.topLeft() - QPoint(cover.at.left, cover.at.top), dest.size()));
    }

    const EdgeRect sheet = geometry.PageToDevice(geometry.pageRect(), true, false);
    if (!options.partialRedraw) {
        painter.setClipRegion(baseClip.subtracted(QRegion(sheet.toQRect())));
        painter.fillRect(clip, options.workspace);
        painter.setClipRegion(baseClip.intersected(QRegion(sheet.toQRect())).subtracted(copied));
        painter.fillRect(sheet.toQRect(), Qt::white);
    }

    painter.setClipRegion(baseClip);
    QPen black(Qt::black);
    black.setWidth(0);
    painter.setPen(black);
    painter.setBrush(Qt::NoBrush);
    painter.drawLine(sheet.right, 2, sheet.right, sheet.bottom);
    painter.drawLine(sheet.right, sheet.bottom, 2, sheet.bottom);
    painter.drawLine(sheet.right + 1, 2, sheet.right + 1, sheet.bottom + 1);
    painter.drawLine(sheet.right + 1, sheet.bottom + 1, 2, sheet.bottom + 1);
    painter.drawRect(Outline(sheet));
    painter.restore();
}

} // namespace tvl
