#include "render/picture/PlaceBackground.h"

#include "document/model/LabelDesign.h"
#include "document/model/SurfaceNames.h"
#include "render/surface/DeviceRect.h"

#include <cstdlib>

namespace tvl {
namespace {

EdgeRect Mils(const CRichChild& item)
{
    return GetDeviceRect(item, false, 0, 0, 0, 1.0f, 0, 0);
}

bool Contains(const EdgeRect& r, int x, int y)
{
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

// The picture goes after the last structural item or background of its surface.
void MoveBehindContent(LabelDesign& design, CRichChild& picture)
{
    const int from = design.IndexOf(picture.name);
    std::unique_ptr<CRichChild> taken = design.TakeItem(from);
    int at = 0;
    for (int i = 0; i < static_cast<int>(design.itemList.size()); ++i) {
        const CRichChild& item = *design.itemList[static_cast<size_t>(i)];
        if (item.surface != picture.surface)
            continue;
        const bool structural = item.kind == ItemKind::Cover || item.kind == ItemKind::Boundary;
        const bool background = item.kind == ItemKind::Image && item.bBackground() != 0;
        if (structural || background)
            at = i + 1;
    }
    design.InsertItem(std::move(taken), at);
}

} // namespace

bool PlaceBackground(LabelDesign& design, CRichChild& picture, const BackgroundOverlaps& overlaps,
                     QStringView caseKind)
{
    if (picture.kind != ItemKind::Image)
        return false;
    const CRichChild* cover = design.FindCover(picture.surface);
    if (!cover)
        return false;
    const EdgeRect area = Mils(*cover);
    EdgeRect r = area;
    int background = 1;
    if (cover->name == kFrontCover) {
        const int ov = overlaps.front;
        if (cover->coverFolded == 0) {
            r = area.adjusted(-ov, -ov, ov, ov);
        } else {
            const int middle = area.left + area.width() / 2;
            const int pictureCentre = picture.left() + picture.width() / 2;
            if (pictureCentre > middle) {
                r = EdgeRect{middle, area.top, area.right, area.bottom}.adjusted(0, -ov, ov, ov);
            } else {
                background = 2;
                r = EdgeRect{area.left, area.top, middle, area.bottom}.adjusted(-ov, -ov, 0, ov);
            }
        }
    } else if (cover->name == kBackCover) {
        const int ov = overlaps.back;
        const CRichChild* leftTab = design.FindItem(kLeftTab);
        const CRichChild* rightTab = design.FindItem(kRightTab);
        if (caseKind == u"DVD" && leftTab && rightTab) {
            const EdgeRect left = Mils(*leftTab);
            const EdgeRect right = Mils(*rightTab);
            const int px = picture.left() + picture.width() / 2;
            const int py = picture.top() + picture.height() / 2;
            const bool toRight =
                !Contains(left, px, py) &&
                (Contains(right, px, py) || std::abs(px - right.left) <= std::abs(px - left.right));
            background = toRight ? 4 : 3;
            r = toRight ? right.adjusted(0, -ov, ov, ov) : left.adjusted(-ov, -ov, 0, ov);
        } else {
            r = area.adjusted(-ov, -ov, ov, ov);
        }
    } else {
        const int ov = overlaps.discs;
        r = area.adjusted(-ov, -ov, ov, ov);
    }
    picture.bBackground(background);
    picture.left(r.left);
    picture.top(r.top);
    picture.width(r.width());
    picture.height(r.height());
    picture.bAspectRatio(0);
    MoveBehindContent(design, picture);
    return true;
}

} // namespace tvl
