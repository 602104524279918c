#include "render/surface/RenderSurfaceImage.h"

#include "document/model/LabelDesign.h"
#include "document/model/SurfaceNames.h"
#include "images/LargePages.h"
#include "render/paint/PaintCover.h"

#include <QPainter>

namespace tvl {

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

std::optional<SurfaceImageRequest> RequestForCodes(int surface, int resolutionCode, int borderMode,
                                                   int overlapCode, int margin)
{
    const int dpi = ResolutionDpi(resolutionCode);
    if (dpi <= 0)
        return std::nullopt;
    SurfaceImageRequest request;
    request.surface = surface;
    request.dpiX = dpi;
    request.dpiY = dpi;
    request.overlap = resolutionCode == 8 ? margin : OverlapMils(overlapCode);
    const bool preview = resolutionCode == 7 || resolutionCode == 8;
    request.borderMode = preview ? NoBorder : borderMode;
    request.ringGrowth = resolutionCode == 7 ? 1 : 0;
    return request;
}

QSize SurfaceImageSize(const CRichChild& cover, double dpiX, double dpiY, int overlap)
{
    return CoverSpec::AtOrigin(cover, dpiX, dpiY, 1.0f, overlap).GrownSize(cover);
}

QSize SurfaceImageSize(const LabelDesign& design, const SurfaceImageRequest& request)
{
    if (request.dpiX <= 0 || request.dpiY <= 0 || request.surface < 0 || request.surface >= kSurfaceCount)
        return {};
    const CRichChild* cover = design.FindCover(SurfaceName(request.surface));
    if (!cover)
        return {};
    return SurfaceImageSize(*cover, request.dpiX, request.dpiY, request.overlap);
}

QImage RenderSurfaceImage(const LabelDesign& design, const SurfaceImageRequest& request)
{
    const QSize size = SurfaceImageSize(design, request);
    if (size.isEmpty())
        return {};
    QImage image = LargePageImage(size, QImage::Format_RGB32);
    if (image.isNull())
        return {};
    image.fill(QColor::fromRgb(request.background));
    QPainter painter(&image);
    DrawSurfaceImage(painter, design, request);
    return image;
}

bool DrawSurfaceImage(QPainter& painter, const LabelDesign& design, const SurfaceImageRequest& request)
{
    if (SurfaceImageSize(design, request).isEmpty())
        return false;
    const QStringView name = SurfaceName(request.surface);
    const CRichChild& cover = *design.FindCover(name);
    CoverSpec spec = CoverSpec::AtOrigin(cover, request.dpiX, request.dpiY, 1.0f, request.overlap);
    spec.borderMode = request.borderMode;
    spec.background = request.background;
    spec.outerCircleAdjust = {0, 0, request.ringGrowth, request.ringGrowth};
    PaintCover(painter, design, name, spec);
    return true;
}

} // namespace tvl
