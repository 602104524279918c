#include "render/picture/DrawItemBackground.h"

#include "document/model/LabelDesign.h"
#include "document/model/SurfaceNames.h"
#include "images/CxImage.h"
#include "render/picture/PictureCache.h"

#include <QPainter>

namespace tvl {
namespace {

struct Growth
{
    bool left = false;
    bool up = false;
    bool right = false;
    bool down = false;
};

Growth GrowthOf(const CRichChild& item, const CRichChild& cover)
{
    if (item.surface == kBackCover) {
        return {item.name == kLeftTab, true, item.name == kRightTab, true};
    }
    if (item.name == kFrontCover)
        return {cover.coverFolded == 0, true, true, true};
    if (item.name == kFrontInside)
        return {true, true, false, true};
    return {true, true, true, true};
}

bool DrawPicture(const CRichChild& item, QPainter& painter, const EdgeRect& rect, PictureCache* cache)
{
    const std::shared_ptr<CxImage>& picture = item.image;
    if (!picture || !picture->IsValid() || rect.isEmpty())
        return false;
    if (cache && !picture->HasTransparency() && !picture->HasAlpha()) {
        const QSize size(rect.width(), rect.height());
        const QImage* stretched = cache->Stretched(picture, size);
        if (!stretched) // still being decoded: the colours beneath show until it is drawn
            return false;
        if (stretched->size() == size)
            painter.drawImage(QPoint(rect.left, rect.top), *stretched);
        else
            painter.drawImage(rect.toQRect(), *stretched);
        return true;
    }
    return picture->DrawTo(&painter, rect.toQRect());
}

} // namespace

std::optional<QRgb> ItemFillColor(const CRichChild& item)
{
    if (item.kind != ItemKind::Cover && item.kind != ItemKind::Boundary)
        return std::nullopt;
    const ItemColor color = item.colors.empty() ? 0x00ffffffu : item.colors.front().value_or(0x00ffffffu);
    return ItemColorToRgb(color);
}

bool DrawItemBackground(const CRichChild& item, const LabelDesign& design, QPainter& painter,
                        const EdgeRect& rect, int overlap, PictureCache* cache)
{
    const bool image = item.kind == ItemKind::Image;
    if (!image && item.kind != ItemKind::Cover && item.kind != ItemKind::Boundary)
        return false;
    const CRichChild* cover = design.FindCover(item.surface);
    if (!cover)
        return false;
    if (item.surface == kFrontCover && item.left() + item.width() <= cover->left())
        return false;
    if (image)
        return DrawPicture(item, painter, rect, cache);

    const Growth grow = GrowthOf(item, *cover);
    const EdgeRect area = rect.adjusted(grow.left ? -overlap : 0, grow.up ? -overlap : 0,
                                        grow.right ? overlap : 0, grow.down ? overlap : 0);
    painter.fillRect(area.toQRect(), QColor::fromRgb(*ItemFillColor(item)));
    return true;
}

} // namespace tvl
