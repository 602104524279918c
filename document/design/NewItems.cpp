#include "document/design/NewItems.h"

#include "document/model/LabelDesign.h"
#include "document/model/SurfaceNames.h"

namespace tvl {
namespace {

// A shift of n / 2 for the upper half of 0 … 999, -(n / 2) for the lower half.
int JitterShift(int n)
{
    return n > 499 ? n / 2 : -(n / 2);
}

} // namespace

QRect PlaceNewItem(const LabelDesign& design, const QString& surface, const CRichChild* selected, QSize size,
                   bool limitWidth, const std::function<int()>& jitter)
{
    const CRichChild* cover = design.FindCover(surface);
    if (!cover)
        return QRect(QPoint(0, 0), size);
    QRect area = cover->Rect();
    if (cover->IsDiscSurface()) {
        const int right = cover->left() + cover->width() / 2 - cover->height() / 2 - cover->textMargin();
        area = QRect(cover->left(), cover->top(), right - cover->left(), cover->width());
    } else if (cover->name == kFrontCover && cover->coverFolded != 0) {
        const int half = cover->width() / 2;
        const bool right =
            !selected || selected == cover || selected->left() + selected->width() / 2 > cover->left() + half;
        area = QRect(right ? cover->left() + half : cover->left(), cover->top(), half, cover->height());
    }
    int width = size.width();
    if (limitWidth && width > area.width())
        width = area.width();
    int left = area.left() + (area.width() - width) / 2 + JitterShift(jitter());
    const int top = area.top() + (area.height() - size.height()) / 2 + JitterShift(jitter());
    const int areaRight = area.left() + area.width();
    if (left + width > areaRight)
        left = areaRight - width;
    if (left < area.left())
        left = area.left();
    return QRect(left, top, width, size.height());
}

std::unique_ptr<CRichChild> MakeFreeText(const LabelDesign& design, const QString& surface, const QRect& rect)
{
    const CRichChild* cover = design.FindCover(surface);
    if (!cover)
        return nullptr;
    auto item = std::make_unique<CRichChild>();
    item->name = design.MakeUniqueName(QStringLiteral("Text"));
    item->kind = ItemKind::Text;
    item->pageCode = cover->pageCode;
    item->surface = cover->name;
    item->left(rect.x());
    item->top(rect.y());
    item->width(rect.width());
    item->height(rect.height());
    item->alignment(QStringLiteral("Center"));
    item->angle(QStringLiteral("0 degrees"));
    item->wrapStyle(QStringLiteral("Word-Wrap"));
    item->bAutoFit(1);
    item->characters = ToCharacters(QStringLiteral("Text\b"));
    item->fonts.assign(item->characters.size(), std::nullopt);
    item->colors.assign(item->characters.size(), std::nullopt);
    item->underlines.assign(item->characters.size(), 0);
    item->fonts[0] = ItemFont{QStringLiteral("Arial"), 400, 400, 0};
    item->colors[0] = 0;
    return item;
}

} // namespace tvl
