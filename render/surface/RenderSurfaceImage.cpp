#include "render/surface/RenderSurfaceImage.h"

#include "document/model/LabelDesign.h"
#include "document/model/SurfaceNames.h"
#include "images/LargePages.h"
#include "render/DrawTextItem.h"
#include "render/picture/DrawItemBackground.h"
#include "render/surface/DeviceRect.h"

#include <QPainter>
#include <QRegion>

namespace tvl {
namespace {

QRect Outline(const EdgeRect& r)
{
    return QRect(r.left, r.top, r.width() - 1, r.height() - 1);
}

void DrawBorders(QPainter& painter, const CRichChild& cover, int surface, int borderMode, int dpi,
                 int offsetX, int offsetY)
{
    QPen pen(Qt::black);
    pen.setWidth(0);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    const EdgeRect r = GetDeviceRect(cover, false, 0, dpi, dpi, 1.0f, offsetX, offsetY);
    const bool outline = (borderMode & BorderOutline) != 0;
    const bool folds = (borderMode & BorderFolds) != 0;
    if (surface == Disc1Surface || surface == Disc2Surface) {
        if (outline) {
            painter.drawEllipse(Outline(r));
            painter.drawEllipse(Outline(GetDeviceRect(cover, true, 0, dpi, dpi, 1.0f, offsetX, offsetY)));
        }
        return;
    }
    if (outline)
        painter.drawRect(Outline(r));
    if (!folds)
        return;
    if (surface == FrontSurface) {
        if (cover.coverFolded != 0) {
            const int x = r.left + r.width() / 2;
            painter.drawLine(x, r.top, x, r.bottom - 1);
        }
        return;
    }
    const int spine = ScaleToDevice(cover.coverSpine, dpi, 1.0f);
    painter.drawLine(r.left + spine, r.top, r.left + spine, r.bottom - 1);
    painter.drawLine(r.right - spine, r.top, r.right - spine, r.bottom - 1);
}

} // namespace

int ResolutionDpi(int resolutionCode)
{
    switch (resolutionCode) {
    case 0:
        return 150;
    case 1:
        return 300;
    case 2:
        return 600;
    case 7:
    case 8:
        return 100;
    default:
        return -1;
    }
}

int OverlapMils(int overlapCode)
{
    switch (overlapCode) {
    case 1:
        return 50;
    case 2:
        return 100;
    case 3:
        return 150;
    default:
        return 0;
    }
}

QSize SurfaceImageSize(const CRichChild& cover, int dpi, int overlap)
{
    const EdgeRect mils = GetDeviceRect(cover, false, overlap, 0, 0, 1.0f, 0, 0);
    return QSize(static_cast<int>(dpi * mils.width() * 0.001), static_cast<int>(dpi * mils.height() * 0.001));
}

QSize SurfaceImageSize(const LabelDesign& design, const SurfaceImageRequest& request)
{
    const int dpi = ResolutionDpi(request.resolutionCode);
    if (dpi <= 0 || request.surface < 0 || request.surface >= kSurfaceCount)
        return {};
    const CRichChild* cover = design.FindCover(SurfaceName(request.surface));
    if (!cover)
        return {};
    const int overlap = request.resolutionCode == 8 ? request.margin : OverlapMils(request.overlapCode);
    return SurfaceImageSize(*cover, dpi, overlap);
}

QImage RenderSurfaceImage(LabelDesign& design, const SurfaceImageRequest& request)
{
    const QSize size = SurfaceImageSize(design, request);
    if (size.isEmpty())
        return {};
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull())
        return {};
    AdviseLargePages(image.bits(), static_cast<std::size_t>(image.sizeInBytes()));
    QPainter painter(&image);
    DrawSurfaceImage(painter, design, request);
    return image;
}

bool DrawSurfaceImage(QPainter& painter, LabelDesign& design, const SurfaceImageRequest& request)
{
    const QSize size = SurfaceImageSize(design, request);
    if (size.isEmpty())
        return false;
    const int dpi = ResolutionDpi(request.resolutionCode);
    const QStringView name = SurfaceName(request.surface);
    const CRichChild* cover = design.FindCover(name);
    const bool preview = request.resolutionCode == 7 || request.resolutionCode == 8;
    const int overlap = request.resolutionCode == 8 ? request.margin : OverlapMils(request.overlapCode);
    painter.save();
    painter.fillRect(QRect(QPoint(0, 0), size), QColor::fromRgb(request.background));

    const int offsetX = overlap - cover->left();
    const int offsetY = overlap - cover->top();
    const bool disc = request.surface == Disc1Surface || request.surface == Disc2Surface;
    if (disc) {
        EdgeRect outer = GetDeviceRect(*cover, false, overlap, dpi, dpi, 1.0f, offsetX, offsetY);
        if (request.resolutionCode == 7)
            outer = outer.adjusted(0, 0, 1, 1);
        const EdgeRect hub = GetDeviceRect(*cover, true, overlap, dpi, dpi, 1.0f, offsetX, offsetY);
        painter.setClipRegion(
            QRegion(outer.toQRect(), QRegion::Ellipse).subtracted(QRegion(hub.toQRect(), QRegion::Ellipse)));
    }
    const int overlapPixels = ScaleToDevice(overlap, dpi, 1.0f);
    bool paintedOver = false;
    for (const auto& item : design.itemList) {
        if (item->surface != name)
            continue;
        // A cover in the background colour, drawn before anything else, would change no pixel.
        if (!paintedOver && ItemFillColor(*item) == request.background)
            continue;
        EdgeRect r = GetDeviceRect(*item, false, 0, dpi, dpi, 1.0f, offsetX, offsetY);
        if (item.get() == cover && request.surface == BackSurface) {
            const int spine = ScaleToDevice(cover->coverSpine, dpi, 1.0f);
            r = r.adjusted(spine, 0, -spine, 0);
        }
        paintedOver = DrawItemBackground(*item, design, painter, r, overlapPixels, nullptr) || paintedOver;
    }
    // The window extent is the grown cover, so that text keeps the scale of the backgrounds when the
    // cover is grown by an overlap.
    const EdgeRect grown = GetDeviceRect(*cover, false, overlap, 0, 0, 1.0f, 0, 0);
    const QTransform milsToDevice =
        MilsToDevice(offsetX, offsetY, QSize(grown.width(), grown.height()), size);
    for (const auto& item : design.itemList) {
        if (item->surface == name && item->IsTextual())
            DrawTextItem(painter, *item, design, milsToDevice);
    }
    painter.setClipping(false);
    if (!preview && !(disc && request.resolutionCode == 8))
        DrawBorders(painter, *cover, request.surface, request.borderMode, dpi, offsetX, offsetY);
    painter.restore();
    return true;
}

} // namespace tvl
