#include "document/design/NewItems.h"

#include "document/model/CAlbumInfo.h"
#include "document/model/LabelDesign.h"
#include "document/model/SurfaceNames.h"

#include <cmath>

namespace tvl {
namespace {

// A shift of n / 2 for the upper half of 0 … 999, -(n / 2) for the lower half.
int JitterShift(int n)
{
    return n > 499 ? n / 2 : -(n / 2);
}

void SetRect(CRichChild& item, const QRect& rect)
{
    item.left(rect.x());
    item.top(rect.y());
    item.width(rect.width());
    item.height(rect.height());
}

double CentreDistance(const QRect& a, const QRect& b)
{
    const double dx = (a.x() + a.width() / 2.0) - (b.x() + b.width() / 2.0);
    const double dy = (a.y() + a.height() / 2.0) - (b.y() + b.height() / 2.0);
    return std::hypot(dx, dy);
}

// The nearer of two surfaces on one sheet, the first on a tie; current when either is missing or they lie
// on different sheets.
QString Nearer(const LabelDesign& design, const QString& current, const QRect& rect, QStringView first,
               QStringView second)
{
    const CRichChild* a = design.FindCover(first);
    const CRichChild* b = design.FindCover(second);
    if (!a || !b || a->pageCode != b->pageCode)
        return current;
    return CentreDistance(rect, b->Rect()) < CentreDistance(rect, a->Rect()) ? b->name : a->name;
}

} // namespace

QSize NewItemSize(QStringView baseName)
{
    if (baseName.startsWith(u"Track List") || baseName == u"Image")
        return {1500, 1500};
    return {2000, 400};
}

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

QRect CentredOn(QPoint point, QSize size)
{
    return QRect(point.x() - size.width() / 2, point.y() - size.height() / 2, size.width(), size.height());
}

QRect ShiftInside(QRect rect, const QRect& bounds)
{
    if (bounds.isEmpty())
        return rect;
    const int right = bounds.x() + bounds.width();
    const int bottom = bounds.y() + bounds.height();
    if (rect.x() < bounds.x())
        rect.moveLeft(bounds.x());
    if (rect.x() + rect.width() > right)
        rect.moveLeft(right - rect.width());
    if (rect.y() < bounds.y())
        rect.moveTop(bounds.y());
    if (rect.y() + rect.height() > bottom)
        rect.moveTop(bottom - rect.height());
    return rect;
}

QString NearestSurface(const LabelDesign& design, const QString& current, const QRect& rect, bool twoDiscs)
{
    const CRichChild* cover = design.FindCover(current);
    if (!cover || cover->Rect().intersects(rect))
        return current;
    if (cover->IsDiscSurface())
        return twoDiscs ? Nearer(design, current, rect, kDisc1, kDisc2) : current;
    return Nearer(design, current, rect, kFrontCover, kBackCover);
}

std::unique_ptr<CRichChild> MakeTextItem(const LabelDesign& design, const QString& name,
                                         const QString& surface, const QRect& rect)
{
    const CRichChild* cover = design.FindCover(surface);
    if (!cover)
        return nullptr;
    const bool freeText = name == u"Text";
    const bool trackList = name.startsWith(u"Track");
    const bool discSheet = cover->pageCode == u"1";
    auto item = std::make_unique<CRichChild>();
    item->name = design.MakeUniqueName(name);
    item->kind = trackList ? ItemKind::Track : ItemKind::Text;
    item->pageCode = cover->pageCode;
    item->surface = cover->name;
    SetRect(*item, rect);
    item->alignment(QStringLiteral("Center"));
    item->angle(QStringLiteral("0 degrees"));
    item->bLinkText(freeText ? 0 : 1);
    if (trackList) {
        item->wrapStyle(discSheet ? QStringLiteral("Word-Wrap") : QStringLiteral("Multi-Line"));
        item->trackNumbers(QStringLiteral("Track Numbers && Times"));
        item->textLayout(discSheet ? QStringLiteral("Bottom") : QStringLiteral("Table Format"));
    } else {
        item->wrapStyle(QStringLiteral("Word-Wrap"));
        item->textLayout(QStringLiteral("Table Format"));
    }
    item->bAutoFit(1);
    QString text = freeText ? QStringLiteral("Text\b") : design.LinkedAlbumText(item->name);
    // Every text ends with a cell terminator, even an album field that was never filled.
    if (!text.endsWith(QChar(kCellEnd)))
        text.append(QChar(kCellEnd));
    item->characters = ToCharacters(text);
    item->fonts.assign(item->characters.size(), std::nullopt);
    item->colors.assign(item->characters.size(), std::nullopt);
    item->underlines.assign(item->characters.size(), 0);
    item->fonts[0] = ItemFont{QStringLiteral("Arial"), 400, 400, 0};
    item->colors[0] = 0;
    return item;
}

std::unique_ptr<CRichChild> MakePictureItem(const LabelDesign& design, const QString& surface,
                                            const QRect& rect, const QString& path)
{
    const CRichChild* cover = design.FindCover(surface);
    if (!cover)
        return nullptr;
    auto item = std::make_unique<CRichChild>();
    item->name = design.MakeUniqueName(QStringLiteral("Image"));
    item->kind = ItemKind::Image;
    item->pageCode = cover->pageCode;
    item->surface = cover->name;
    SetRect(*item, rect);
    item->bAspectRatio(1);
    item->bBackground(0);
    item->imagePath = path;
    return item;
}

} // namespace tvl
