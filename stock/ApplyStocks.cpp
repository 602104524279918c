#include "stock/ApplyStocks.h"

#include "document/model/LabelDesign.h"
#include "document/model/SurfaceNames.h"
#include "stock/StockCatalogue.h"

#include <algorithm>
#include <limits>

namespace tvl {
namespace {

// Items and stocks come from files, so sums saturate instead of overflowing.
int Sum(long long a, long long b)
{
    return static_cast<int>(
        std::clamp<long long>(a + b, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

struct Placement
{
    int left;
    int top;
    int width;
    int height;
};

// Moves a surface to rect (origin and size) and the items on it by the same change of left and top;
// from is where the surface counts as having been. Boundary items are left to DeriveBoundaries.
void PlaceSurface(LabelDesign& design, CRichChild& cover, int fromLeft, int fromTop, const Placement& rect,
                  const QString& page)
{
    const long long shiftX = static_cast<long long>(rect.left) - fromLeft;
    const long long shiftY = static_cast<long long>(rect.top) - fromTop;
    for (const auto& item : design.itemList) {
        if (item.get() == &cover || item->surface != cover.name)
            continue;
        item->pageCode = page;
        if (item->kind == ItemKind::Boundary)
            continue;
        if (shiftX != 0 || shiftY != 0) {
            item->left(Sum(item->left(), shiftX));
            item->top(Sum(item->top(), shiftY));
        }
    }
    cover.pageCode = page;
    cover.left(rect.left);
    cover.top(rect.top);
    cover.width(rect.width);
    cover.height(rect.height);
}

void SetRect(CRichChild& item, int left, int top, int width, int height)
{
    item.left(left);
    item.top(top);
    item.width(width);
    item.height(height);
}

void DeriveBoundaries(LabelDesign& design)
{
    if (const CRichChild* front = design.FindCover(kFrontCover)) {
        if (CRichChild* inside = design.FindItem(kFrontInside)) {
            if (front->coverFolded != 0)
                SetRect(*inside, front->left(), front->top(), front->width() / 2, front->height());
            else
                SetRect(*inside, front->left() - front->width(), front->top(), front->width(),
                        front->height());
        }
    }
    if (const CRichChild* back = design.FindCover(kBackCover)) {
        const int spine = back->coverSpine;
        if (CRichChild* leftTab = design.FindItem(kLeftTab))
            SetRect(*leftTab, back->left(), back->top(), spine, back->height());
        if (CRichChild* rightTab = design.FindItem(kRightTab))
            SetRect(*rightTab, Sum(Sum(back->left(), back->width()), -static_cast<long long>(spine)),
                    back->top(), spine, back->height());
    }
}

void PlaceFrontCover(LabelDesign& design, const CLabelDim& stock)
{
    CRichChild* front = design.FindCover(kFrontCover);
    if (!front)
        return;
    // Re-base first so the front panel keeps its place when the booklet fold comes or goes.
    int fromLeft = front->left();
    if (front->coverFolded != 0 && stock.folded == 0)
        fromLeft = Sum(fromLeft, front->width() / 2);
    else if (front->coverFolded == 0 && stock.folded != 0)
        fromLeft = Sum(fromLeft, -static_cast<long long>(front->width()));
    front->coverFolded = stock.folded;
    PlaceSurface(design, *front, fromLeft, front->top(),
                 {stock.left1, stock.top1, stock.width1, stock.height1}, QString::number(stock.page1));
}

void PlaceBackCover(LabelDesign& design, const CLabelDim& stock)
{
    CRichChild* back = design.FindCover(kBackCover);
    if (!back)
        return;
    back->coverSpine = stock.spine;
    PlaceSurface(design, *back, back->left(), back->top(),
                 {stock.left2, stock.top2, stock.width2, stock.height2}, QString::number(stock.page2));
}

void PlaceDisc(LabelDesign& design, QStringView name, const Placement& rect)
{
    if (CRichChild* disc = design.FindCover(name))
        PlaceSurface(design, *disc, disc->left(), disc->top(), rect, QStringLiteral("1"));
}

void SizePage(LabelDesign& design, QStringView name, QSize paper)
{
    CRichChild* page = design.FindItem(name);
    if (!page || page->kind != ItemKind::Page)
        return;
    SetRect(*page, 0, 0, paper.width(), paper.height());
}

} // namespace

void ApplyStocks(LabelDesign& design, StockCatalogue& catalogue, QStringView caseKind, QStringView discMode,
                 DiscPositionMode& discPositionMode)
{
    catalogue.ReconcileCaseKind(caseKind);
    const CLabelDim& discStock = catalogue.DiscStock();
    const CLabelDim& caseStock = catalogue.CaseStock();
    if (discStock.IsDirectToDisc())
        discPositionMode = DiscPositionMode::DiscOnTop;

    PlaceFrontCover(design, caseStock);
    PlaceBackCover(design, caseStock);
    DeriveBoundaries(design);

    const Placement first{discStock.left1, discStock.top1, discStock.width1, discStock.height1};
    const Placement second{discStock.left2, discStock.top2, discStock.width2, discStock.height2};
    const bool discOneFirst = discPositionMode == DiscPositionMode::DiscOnTop ||
                              (discPositionMode == DiscPositionMode::DuplicateDisc && discMode == u"Single");
    PlaceDisc(design, kDisc1, discOneFirst ? first : second);
    PlaceDisc(design, kDisc2, discOneFirst ? second : first);

    SizePage(design, u"Page 1", discStock.paper1);
    SizePage(design, u"Page 2", caseStock.paper1);
    SizePage(design, u"Page 3", caseStock.paper2);
}

} // namespace tvl
