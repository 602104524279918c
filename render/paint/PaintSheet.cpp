#include "render/paint/PaintSheet.h"

#include "document/model/LabelDesign.h"
#include "document/model/SurfaceNames.h"
#include "render/paint/PaintCover.h"

#include <QPainter>

namespace tvl {
namespace {

constexpr int kCalibrationUnit = 25;

// Preview nudges of the disc circles, in device pixels (left, top, right, bottom).
constexpr EdgeRect kPreviewOuterCircle{-1, -1, -3, -4};
constexpr EdgeRect kPreviewHubCircle{0, -2, 0, -3};

} // namespace

QPoint SheetOriginMils(const SheetSpec& spec)
{
    QPoint origin(static_cast<int>(spec.physicalOffset.x() * 1000 / spec.dpiX),
                  static_cast<int>(spec.physicalOffset.y() * 1000 / spec.dpiY));
    if (spec.preview)
        return origin;
    const QPoint units = spec.calibration * kCalibrationUnit;
    if (spec.sheet.width() >= spec.sheet.height())
        return origin + QPoint(-units.y(), units.x());
    return origin - units;
}

void PaintSheet(QPainter& painter, const LabelDesign& design, QStringView pageCode, const SheetSpec& spec)
{
    painter.save();
    CoverSpec base;
    base.dpiX = spec.dpiX;
    base.dpiY = spec.dpiY;
    base.offsetMils = spec.move - SheetOriginMils(spec);
    base.hubShrinks = false;
    if (spec.preview) {
        base.outerCircleAdjust = kPreviewOuterCircle;
        base.hubCircleAdjust = kPreviewHubCircle;
        painter.setClipRect(base.Map(spec.printable).toQRect(), Qt::IntersectClip);
    }
    for (int index = 0; index < kSurfaceCount; ++index) {
        const QStringView surface = SurfaceName(index);
        const CRichChild* cover = design.FindCover(surface);
        const SheetSpec::Label& label = spec.labels[static_cast<size_t>(index)];
        if (!cover || cover->pageCode != pageCode || !(label.print || spec.preview))
            continue;
        if (index == Disc2Surface && !spec.doubleDisc)
            continue;
        CoverSpec coverSpec = base;
        coverSpec.overlap = label.overlap;
        coverSpec.borderMode = label.borderMode;
        PaintCover(painter, design, surface, coverSpec);
        const CRichChild* disc2 = design.FindCover(kDisc2);
        if (index == Disc1Surface && spec.duplicateDisc && !spec.doubleDisc && disc2) {
            coverSpec.offsetMils += QPoint(disc2->left() - cover->left(), disc2->top() - cover->top());
            PaintCover(painter, design, surface, coverSpec);
        }
    }
    painter.restore();
}

} // namespace tvl
