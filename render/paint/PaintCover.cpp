#include "render/paint/PaintCover.h"

#include "document/model/LabelDesign.h"
#include "document/model/SurfaceNames.h"
#include "images/CxImage.h"
#include "render/DrawTextItem.h"
#include "render/picture/DrawItemBackground.h"

#include <QPainter>
#include <QPainterPath>

namespace tvl {
namespace {

QRect Outline(const EdgeRect& r)
{
    return QRect(r.left, r.top, r.width() - 1, r.height() - 1);
}

QPainterPath RingPath(const EdgeRect& outer, const EdgeRect& hub)
{
    QPainterPath ring;
    ring.setFillRule(Qt::OddEvenFill);
    ring.addEllipse(QRectF(outer.toQRect()));
    ring.addEllipse(QRectF(hub.toQRect()));
    return ring;
}

void DrawBorders(QPainter& painter, const CRichChild& cover, const CoverSpec& spec)
{
    QPen pen(Qt::black);
    pen.setWidth(0);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    const EdgeRect r = spec.DeviceRect(cover);
    const bool outline = (spec.borderMode & BorderOutline) != 0;
    const bool folds = (spec.borderMode & BorderFolds) != 0;
    if (cover.IsDiscSurface()) {
        if (outline) {
            const EdgeRect& outer = spec.outerCircleAdjust;
            const EdgeRect& hub = spec.hubCircleAdjust;
            painter.drawEllipse(Outline(r.adjusted(outer.left, outer.top, outer.right, outer.bottom)));
            painter.drawEllipse(
                Outline(spec.DeviceRect(cover, true).adjusted(hub.left, hub.top, hub.right, hub.bottom)));
        }
        return;
    }
    if (outline)
        painter.drawRect(Outline(r));
    if (!folds)
        return;
    if (cover.name == kFrontCover) {
        if (cover.coverFolded != 0) {
            const int x = r.left + r.width() / 2;
            painter.drawLine(x, r.top, x, r.bottom - 1);
        }
        return;
    }
    const int spine = spec.ScaleX(cover.coverSpine);
    painter.drawLine(r.left + spine, r.top, r.left + spine, r.bottom - 1);
    painter.drawLine(r.right - spine, r.top, r.right - spine, r.bottom - 1);
}

} // namespace

int PaintCover(QPainter& painter, const LabelDesign& design, QStringView surface, const CoverSpec& spec,
               PictureCache* cache)
{
    const CRichChild* cover = design.FindCover(surface);
    if (!cover)
        return 0;
    painter.save();
    if (cover->IsDiscSurface()) {
        painter.setClipPath(RingPath(spec.RingEdge(*cover, false), spec.RingEdge(*cover, true)),
                            Qt::IntersectClip);
    } else {
        painter.setClipRect(spec.GrownArea(*cover).toQRect(), Qt::IntersectClip);
    }

    const int overlapPixels = spec.ScaleX(spec.overlap);
    int drawn = 0;
    bool paintedOver = false;
    for (const auto& item : design.itemList) {
        if (item->surface != surface)
            continue;
        // A cover in the colour beneath, drawn before anything else, would change no pixel.
        if (!paintedOver && ItemFillColor(*item) == spec.background)
            continue;
        EdgeRect r = spec.DeviceRect(*item);
        if (item.get() == cover && cover->name == kBackCover) {
            const int spine = spec.ScaleX(cover->coverSpine);
            r = r.adjusted(spine, 0, -spine, 0);
        }
        if (spec.panelColoursOnly && item.get() == cover && cover->name == kFrontCover &&
            cover->coverFolded != 0)
            r.left += r.width() / 2;
        if (DrawItemBackground(*item, design, painter, r, overlapPixels, cache)) {
            paintedOver = true;
            ++drawn;
        }
    }
    const QTransform milsToDevice = spec.TextTransform(*cover);
    for (const auto& item : design.itemList) {
        if (item->surface == surface && item->IsTextual()) {
            DrawTextItem(painter, *item, design, milsToDevice);
            ++drawn;
        }
    }
    painter.restore();
    if (spec.borderMode != NoBorder)
        DrawBorders(painter, *cover, spec);
    return drawn;
}

bool CoverNeedsFonts(const LabelDesign& design, QStringView surface)
{
    for (const auto& item : design.itemList) {
        if (item->surface != surface)
            continue;
        if (item->IsTextual() || (item->image && item->image->Type() == CXIMAGE_FORMAT_WMF))
            return true;
    }
    return false;
}

} // namespace tvl
